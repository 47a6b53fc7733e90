#!/usr/bin/env bash
# Installs the Debian packages the program and its tests need, only those
# that are missing. Safe to run again.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      libpugixml-dev libzip-dev nettle-dev poppler-utils fonts-dejavu-core fonts-liberation
      ccache clang libfuzzer-14-dev libclang-rt-14-dev
      libfreexl-dev libgsf-1-dev qt6-webengine-dev
      libreoffice-writer-nogui libreoffice-calc-nogui python3-uno
      cups-client cups-bsd clang-format universal-ctags)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
