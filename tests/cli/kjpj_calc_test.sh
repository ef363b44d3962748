#!/usr/bin/env bash
# The batch command end to end: a run in a fresh folder writes the report and
# both result files; a missing data file fails with status 1, a Chinese
# message on standard error, and no file written; so does a report that is
# the data file.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/cli_support.sh"

cp "$examples/KJ-1.txt" .
"$calc" '\KJ-1.txt' --renew --beta 0.80 >out.txt 2>err.txt || fail "run on KJ-1 exited $?"
[ -s zemowj1.txt ] || fail "no report"
[ -s lpj-1.txt ] || fail "no beam reinforcement file"
[ -s mvts-1.txt ] || fail "no force-diagram file"
grep -q 'Fy= 300  C 25' zemowj1.txt || fail "no material line"
# By hand: M1 = -34.63, M2 = 72.68, Mo = 37.35 before redistribution;
# 0.8 M1 = -27.7, 0.8 M2 = 58.15, Mo + (6.93 + 14.54)/2 = 48.08.
first=$(head -n 1 mvts-1.txt | tr -d '\r')
[ "$first" = "-28,58,48,54,-66" ] || fail "first force-diagram line is '$first'"

rm -f zemowj1.txt lpj-1.txt mvts-1.txt
"$calc" '\KJ-9.txt' >out.txt 2>err.txt
rc=$?
[ "$rc" -eq 1 ] || fail "missing data file exited $rc"
grep -q '找不到文件 \\KJ-9.txt' err.txt || fail "message was: $(cat err.txt)"
[ ! -e zemowj1.txt ] && [ ! -e lpj-1.txt ] || fail "a file was written on failure"

# A report that is the data file under another letter case: refused before
# anything is written, whether it would be renewed or appended to.
sum=$(cksum <KJ-1.txt)
for mode in --renew ""; do
  "$calc" '\KJ-1.txt' --report '\kj-1.TXT' $mode >out.txt 2>err.txt
  rc=$?
  [ "$rc" -eq 1 ] || fail "report = data file ($mode) exited $rc"
  grep -q '计算书 \\kj-1.TXT 与数据文件 \\KJ-1.txt 是同一个文件' err.txt || fail "message was: $(cat err.txt)"
  [ "$(cksum <KJ-1.txt)" = "$sum" ] || fail "data file changed ($mode)"
  [ ! -e zemowj1.txt ] && [ ! -e lpj-1.txt ] && [ ! -e mvts-1.txt ] && [ "$(ls | wc -l)" -eq 3 ] ||
    fail "files written: $(ls)"
done

# An option that cannot be used is refused before the report is emptied.
printf 'kept\r\n' >zemowj1.txt
"$calc" '\KJ-1.txt' --renew --beta abc >out.txt 2>err.txt && fail "beta abc accepted"
grep -q '梁顶负弯矩调幅系数应大于 0 且不大于 1: abc' err.txt || fail "beta message was: $(cat err.txt)"
[ "$(cat zemowj1.txt)" = "$(printf 'kept\r\n')" ] || fail "the report was touched by a refused option"

# The whole result as JSON, UTF-8.
"$calc" '\KJ-1.txt' --json '\KJ-1.json' >out.txt 2>err.txt || fail "json run exited $?"
grep -q '"schema": "kjpj-result/2"' KJ-1.json || fail "no schema in the JSON"
grep -q '"rules": "原方法"' KJ-1.json || fail "JSON not UTF-8 or rule set missing"

# The GB 50010-2010 rule set: named in the report and the JSON with its options.
"$calc" '\KJ-1.txt' --renew --code 2010 --fyv 360 --precast --json '\KJ-1.json' >out.txt 2>err.txt \
    || fail "2010 run exited $? ($(cat err.txt))"
grep -q 'GB50010-2010 Fy= 300  C 25' zemowj1.txt || fail "no rule set in the material line"
grep -q '"rules": "GB50010-2010"' KJ-1.json || fail "rule set missing from the JSON"
grep -q '"fyv": 360' KJ-1.json && grep -q '"floors": "precast"' KJ-1.json || fail "options missing from the JSON"
# Unusable rule set options are refused before the report is emptied.
printf 'kept\r\n' >zemowj1.txt
for bad in "--code 2011" "--fyv 360" "--code 2010 --fyv 300" "--precast"; do
    # shellcheck disable=SC2086
    "$calc" '\KJ-1.txt' --renew $bad >out.txt 2>err.txt && fail "$bad accepted"
    [ "$(cat zemowj1.txt)" = "$(printf 'kept\r\n')" ] || fail "the report was touched by $bad"
done
grep -q '装配式楼盖只用于 GB50010-2010' err.txt || fail "precast message was: $(cat err.txt)"
"$calc" --help | grep -q -- '--code 规范' || fail "--help does not document --code"

# Load cases designed from the envelope of the combinations.
cp "$examples/KJ-1Q.txt" "$examples/KJ-1W.txt" .
"$calc" --case G '\KJ-1.txt' --case Q '\KJ-1Q.txt' --case W '\KJ-1W.txt' --combinations GB55001 --renew \
  >out.txt 2>err.txt || fail "run with load cases exited $? ($(cat err.txt))"
grep -q 'GB 55001-2021' zemowj1.txt || fail "no combination set in the report"
# By hand: 1.3 x (-34.63) + 1.5 x (-13.85) - 0.9 x 5.07 = -70.37 at the left end of beam 1.
first=$(head -n 1 mvts-1.txt | tr -d '\r')
[ "$first" = "-70,142,72,103,-127" ] || fail "first envelope force-diagram line is '$first'"
"$calc" --case G '\KJ-1.txt' --combine "1.3G+1.5Q" --combine "1.0G+1.5Q" --case Q '\KJ-1Q.txt' >out.txt 2>err.txt ||
  fail "run with own combinations exited $?"
"$calc" '\KJ-1.txt' --combinations GB55001 >out.txt 2>err.txt && fail "combinations without cases accepted"
grep -q -- '--case' err.txt || fail "combinations without cases message: $(cat err.txt)"
"$calc" --case G '\KJ-1.txt' --combine "1.3G+1.5Q-0.9W" >out.txt 2>err.txt && fail "a combination of a missing case accepted"
grep -q '但没有给出它的数据文件' err.txt || fail "missing case message: $(cat err.txt)"

# The calculation book needs no display: the command draws offscreen itself.
# A build without Qt refuses it before any file is touched.
rm -f zemowj1.txt
if env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$calc" '\KJ-1.txt' --pdf '\KJ-1.pdf' >out.txt 2>err.txt; then
  [ "$(head -c 5 KJ-1.pdf)" = "%PDF-" ] || fail "no PDF calculation book"
  grep -q '计算书 PDF \\KJ-1.pdf' out.txt || fail "pdf run said: $(cat out.txt)"
else
  grep -q '未带 Qt 绘图部分' err.txt || fail "pdf run failed: $(cat err.txt)"
  [ ! -e KJ-1.pdf ] && [ ! -e zemowj1.txt ] || fail "a refused --pdf touched a file"
fi

# A project file: converted from the load cases, run whole, with an option
# overriding its own settings; written back as data files.
"$calc" --case G '\KJ-1.txt' --case Q '\KJ-1Q.txt' --case W '\KJ-1W.txt' --renew >out.txt 2>err.txt || fail "cases run"
cp mvts-1.txt cases-mvts.txt
"$calc" --to-project '\KJ-1.txt' --case Q '\KJ-1Q.txt' --case W '\KJ-1W.txt' '\KJ-1.kjpj' >out.txt 2>err.txt ||
  fail "--to-project exited $? ($(cat err.txt))"
grep -q '"schema": "kjpj-project/1"' KJ-1.kjpj || fail "no project schema"
"$calc" '\KJ-1.kjpj' --renew --json '\p.json' >out.txt 2>err.txt || fail "project run exited $? ($(cat err.txt))"
cmp -s mvts-1.txt cases-mvts.txt || fail "the project's envelope differs from the cases' run"
iconv -f gbk -t utf-8 zemowj1.txt | grep -q '项目文件: \\KJ-1.kjpj' || fail "no project echo in the report"
"$calc" '\KJ-1.kjpj' --code 2010 --renew >out.txt 2>err.txt || fail "project run with --code exited $?"
grep -q 'GB50010-2010 Fy= 300' zemowj1.txt || fail "--code did not override the project's rule set"
"$calc" --to-datafile '\KJ-1.kjpj' '\G.txt' --case W '\W.txt' >out.txt 2>err.txt || fail "--to-datafile exited $?"
cmp -s G.txt KJ-1.txt || fail "G.txt differs from KJ-1.txt"
grep -q '工况 Q 未写出' out.txt || fail "the unwritten case is not named: $(cat out.txt)"
# The live-load and seismic options go into the project written.
"$calc" --to-project '\KJ-1.txt' --case Q '\KJ-1Q.txt' --code 2010 --patterns --seismic 7.5 --site III --group 2 \
  '\S.kjpj' >out.txt 2>err.txt || fail "--to-project with seismic options exited $? ($(cat err.txt))"
grep -q '"seismic": {"intensity": 7.5, "site": "III", "group": 2}' S.kjpj || fail "no seismic group: $(grep -A2 seismic S.kjpj)"
grep -q '"liveLoadPatterns": true' S.kjpj || fail "no live-load patterns in the project"
# --corner-columns too; a project's setting that is no flag is refused by its key.
"$calc" --to-project '\KJ-1.txt' --code 2010 --seismic 8 --site II --group 1 --corner-columns '\C.kjpj' >out.txt 2>err.txt ||
  fail "--to-project with --corner-columns exited $? ($(cat err.txt))"
grep -q '"group": 1, "cornerColumns": true}' C.kjpj || fail "no corner columns: $(grep -A2 seismic C.kjpj)"
grep -q '数据文件 \\KJ-1.txt 的荷载作为恒载 G 写入项目文件; 单个数据文件的荷载是设计值' out.txt ||
  fail "no word on the data file's loads: $(cat out.txt)"
# A data file alone holds design values: seismic design refuses it, nothing written.
mkdir single && cp KJ-1.txt single/ && cd single || exit 1
"$calc" '\KJ-1.txt' --code 2010 --seismic 8 --site II --group 1 >out.txt 2>err.txt && fail "seismic data file accepted"
grep -q '抗震验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出' err.txt || fail "seismic data file message: $(cat err.txt)"
[ ! -e zemowj1.txt ] && [ ! -e lpj-1.txt ] || fail "a file was written for a refused seismic data file"
cd .. || exit 1
sed 's/"cornerColumns": true/"cornerColumns": 1/' C.kjpj >bad.kjpj
"$calc" '\bad.kjpj' >out.txt 2>err.txt && fail "a number as cornerColumns accepted"
grep -q 'seismic.cornerColumns 应为 true 或 false' err.txt || fail "cornerColumns message: $(cat err.txt)"
sed 's/"concrete": 25/"concrete": "25"/' KJ-1.kjpj >bad.kjpj
"$calc" '\bad.kjpj' >out.txt 2>err.txt && fail "a bad project accepted"
grep -q 'materials.concrete 应为数值' err.txt || fail "bad project message: $(cat err.txt)"

# Refused before any file is touched, the folder byte for byte as it was: a
# value that is the next option, and values no calculation can take.
mkdir refused && cp KJ-1.txt KJ-1Q.txt refused/ && cd refused || exit 1
printf 'kept\r\n' >zemowj1.txt && printf 'older\r\n' >zemowj1.txt.bak && printf 'old\r\n' | tee lpj-1.txt >mvts-1.txt
sed 's/^300,25/300,0/' KJ-1.txt >c0.txt
sed 's/^300,25/0,25/' KJ-1.txt >fy0.txt
sed 's/,112/,102/' KJ-1.txt >span0.txt
sed 's/^1 20.0,/120000,/' KJ-1.txt >wide.txt
"$calc" --to-project '\KJ-1.txt' '\P.kjpj' >/dev/null 2>&1 || fail "project for the refusals"
sed 's/{"q": 20}], \[/{"q": 1e12}], [/' P.kjpj >big.kjpj
snapshot() { find . -type f -exec cksum {} + | sort; }
refused() { # the message, then the arguments
  local want=$1 before
  shift
  before=$(snapshot)
  "$calc" "$@" >../out.txt 2>../err.txt && fail "$* accepted"
  grep -qF -- "$want" ../err.txt || fail "$* said: $(cat ../err.txt)"
  [ "$(snapshot)" = "$before" ] || fail "$* touched a file"
}
refused '选项 --json 缺少文件名' '\KJ-1.txt' --json --pdf '\KJ-1.pdf'
[ "$(cat ../err.txt)" = '选项 --json 缺少文件名' ] || fail "--json --pdf said: $(cat ../err.txt)"
refused '选项 --site 缺少取值' '\KJ-1.txt' --code 2010 --seismic 7 --site --group 1
refused '选项 --case 缺少文件名' --case G
refused '砼强度等级 C 为 "0", 应为正数' '\c0.txt' --renew
refused '钢筋强度 Fy 为 "0", 应为正数' '\fy0.txt' --renew
refused '第 2 号梁的长度不是正数' '\span0.txt' --renew
refused '报告表格的一行放不下计算结果' '\big.kjpj' --renew
refused '报告表格的一行放不下计算结果' --case G '\KJ-1.txt' --case Q '\KJ-1Q.txt' --combine '999.9G+1.5Q' --renew
refused '报告表格的一行放不下计算结果 (第 12 列前已写到第 13 列): " 1   -38381 "' '\wide.txt' --renew
cd .. || exit 1

"$calc" --no-such-option >/dev/null 2>err.txt && fail "unknown option accepted"
grep -q '未知选项' err.txt || fail "unknown option message"
echo "1 passed, 0 failed"
