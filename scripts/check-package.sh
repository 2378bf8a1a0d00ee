#!/usr/bin/env bash
# Uses the engine as another project would: installs it from a built tree
# into a scratch prefix, compiles every installed header on its own (so none
# needs SFML or a header that was not installed), builds examples/walker as a
# separate project against the installed package alone, and plays it on a
# virtual screen with scripted key presses, checking its exit status and log.
#
# Usage: scripts/check-package.sh <build-dir>    (a configured, built tree)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screen=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

# Inner mode, on its own virtual screen: play the built example in $2.
if [ "${1:-}" = "--play" ]; then
    cd "$2"
    rm -f velloq.log
    # No sound card is needed: OpenAL's null output takes the bump.
    ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} ./walker &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velloq$' | head -n 1) || true
    if [ -z "$window" ]; then
        echo "check-package: the example's window did not appear" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    xdotool windowfocus --sync "$window"
    # The hero starts two cells left of a wall and three right of another:
    # one step, two bumps, three steps back, one bump, then Q.
    xdotool key --delay 60 Right Right Right Left Left Left Left q
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "check-package: the example did not quit on Q" >&2
        kill "$pid"
        exit 1
    fi
    status=0
    wait "$pid" || status=$?
    fail=0
    [ "$status" -eq 0 ] || { echo "check-package: the example exited with status $status" >&2; fail=1; }
    for line in "GameManager started" "Walker: bump 3" "Walker: Q pressed after 3 bumps"; do
        grep -qF "$line" velloq.log || { echo "check-package: no \"$line\" in the example's log" >&2; fail=1; }
    done
    if grep -F "Failed" velloq.log; then
        echo "check-package: the example's log reports failures" >&2
        fail=1
    fi
    [ "$fail" -eq 0 ] || { echo "--- velloq.log" >&2; cat velloq.log >&2; }
    exit "$fail"
fi

build="${1:?usage: scripts/check-package.sh <build-dir>}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
scratch="$(mktemp -d /tmp/velloq-package-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

include="$prefix/include/velloq"
headers=$(cd "$include" && find . -name '*.h' | sed 's|^\./||' | sort)
[ -n "$headers" ] || { echo "check-package: no headers were installed" >&2; exit 1; }
fail=0
for header in $headers; do
    if grep -qE '^\s*#\s*include\s*<SFML/' "$include/$header"; then
        echo "check-package: installed header $header includes SFML" >&2
        fail=1
    fi
    if ! echo "#include <velloq/$header>" | c++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I "$prefix/include" -x c++ -; then
        echo "check-package: installed header $header does not compile on its own" >&2
        fail=1
    fi
done
if grep -rqE '^\s*#\s*include\s*<SFML/' "$root/examples"; then
    echo "check-package: the examples must use the engine only, never SFML" >&2
    fail=1
fi
[ "$fail" -eq 0 ] || exit 1

walker="$scratch/walker"
cmake -S "$root/examples/walker" -B "$walker" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$walker" -j 2 >/dev/null

"${screen[@]}" "$0" --play "$walker"
echo "check-package: installed, built examples/walker against the package and played it"
