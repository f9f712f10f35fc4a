#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test Brinegate; or, given
# package names, just those of them that are missing (the web scripts use it so).
set -euo pipefail
PACKAGES=("$@")
[ "$#" -gt 0 ] || PACKAGES=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-image-dev libx11-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  xvfb xauth x11-utils
  libopenal-dev libopenal1 libmpg123-dev
  libcairo2-dev libfreetype-dev libmp3lame-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev libinih-dev desktop-file-utils python3
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
