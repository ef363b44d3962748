#!/usr/bin/env bash
# Builds the desktop program and starts it in the working folder run/, which
# is given the example frames the first time (the program reads and writes
# its slot files, such as \KJ-1.txt, in the folder it was started in).
set -eu
cd "$(dirname "$0")/.."
bash scripts/build.sh
build="${BUILD_DIR:-build}"
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
