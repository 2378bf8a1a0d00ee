#!/usr/bin/env bash
# Runs the game under valgrind's memcheck in a real (virtual) window for a
# short session: title, SPACE, a few clicks on the field, then Q.
# Usage: scripts/memcheck.sh [build-dir]   (default build/memcheck, built here)
# Prints memcheck's summary; the full report is left in memcheck.log.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
build=${1:-build/memcheck}
if [ $# -eq 0 ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQ_BUILD_TESTS=OFF \
        -DVQ_BUILD_BENCHMARKS=OFF -DVQ_BUILD_TOOLS=OFF >/dev/null
    cmake --build "$build" --target cornfield -j "$(nproc)" >/dev/null
fi

session() {
    printf '[general]\ndrivers = null\n' > /tmp/memcheck-alsoft.conf
    ALSOFT_CONF=/tmp/memcheck-alsoft.conf PULSE_SERVER=unix:/nonexistent ALSA_CONFIG_PATH=/dev/null valgrind --tool=memcheck --leak-check=full \
        --show-leak-kinds=definite --errors-for-leak-kinds=definite --num-callers=30 \
        --log-file=memcheck.log "$build/game/cornfield" 2>/dev/null &
    local pid=$!
    local window=""
    for _ in $(seq 1 120); do
        window=$(xdotool search --onlyvisible --name '^Velloq$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
        sleep 1
    done
    [ -n "$window" ] || { echo "no window"; kill $pid; return 1; }
    sleep 3
    xdotool windowfocus --sync "$window" key space
    sleep 3
    for cell in "51 192" "153 192" "256 192" "358 192"; do
        # shellcheck disable=SC2086
        xdotool mousemove --sync --window "$window" $cell click 1
        sleep 1
    done
    sleep 5
    xdotool windowfocus --sync "$window" key q
    wait $pid
}

status=0
session || status=$?
echo "exit status: $status"
grep -E "ERROR SUMMARY|definitely lost|Invalid (read|write)" memcheck.log | sort | uniq -c
