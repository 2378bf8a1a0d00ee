#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs every measurement that
# docs/performance.md reports, on a virtual screen when there is no display,
# then prints the figures the targets are stated in, each beside its target.
# Usage: scripts/measure-performance.sh [build-dir]   (default build/bench)
# Run it on an otherwise idle machine: the figures are wall-clock times (the
# load average is printed before and after).
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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[general]\ndrivers = null\n' > "$work/alsoft.conf"
export ALSOFT_CONF=$work/alsoft.conf
# SFML 3 (miniaudio): no server, no ALSA device, so its null device.
export PULSE_SERVER=unix:/nonexistent ALSA_CONFIG_PATH=/dev/null

system=$(. /etc/os-release && echo "${PRETTY_NAME:-unknown}")
sfml=$(dpkg-query -W -f='${Version}' libsfml-dev 2>/dev/null | sed 's/^[0-9]*://; s/[+~-].*//' || true)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

b=$build
echo "== World update with 1000 objects; a suppressed log line"
"$b/benchmarks/core/vq_core_benchmarks" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== Loading all 51 resources"
"$b/benchmarks/resources/vq_resources_benchmarks" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== Game logic of one farm step (31 plots, tools, pests)"
"$b/benchmarks/game/cornfield_farm_benchmarks"
echo "== Full 80 x 24 grid: batched against per-character drawing"
"$b/benchmarks/display/bench_display" 2>/dev/null | tee "$work/display"
echo "== One farm day in a window"
"$b/benchmarks/game/cornfield_farm_day_benchmark" 2>/dev/null
echo "== Start-up, frame work per scene, memory, CPU time per second of play"
"$b/benchmarks/game/scene_frames" 300 20 2>/dev/null | tee "$work/scenes"
# Start-up varies by tens of milliseconds from one process to the next: its
# figure is the median of five.
sed -n 's/^start-up to the first frame: \([0-9.]*\) ms.*/\1/p' "$work/scenes" >"$work/startups"
for _ in 1 2 3 4; do
    "$b/benchmarks/game/scene_frames" 1 2>/dev/null |
        sed -n 's/^start-up to the first frame: \([0-9.]*\) ms.*/\1/p' >>"$work/startups"
done
echo "start-up to the first frame, five processes: $(sort -g "$work/startups" | tr '\n' ' ')ms"
echo "== Loop pacing over 900 steps"
"$b/benchmarks/core/loop_pacing" 900 2>/dev/null | tee "$work/pacing"
echo "== The full random grid side by side with libtcod, three rounds"
if [ -x "$b/benchmarks/peer/peer_frames" ]; then
    scripts/display-vs-peer.sh "$b" 3 | tee "$work/peer" || echo "(libtcod's renderer could not run here)"
    echo "== libtcod's loop at 30 frames a second, CPU time per second"
    "$b/benchmarks/peer/peer_frames" vq-font.ttf 20 auto 30 2>/dev/null | tee "$work/peer-cpu" || true
else
    echo "(libtcod not installed: no peer)"
fi

# The figures the targets name; "missed" where one is outside its target.
figure() { sed -n "$2" "$work/$1" | head -n 1; }
verdict() { awk "BEGIN { exit !($1) }" && echo ok || echo MISSED; }
unchanged=$(figure display 's/^ *the same frame again: *\([0-9.]*\) ms.*/\1/p')
startup=$(sort -g "$work/startups" | sed -n 3p)
farm=$(figure scenes 's/^| farm *| *[0-9]* | *[0-9.]* | *[0-9.]* | *[0-9.]* | *\([0-9.]*\) |.*/\1/p')
cpu=$(figure scenes 's/^CPU time per second of play[^:]*: \(.*\)/\1/p')
pacing_mean=$(figure pacing 's/.* mean \([0-9.]*\) ms.*/\1/p')
pacing_p99=$(figure pacing 's/.* p99 \([0-9.]*\) ms.*/\1/p')
echo
echo "== $system, SFML ${sfml:-?}: the figures against their targets"
echo "load average before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-40s %-28s %-32s %s\n' "the same frame again" "${unchanged:-?} ms" "<= 1.5 ms" \
    "$(verdict "${unchanged:-99} <= 1.5")"
printf '%-40s %-28s %-32s %s\n' "busiest farm frame, mean" "${farm:-?} ms" "<= 3 ms" "$(verdict "${farm:-99} <= 3")"
printf '%-40s %-28s %-32s %s\n' "start-up to the first frame, median" "${startup:-?} ms" "<= 300 ms" \
    "$(verdict "${startup:-9999} <= 300")"
printf '%-40s %-28s %-32s %s\n' "loop pacing" "mean ${pacing_mean:-?}, p99 ${pacing_p99:-?} ms" \
    "mean 32.67..33.33, p99 <= 36 ms" \
    "$(verdict "${pacing_mean:-0} >= 32.67 && ${pacing_mean:-0} <= 33.33 && ${pacing_p99:-99} <= 36")"
if [ -s "$work/peer" ] && grep -q '^peer:' "$work/peer"; then
    ratios=$(awk '$1 ~ /^[0-9]+$/ && NF == 4 { printf "%s ", $4 }' "$work/peer")
    worst=$(echo "$ratios" | tr ' ' '\n' | sort -g | tail -n 1)
    printf '%-40s %-28s %-32s %s\n' "display / $(sed -n 's/^peer: //p' "$work/peer")" "$ratios" "<= 1.00 each round" \
        "$(verdict "${worst:-99} <= 1.0")"
else
    echo "display / libtcod: no libtcod here"
fi
echo "CPU time per second of play: ${cpu:-?}"
sed -n 's/^peer CPU at \([0-9]*\) frames a second, \([^:]*\): \([0-9.]*\) ms per second.*/libtcod at \1 frames a second, \2: \3 ms per second/p' \
    "$work/peer-cpu" 2>/dev/null || true
