#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libstb-dev libplist-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  xvfb xauth libx11-dev libxtst-dev
  librsvg2-bin libfreetype-dev sox libsox-fmt-all fonts-dejavu-core fonts-dejavu-extra fonts-lobster
  libvorbis-dev fluidsynth fluid-soundfont-gm
  appstream desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
