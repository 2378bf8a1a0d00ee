#!/usr/bin/env bash
# Builds Cornfield (Release) and starts it. The game reads its data from and
# writes velloq.log to the repository root. Installs only what building and
# playing need (and a virtual screen when there is no display).
set -euo pipefail
cd "$(dirname "$0")"
if [ -z "${DISPLAY:-}" ]; then
    scripts/install-deps.sh play screen
else
    scripts/install-deps.sh play
fi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release \
    -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_BENCHMARKS=OFF -DVQ_BUILD_TOOLS=OFF >/dev/null
cmake --build build/release --target cornfield -j "$(nproc)"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a virtual screen (nothing visible)." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ./build/release/game/cornfield
fi
exec ./build/release/game/cornfield
