#!/usr/bin/env bash
# Regenerates every sound the game plays from the descriptions in tools/soundgen/:
#   sounds/*.wav              from tools/soundgen/effects.txt
#   music/pumpkin_lounge.mp3  from tools/soundgen/lounge.txt (rendered to WAV, encoded with lame)
#
# Usage: tools/make-sounds.sh [build-dir]     (default: build-sound in the repository root)
# A build dir already configured for the whole tree is reused (target soundgen);
# otherwise tools/soundgen is configured on its own there, which needs no engine
# dependencies. Output is deterministic, so running it again changes nothing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-sound}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

command -v lame >/dev/null || { echo "make-sounds: lame is needed to encode the music (apt-get install lame)" >&2; exit 1; }

if [ -f "$build/CMakeCache.txt" ] && grep -q "^CMAKE_HOME_DIRECTORY:INTERNAL=$root\$" "$build/CMakeCache.txt"; then
    soundgen="$build/tools/soundgen/soundgen"
else
    cmake -S "$root/tools/soundgen" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    soundgen="$build/soundgen"
fi
cmake --build "$build" --target soundgen -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
[ -x "$soundgen" ] || { echo "make-sounds: soundgen was not built at $soundgen" >&2; exit 1; }

cd "$root"
mkdir -p sounds music
"$soundgen" effects tools/soundgen/effects.txt sounds
"$soundgen" music tools/soundgen/lounge.txt "$build/pumpkin_lounge.wav"
# Constant 160 kbit/s stereo keeps the loop under 1 MB; lame's default header carries
# the encoder delay and padding so gapless decoders loop it without a gap.
lame --quiet -q 2 -b 160 "$build/pumpkin_lounge.wav" music/pumpkin_lounge.mp3
echo "music/pumpkin_lounge.mp3            $(wc -c < music/pumpkin_lounge.mp3) bytes"
