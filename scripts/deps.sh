#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those still missing.
set -eu
pkgs="cmake g++ ninja-build pkg-config qt6-base-dev qt6-svg-dev poppler-utils libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev fonts-wqy-zenhei"
[ "${1:-}" = "--with-display" ] && pkgs="$pkgs xvfb"
missing=""
for p in $pkgs; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "安装缺少的软件包 / installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing </dev/null
fi
