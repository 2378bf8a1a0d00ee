#!/usr/bin/env bash
# Times the full 80 x 24 random grid drawn by the display (BM_FrameBatched:
# drawCh for every cell, then swapBuffers) and the same grids drawn through
# the installed libtcod (peer_frames, same font at 13 x 32 pixel tiles; its
# OpenGL 2 renderer where it has one, before 1.23, its SDL2 renderer
# otherwise), one after the other on one virtual screen, for a few rounds,
# and prints which libtcod and renderer it measured, both figures of every
# round and their ratio (display / libtcod).
# Usage: scripts/display-vs-peer.sh [build-dir] [rounds]   (default build/bench, 3)
# Builds Release into the build directory first. The figures are wall-clock
# times: run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
build=${1:-build/bench}
rounds=${2:-3}
scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_display peer_frames >/dev/null

# Sets p to the peer's frame time and peer_name to what it measured.
peer() {
    local line
    line=$("$build/benchmarks/peer/peer_frames" vq-font.ttf 3 | grep '^peer frame:' || true)
    p=$(echo "$line" | sed -n 's/^peer frame: \([0-9.]*\) ms.*/\1/p')
    peer_name=$(echo "$line" | sed -n 's/.*frames, \(libtcod .* renderer\))$/\1/p')
}
display() {
    "$build/benchmarks/display/bench_display" --benchmark_filter='^BM_FrameBatched/' 2>/dev/null |
        sed -n 's/^ *batched frame, drawCh + swapBuffers: *\([0-9.]*\) ms.*/\1/p'
}

echo "Full 80 x 24 random grid per frame, ms (cleared, filled, shown)"
above=0
for round in $(seq 1 "$rounds"); do
    peer
    d=$(display)
    if [ -z "$p" ] || [ -z "$d" ]; then
        echo "round $round: a benchmark printed no figure" >&2
        exit 1
    fi
    if [ "$round" -eq 1 ]; then
        echo "peer: $peer_name"
        printf '%-7s %10s %10s %8s\n' round libtcod display ratio
    fi
    ratio=$(awk -v d="$d" -v p="$p" 'BEGIN { printf "%.2f", d / p }')
    printf '%-7s %10s %10s %8s\n' "$round" "$p" "$d" "$ratio"
    awk -v r="$ratio" 'BEGIN { exit !(r > 1.0) }' && above=$((above + 1))
done
echo "display at or below libtcod (ratio <= 1.00) in $((rounds - above)) of $rounds rounds"
