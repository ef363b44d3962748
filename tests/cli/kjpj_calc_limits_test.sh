#!/usr/bin/env bash
# The largest inputs the batch command takes: a frame of 60 spans and 20
# storeys (2420 members) with --json and --pdf, a frame name of 4000
# characters in the PDF, and outputs with names as long as the file system
# allows, renewed over their old content.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/cli_support.sh"
export QT_QPA_PLATFORM=offscreen

# A regular frame of L spans and NF storeys, its own weight of 20 kN/m on every beam.
frame() {
  local L=$1 NF=$2 name=$3 row spans storeys beams columns loads k
  row=$(printf '"B", %.0s' $(seq "$L")); beams=$(printf "[${row%, }], %.0s" $(seq "$NF"))
  row=$(printf '"C", %.0s' $(seq 0 "$L")); columns=$(printf "[${row%, }], %.0s" $(seq "$NF"))
  row=$(printf '[{"q": 20}], %.0s' $(seq "$L")); loads=$(printf "[${row%, }], %.0s" $(seq "$NF"))
  spans=$(printf '6, %.0s' $(seq "$L")); storeys=$(printf '3.6, %.0s' $(seq "$NF"))
  printf '{"schema": "kjpj-project/1", "name": "%s", "spans": [%s], "storeys": [%s],\n' "$name" "${spans%, }" "${storeys%, }"
  printf ' "sections": {"B": [250, 600], "C": [600, 600]}, "beams": [%s], "columns": [%s],\n' "${beams%, }" "${columns%, }"
  printf ' "cases": {"G": {"beamLoads": [%s]}}, "materials": {"concrete": 30, "fy": 360},\n' "${loads%, }"
  printf ' "design": {"code": "GB50010-2010"}}\n'
}

pdf=yes
"$calc" "$examples/KJ-1.txt" --pdf '\probe.pdf' >out.txt 2>err.txt || pdf=no
[ $pdf = yes ] || grep -q '未带 Qt 绘图部分' err.txt || fail "pdf probe failed: $(cat err.txt)"

# 2420 members: the member numbers of four digits widen their column.
frame 60 20 F >F.kjpj
opts=(--json '\F.json'); [ $pdf = yes ] && opts+=(--pdf '\F.pdf')
"$calc" '\F.kjpj' --renew "${opts[@]}" >out.txt 2>err.txt || fail "60 x 20 exited $? ($(cat err.txt))"
grep -q '"schema": "kjpj-result/2"' F.json || fail "no JSON of the 60 x 20 frame"
grep -q '^ 1200 ' zemowj1.txt || fail "no row of beam 1200"
grep -q '^ 1220 ' zemowj1.txt || fail "no row of column 1220"
[ $pdf = no ] || [ "$(head -c 5 F.pdf)" = "%PDF-" ] || fail "no PDF of the 60 x 20 frame"
# One member more than 2500 is refused by name.
frame 61 21 G >G.kjpj
"$calc" '\G.kjpj' >out.txt 2>err.txt && fail "61 x 21 accepted"
grep -q '61 跨 21 层共 2583 根梁柱, 超过上限 2500 根' err.txt || fail "61 x 21 refused with: $(cat err.txt)"

# A frame name of 4000 characters is clipped where the book shows it.
if [ $pdf = yes ]; then
  frame 2 1 "$(printf '框%.0s' $(seq 4000))" >N.kjpj
  "$calc" '\N.kjpj' --pdf '\N.pdf' >out.txt 2>err.txt || fail "long name with --pdf exited $? ($(cat err.txt))"
  [ "$(head -c 5 N.pdf)" = "%PDF-" ] || fail "no PDF for the long name"
fi

# Reports named with 250 and 255 bytes renewed: the temporary file's name is
# short, and a .bak too long for the file system gives up the name's last
# characters (whole ones).
for bytes in 250 255; do
  name=$(printf '梁%.0s' $(seq 83))$(printf 'x%.0s' $(seq $((bytes - 249))))
  for run in 1 2; do
    "$calc" "$examples/KJ-1.txt" --renew --report "\\$name" >out.txt 2>err.txt ||
      fail "report of $bytes bytes, run $run, exited $? ($(cat err.txt))"
  done
  [ -s "$name" ] || fail "no report of $bytes bytes"
  bak=$(ls | grep '^梁.*\.bak$'); [ -s "$bak" ] || fail "no .bak of the $bytes-byte report"
  [ "$(printf %s "$bak" | wc -c)" -le 255 ] || fail ".bak name too long"
  [ "$bytes" = 250 ] && [ "$bak" != "$name.bak" ] && fail "the .bak of 250 bytes is $bak"
  rm -f "$name" "$bak"
done
ls -A | grep -q '^\.kjpj-tmp-' && fail "temporary files left: $(ls -A)"
echo "1 passed, 0 failed"
