#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Skips apt when
# everything is already there, so repeated runs cost nothing.
set -euo pipefail
pkgs=(build-essential cmake pkg-config
      qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
      libgtest-dev libgmock-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
