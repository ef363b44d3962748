#!/usr/bin/env bash
# cmake --install into a fresh prefix: both programs, the example frames as
# they are in the source tree, and a desktop entry the validator accepts.
set -u
cmake="$1"
build="$2"
source="$3"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "install exited $?"
[ -x "$prefix/bin/kjpj-calc" ] || fail "no kjpj-calc"
for f in "$source"/examples/*.txt; do
  cmp -s "$f" "$prefix/share/kjpj/examples/$(basename "$f")" || fail "example $(basename "$f") not installed as it is"
done
if [ -e "$build/kjpj" ]; then
  [ -x "$prefix/bin/kjpj" ] || fail "no kjpj"
  entry="$prefix/share/applications/kjpj.desktop"
  [ -f "$entry" ] || fail "no desktop entry"
  command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (scripts/deps.sh)"
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  grep -qx 'Exec=kjpj --desktop' "$entry" || fail "the desktop entry does not start kjpj --desktop"
fi
echo "1 passed, 0 failed"
