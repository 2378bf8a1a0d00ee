#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and tools need, if any is
# missing. Fast when everything is already there. The same names on Debian 12,
# Debian 13 and Debian unstable: none is pinned to one release's version.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libsfml-dev libmpg123-dev libopenal-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev libtcod-dev
    libx11-dev xvfb xauth xdotool x11-utils imagemagick
    clang libclang-rt-dev clang-format
    lame sox ccache
    # SFML 3 plays through miniaudio: the e2e and audio tests listen to it
    # through a private PulseAudio server.
    pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
