#!/usr/bin/env bash
# Builds the two programs, kjpj and kjpj-calc (the tests and benchmarks are
# built by scripts/test.sh), and starts the desktop program in the working
# folder run/, which is given the example frames the first time (the program
# reads and writes its slot files, such as \KJ-1.txt, in its working folder).
set -eu
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets="kjpj-calc"
# kjpj exists as a target only where Qt 6 was found.
if ninja -C "$build" -t targets all | grep -q '^kjpj:'; then targets="kjpj $targets"; fi
cmake --build "$build" -j"$(nproc)" --target $targets
mkdir -p run
for f in examples/*.txt; do
  name=$(basename "$f")
  [ -e "run/$name" ] || cp "$f" "run/$name"
done
cd run
if [ -x "../$build/kjpj" ]; then
  exec "../$build/kjpj" "$@"
else
  echo "桌面程序尚未构建; 运行批量计算 / desktop program not built yet, running the batch calculation:"
  exec "../$build/kjpj-calc" "$@"
fi
