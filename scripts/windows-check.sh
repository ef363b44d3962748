#!/usr/bin/env bash
# The Windows check: cross-builds the core, kjpj-calc.exe and the core tests
# with MinGW-w64 (static), runs the tests under wine, then runs kjpj-calc.exe
# on every example frame and compares the report (title date and time
# masked), lpj-1.txt and mvts-1.txt byte for byte with the Linux build's;
# once more with Chinese folder and file names. Headless: no display, no
# input. The Linux kjpj-calc is taken from ${BUILD_DIR:-build} (built when
# missing); the Windows build and its wine prefix go to ${WIN_BUILD_DIR:-build-windows}.
set -eu
cd "$(dirname "$0")/.."
start=$SECONDS
src=$PWD
bash scripts/deps.sh --windows
build="${BUILD_DIR:-build}"
win="${WIN_BUILD_DIR:-build-windows}"
mkdir -p "$win"
win=$(cd "$win" && pwd)
toolchain="$src/scripts/mingw-w64.cmake"
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2

step() { echo "== $* ($((SECONDS - start)) s)"; }

step "GoogleTest for MinGW-w64 from the Debian sources"
if [ ! -f "$win/gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$win/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$win/gtest" >/dev/null
  cmake --build "$win/googletest" -j"$jobs" >/dev/null
  cmake --install "$win/googletest" >/dev/null
fi

step "Cross-building kjpj-calc.exe and core_tests.exe"
# The header-only JSON and Eigen libraries, alone in a folder of their own.
mkdir -p "$win/include"
ln -sfn /usr/include/nlohmann "$win/include/nlohmann"
ln -sfn /usr/include/eigen3/Eigen "$win/include/Eigen"
# The Linux build's optimisation, without its debugging information.
cmake -S . -B "$win/kjpj" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DKJPJ_BUILD_WINDOWS=OFF -DKJPJ_BUILD_BENCH=OFF -DGTest_DIR="$win/gtest/lib/cmake/GTest" \
  -DKJPJ_JSON_INCLUDE_DIR="$win/include" \
  -DKJPJ_EIGEN_INCLUDE_DIR="$win/include" \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$win/kjpj" -j"$jobs" --target kjpj-calc core_tests
if [ ! -x "$build/kjpj-calc" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$jobs" --target kjpj-calc
fi
linux_calc=$(cd "$build" && pwd)/kjpj-calc
win_calc="$win/kjpj/kjpj-calc.exe"

# A private prefix, no display, no Mono or Gecko installer, no messages of wine's own.
# Wine maps Chinese file names to the Linux side through the locale: without
# a UTF-8 locale (CI starts with none) such names cannot be made at all.
export LANG=C.UTF-8
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
step "Preparing the wine prefix"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null # kept running between the programs, ended at the end
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineboot </dev/null >/dev/null 2>&1

step "Core tests under wine"
(cd "$win/kjpj" && wine ./core_tests.exe --gtest_brief=1 </dev/null)

# The report's title line carries the date and time of the run.
masked() { LC_ALL=C sed -E 's#\[[0-9]+/[0-9]+/[0-9]+/[0-9]+:[0-9]{2}:[0-9]{2}\]#[date/time]#' "$1"; }

same=0
differ=0
messages=0
compare() { # folder of the Linux run, folder of the Windows run, the report, the other files
  local a="$1" b="$2" report="$3" f
  shift 2
  for f in "$@"; do
    if [ ! -f "$a/$f" ] || [ ! -f "$b/$f" ]; then
      echo "缺少 / missing: $f in $a or $b"
      differ=$((differ + 1))
    elif { [ "$f" = "$report" ] && cmp -s <(masked "$a/$f") <(masked "$b/$f"); } ||
         { [ "$f" != "$report" ] && cmp -s "$a/$f" "$b/$f"; }; then
      same=$((same + 1))
    else
      echo "不同 / differs: $b/$f"
      differ=$((differ + 1))
    fi
  done
}

runs="$win/runs"
rm -rf "$runs"
step "kjpj-calc on every example, Linux and Windows"
for data in examples/*.txt; do
  name=$(basename "$data" .txt)
  case "$name" in gjcs-* | hzwj-* | zhgk-*) continue ;; esac # member, load and load-case files, not frame data
  for sys in linux windows; do
    mkdir -p "$runs/$sys/$name"
    cp "$data" "$runs/$sys/$name/"
  done
  (cd "$runs/linux/$name" && "$linux_calc" "\\$name.txt" --renew >out.txt 2>&1)
  (cd "$runs/windows/$name" && wine "$win_calc" "\\$name.txt" --renew </dev/null >out.txt 2>&1)
  compare "$runs/linux/$name" "$runs/windows/$name" zemowj1.txt lpj-1.txt mvts-1.txt

  # The same with a Chinese folder as working folder, and a Chinese data file
  # (with a blank in its name) and report in Chinese-named folders below it.
  for sys in linux windows; do
    mkdir -p "$runs/$sys-中文/$name/框架计算/数据 文件"
    cp "$data" "$runs/$sys-中文/$name/框架计算/数据 文件/框架 $name.txt"
  done
  args=("\\数据 文件\\框架 $name.txt" --report "\\数据 文件\\计算书.txt" --renew)
  (cd "$runs/linux-中文/$name/框架计算" && "$linux_calc" "${args[@]}" >out.txt 2>&1)
  (cd "$runs/windows-中文/$name/框架计算" && wine "$win_calc" "${args[@]}" </dev/null >out.txt 2>&1)
  compare "$runs/linux-中文/$name/框架计算" "$runs/windows-中文/$name/框架计算" \
    "数据 文件/计算书.txt" lpj-1.txt mvts-1.txt
  # The message names the files as typed: the arguments arrived as UTF-8.
  if cmp -s "$runs/linux-中文/$name/框架计算/out.txt" <(tr -d '\r' <"$runs/windows-中文/$name/框架计算/out.txt"); then
    messages=$((messages + 1))
  else
    echo "消息不同 / message differs: $(cat "$runs/windows-中文/$name/框架计算/out.txt")"
    differ=$((differ + 1))
  fi
done

step "Done"
echo "Windows 检查 / Windows check: $same 个文件逐字节相同 / files byte-identical," \
  "$messages 条消息相同 / messages alike, $differ 个不同 / differ; $((SECONDS - start)) s"
[ "$differ" -eq 0 ]
