#!/usr/bin/env bash
# Installs the Debian packages of the sets named, if any is missing. Fast
# when everything is already there. The same names on Debian 12, Debian 13
# and Debian unstable: none is pinned to one release's version.
#
#   scripts/install-deps.sh [SET...]         (default: test)
#   scripts/install-deps.sh --list [SET...]  the names only
#
#   play    building the game and playing it (./run.sh)
#   screen  a virtual screen, for playing or testing without a display
#   test    everything ./test.sh uses: play, screen, the test libraries and
#           tools, and the validators of the desktop entry and the AppStream
#           metadata
#   package the tools that build and check the Debian package
#           (scripts/make-package.sh, with play; the platform check installs it)
set -euo pipefail

play=(cmake g++ make pkg-config libsfml-dev libmpg123-dev libopenal-dev libx11-dev)
screen=(xvfb xauth)
test=(
    "${play[@]}" "${screen[@]}"
    libgtest-dev libgmock-dev googletest libbenchmark-dev libtcod-dev
    xdotool x11-utils imagemagick
    clang libclang-rt-dev clang-format
    lame sox ccache
    # SFML 3 plays through miniaudio: the e2e and audio tests listen to it
    # through a private PulseAudio server.
    pulseaudio pulseaudio-utils
    desktop-file-utils appstream
)
package=(dpkg-dev file lintian desktop-file-utils appstream)

list=0
if [ "${1:-}" = "--list" ]; then
    list=1
    shift
fi
[ $# -gt 0 ] || set -- test
packages=()
for set in "$@"; do
    case "$set" in
        play) packages+=("${play[@]}") ;;
        screen) packages+=("${screen[@]}") ;;
        test) packages+=("${test[@]}") ;;
        package) packages+=("${package[@]}") ;;
        *) echo "install-deps.sh: unknown set '$set' (play, screen, test, package)" >&2; exit 2 ;;
    esac
done
if [ $list -eq 1 ]; then
    printf '%s\n' "${packages[@]}" | sort -u
    exit 0
fi

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
