#!/usr/bin/env bash
# A run's files as one set: killed at random points, a run leaves the old set
# or the new one (or, between the renames, the new result files with the old
# report and a commit record, which the next run completes first); two runs in one folder do not mix; the folder lock makes a second
# run wait, then refuse; temporary files of killed runs are removed; control
# characters of a data file never reach the terminal.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/cli_support.sh"
undated() { sed -E '/[0-9]+:[0-9]{2}:[0-9]{2}/d' "$1"; }

cp "$examples/KJ-1.txt" A.txt
sed 's/^1 20.0,1 20.0/1 30.0,1 25.0/' "$examples/KJ-1.txt" >B.txt
files="lpj-1.txt mvts-1.txt r.json zemowj1.txt" # the order of the renames, the report last

# The old set (a run of A) and the new one (a run of B after it).
"$calc" '\A.txt' --json '\r.json' >/dev/null 2>&1 || fail "run of A"
mkdir old new
cp $files old/
"$calc" '\B.txt' --json '\r.json' >/dev/null 2>&1 || fail "run of B"
cp $files new/
cmp -s old/lpj-1.txt new/lpj-1.txt && fail "A and B give the same beam bars"
undated new/zemowj1.txt >new/report.undated

state() { # old, new or mixed for one file
  local f=$1
  if cmp -s "$f" "old/$f"; then echo old
  elif [ "$f" = zemowj1.txt ]; then
    if undated "$f" | cmp -s - new/report.undated; then echo new; else echo mixed; fi
  elif cmp -s "$f" "new/$f"; then echo new
  else echo mixed; fi
}

kills=200 newsets=0 oldsets=0 window=0
for ((i = 0; i < kills; i++)); do
  cp old/* . 2>/dev/null
  "$calc" '\B.txt' --json '\r.json' >/dev/null 2>&1 &
  pid=$!
  # Every tenth kill comes at once, before the run can have written
  # anything; the others at 0 to 59 ms, whatever the machine's speed.
  [ $((i % 10)) -eq 0 ] || sleep "0.0$(printf %02d $((RANDOM % 60)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pattern=""
  for f in $files; do pattern+="$(state "$f") "; done
  case "$pattern" in
    "old old old old ") oldsets=$((oldsets + 1)) ;;
    "new new new new ") newsets=$((newsets + 1)) ;;
    # Killed between the renames: those done are new, the rest old, and the
    # commit record left; the next run completes the commit before its own,
    # so its block follows the killed run's.
    "new old old old " | "new new old old " | "new new new old ")
      window=$((window + 1))
      [ -s .kjpj-commit ] || fail "kill $i left $pattern without a commit record"
      "$calc" '\B.txt' --json '\r.json' >/dev/null 2>&1 || fail "run after kill $i"
      [ "$(grep -c 'Fy=' zemowj1.txt)" -eq 3 ] && [ ! -e .kjpj-commit ] || fail "kill $i: the commit was not completed"
      ;;
    *) fail "kill $i left: $pattern" ;;
  esac
  [ -s zemowj1.txt ] || fail "kill $i left an empty report"
done
[ $oldsets -gt 0 ] && [ $newsets -gt 0 ] || fail "kills hit only one side: old $oldsets, new $newsets"

# A later run removes what killed runs left, and leaves nothing of its own.
: >.kjpj-tmp-lpj-1.txt.stale
"$calc" '\B.txt' --json '\r.json' >/dev/null 2>&1 || fail "run after the kills"
left=$(ls -A | grep -c '^\.kjpj-tmp-')
[ "$left" -eq 0 ] || fail "$left temporary files left: $(ls -A)"

# Renewal: one rename; the .bak holds the report before; a refused renewal
# leaves that .bak as it was; a report kept as a link is written through it.
cp old/* .
printf 'older\r\n' >zemowj1.txt.bak
"$calc" '\B.txt' --renew --fyv 999 >/dev/null 2>&1 && fail "a bad option was taken"
[ "$(cat zemowj1.txt.bak)" = $'older\r' ] || fail "refused renewal touched the .bak"
"$calc" '\B.txt' --renew >/dev/null 2>&1 || fail "renewal"
cmp -s zemowj1.txt.bak old/zemowj1.txt || fail "the .bak is not the report before"
mkdir -p books && mv zemowj1.txt books/real.txt && ln -s books/real.txt zemowj1.txt
"$calc" '\B.txt' >/dev/null 2>&1 || fail "run through a link"
[ -L zemowj1.txt ] && [ "$(grep -c 'Fy=' books/real.txt)" -eq 2 ] || fail "the report's link was replaced"
rm zemowj1.txt && mv books/real.txt zemowj1.txt

# Two runs at once in one folder: the outputs are those of one run and the
# report has both blocks whole.
for ((i = 0; i < 10; i++)); do
  cp old/* .
  "$calc" '\A.txt' --json '\r.json' >/dev/null 2>&1 &
  a=$!
  "$calc" '\B.txt' --json '\r.json' >/dev/null 2>&1 || fail "pair $i: B"
  wait "$a" || fail "pair $i: A"
  if cmp -s lpj-1.txt old/lpj-1.txt; then want=old; else want=new; fi
  for f in lpj-1.txt mvts-1.txt r.json; do cmp -s "$f" "$want/$f" || fail "pair $i mixed $f with $want"; done
  [ "$(grep -c 'Fy=' zemowj1.txt)" -eq 3 ] || fail "pair $i: report has $(grep -c 'Fy=' zemowj1.txt) tables"
done

# A lock file that is a symbolic link is refused, and nothing is written.
mv .kjpj-lock lock.kept && ln -s /tmp/elsewhere-lock .kjpj-lock
cp old/* .
"$calc" '\A.txt' >/dev/null 2>err.txt && fail "a run went on with a linked lock file"
grep -q '中的锁文件 .kjpj-lock 是符号链接' err.txt || fail "linked lock refusal was: $(cat err.txt)"
cmp -s zemowj1.txt old/zemowj1.txt || fail "a run refused for its lock wrote the report"
rm .kjpj-lock && mv lock.kept .kjpj-lock

# The folder's lock held by another: a run waits for it, then refuses.
flock .kjpj-lock sleep 1 &
sleep 0.2
"$calc" '\A.txt' >/dev/null 2>err.txt || fail "a run did not wait for a short lock: $(cat err.txt)"
wait
cp old/* .
flock .kjpj-lock sleep 7 &
holder=$!
sleep 0.2
"$calc" '\A.txt' >/dev/null 2>err.txt && fail "a run went on beside another"
grep -q '^另一个计算正在使用文件夹 ' err.txt || fail "lock refusal was: $(cat err.txt)"
cmp -s zemowj1.txt old/zemowj1.txt || fail "a refused run wrote the report"
kill "$holder" 2>/dev/null
wait

# An output outside the working folder is named in full.
other=$(mktemp -d)
"$calc" '\A.txt' --json "$other/./r.json" >out.txt 2>err.txt || fail "json elsewhere: $(cat err.txt)"
rm -rf "$other"
grep -q "JSON 文件 $other/r.json\$" out.txt || fail "output elsewhere shown as: $(cat out.txt)"

# Control characters of a data file: escaped in every message.
printf 'K\033[2J,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 2\0330.0,1 20.0\a\r\n20103 50.0   0.0\r\n300,25\033]0;x\a\r\n' >C.txt
"$calc" '\C.txt' >out.txt 2>err.txt
grep -q 'x1B' err.txt || fail "no escaped control character in: $(cat err.txt)"
LC_ALL=C grep -q '[[:cntrl:]]' <(tr -d '\n' <err.txt; tr -d '\n' <out.txt) && fail "a control character reached the terminal"
echo "1 passed, 0 failed ($kills kills: $oldsets old, $newsets new, $window between the renames)"
