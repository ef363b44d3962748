#!/usr/bin/env bash
# The data check of the batch command: a field that does not read cleanly is
# a warning on standard error naming record, beam and field; the calculation
# still runs, unless --strict refuses the file and writes nothing.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/cli_support.sh"

# The second beam's load with the letter O typed for a zero.
sed 's/^1 20.0,1 20.0/1 20.0,1 2O.0/' "$examples/KJ-1.txt" >KJ-1.txt
"$calc" '\KJ-1.txt' --strict >out.txt 2>err.txt
rc=$?
[ "$rc" -eq 1 ] || fail "--strict on a file with warnings exited $rc"
grep -q '^警告: 数据文件 \\KJ-1.txt 第 4 行: 梁间荷载数据, 第 2 号梁 "1 2O.0", 第 1 个荷载的数值' err.txt ||
  fail "warning was: $(cat err.txt)"
grep -q -- '--strict' err.txt || fail "no refusal line: $(cat err.txt)"
[ "$(ls)" = "$(printf 'KJ-1.txt\nerr.txt\nout.txt')" ] || fail "--strict wrote: $(ls)"

"$calc" '\KJ-1.txt' >out.txt 2>err.txt || fail "run with warnings exited $?"
grep -q '^警告: ' err.txt || fail "no warning without --strict"
[ -s zemowj1.txt ] && [ -s lpj-1.txt ] || fail "no result without --strict"

# A well-formed file: silent and computed, --strict or not.
rm -f zemowj1.txt
cp "$examples/KJ-2.txt" .
"$calc" '\KJ-2.txt' --strict >out.txt 2>err.txt || fail "--strict on KJ-2 exited $?"
[ ! -s err.txt ] || fail "KJ-2 gave: $(cat err.txt)"
[ -s zemowj1.txt ] || fail "no report for KJ-2"
echo "1 passed, 0 failed"
