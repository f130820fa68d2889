#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the project.
# Runs apt-get through sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  qt6-multimedia-dev qt6-httpserver-dev
  libgl-dev libglx-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick procps iproute2 util-linux xdg-utils desktop-file-utils appstream dpkg-dev wrk systemd
  qstat nodejs clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation2 fonts-wqy-microhei libx11-dev
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# npm comes with some nodejs builds and as a package of its own with Debian's.
if ! command -v npm >/dev/null; then
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends npm
fi
