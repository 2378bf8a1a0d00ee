#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs every measurement that
# docs/performance.md reports, on a virtual screen when there is no display.
# Usage: scripts/measure-performance.sh [build-dir]   (default build/bench)
# Run it on an otherwise idle machine: the figures are wall-clock times.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
build=${1:-build/bench}
scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

# Sound goes nowhere, so the audio library neither fails nor writes files.
conf=$(mktemp)
printf '[general]\ndrivers = null\n' > "$conf"
export ALSOFT_CONF=$conf
# SFML 3 (miniaudio): no server, no ALSA device, so its null device.
export PULSE_SERVER=unix:/nonexistent ALSA_CONFIG_PATH=/dev/null

measure() {
    local b=$1
    echo "== World update with 1000 objects; a suppressed log line"
    "$b/benchmarks/core/vq_core_benchmarks" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
    echo "== Loading all 51 resources"
    "$b/benchmarks/resources/vq_resources_benchmarks" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
    echo "== Game logic of one farm step (31 plots, tools, pests)"
    "$b/benchmarks/game/cornfield_farm_benchmarks"
    echo "== Full 80 x 24 grid: batched against per-character drawing"
    "$b/benchmarks/display/bench_display" 2>/dev/null
    echo "== One farm day in a window"
    "$b/benchmarks/game/cornfield_farm_day_benchmark" 2>/dev/null
    echo "== Start-up, frame work per scene, memory"
    "$b/benchmarks/game/scene_frames" 300 2>/dev/null
    echo "== Loop pacing over 900 steps"
    "$b/benchmarks/core/loop_pacing" 900 2>/dev/null
    echo "== The full random grid side by side with libtcod, three rounds"
    if [ -x "$b/benchmarks/peer/peer_frames" ]; then
        scripts/display-vs-peer.sh "$b" 3 || echo "(libtcod's renderer could not run here)"
    else
        echo "(libtcod not installed: no peer)"
    fi
}

measure "$build"
rm -f "$conf"
