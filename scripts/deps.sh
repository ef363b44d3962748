#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those still missing.
#   --with-display   also Xvfb, to look at the windows
#   --windows        also MinGW-w64, wine and the GoogleTest sources, for the
#                    Windows cross-build check (scripts/windows-check.sh)
set -eu
pkgs="cmake g++ ninja-build pkg-config qt6-base-dev qt6-svg-dev poppler-utils libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libeigen3-dev fonts-wqy-zenhei desktop-file-utils qt6-translations-l10n"
for opt in "$@"; do
  case "$opt" in
    --with-display) pkgs="$pkgs xvfb imagemagick xdotool" ;;
    --windows) pkgs="$pkgs g++-mingw-w64-x86-64-posix wine wine64 googletest" ;;
  esac
done
missing=""
for p in $pkgs; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "安装缺少的软件包 / installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq </dev/null
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing </dev/null
fi
