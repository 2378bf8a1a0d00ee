#!/usr/bin/env bash
# Uses the engine as another project would, by following engine/README.md to
# the letter: it installs the engine as a static and as a shared library,
# builds examples/walker against each through CMake and through pkg-config,
# runs the example's own headless test against every build, plays the game
# once on a virtual screen with scripted key presses, and compiles every
# installed header on its own (none may need SFML or a header left out).
#
# Every fenced block of the guide is checked as the note before it says:
#   <!-- check: run -->          shell commands, run from the repository root
#                                with HOME a scratch folder (so "$HOME/velloq"
#                                is one too); the build folders stay under build/
#   <!-- check: play -->         "cd DIR && ./PROGRAM": run on a virtual screen,
#                                where scripted keys play it
#   <!-- check: makes FILE -->   run in an empty folder; what it makes must be FILE
#   <!-- check: from FILE -->    code whose lines stand in FILE in this order,
#                                indentation aside; a line "..." skips any number
#   <!-- check: log -->          lines the played game logged, in this order,
#                                time and step aside; "..." as above
# A block without a note fails the check.
#
# Usage: scripts/check-package.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
guide="$root/engine/README.md"
screen=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# Inner mode, on its own virtual screen: play the program the block names.
if [ "${1:-}" = "--play" ]; then
    block=$2
    [[ "$block" =~ ^cd\ ([^ ]+)\ \&\&\ \./([^ ]+)$ ]] || fail "a play block is \"cd DIR && ./PROGRAM\", not: $block"
    dir=${BASH_REMATCH[1]} program=${BASH_REMATCH[2]}
    cd "$root/$dir"
    rm -f velloq.log
    # No sound card is needed: OpenAL's null output takes the bump.
    ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} "./$program" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velloq$' | head -n 1) || true
    if [ -z "$window" ]; then
        kill "$pid" 2>/dev/null || true
        fail "the example's window did not appear"
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
        kill "$pid"
        fail "the example did not quit on Q"
    fi
    status=0
    wait "$pid" || status=$?
    errors=0
    [ "$status" -eq 0 ] || { echo "check-package: the example exited with status $status" >&2; errors=1; }
    if grep -F "Failed" velloq.log; then
        echo "check-package: the example's log reports failures" >&2
        errors=1
    fi
    [ "$errors" -eq 0 ] || { echo "--- velloq.log" >&2; cat velloq.log >&2; }
    exit "$errors"
fi

[ $# -eq 0 ] || fail "usage: scripts/check-package.sh"
cd "$root"
work="$root/build/check-package"
rm -rf "$work"
mkdir -p "$work/home"
# The compiler cache stays where it is while HOME moves.
if command -v ccache >/dev/null 2>&1; then
    CCACHE_DIR=$(ccache -k cache_dir)
    export CCACHE_DIR CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export HOME="$work/home"

# Whether the lines of the block in $1 stand in the file $2 in order, each
# compared without its indentation (and, with $3 = log, without the time and
# step before it); a line "..." skips any number of lines.
strip() { # sets `stripped`
    local line=$1
    [[ "${2:-}" = log && "$line" =~ ^[0-9]{2}:[0-9]{2}:[0-9]{2}$'\t'[0-9]+$'\t'(.*)$ ]] && line=${BASH_REMATCH[1]}
    line="${line#"${line%%[![:space:]]*}"}"
    stripped="${line%"${line##*[![:space:]]}"}"
}
in_order() {
    local -a want have run
    local i j k at=0 found stripped
    mapfile -t want <<<"$1"
    mapfile -t have <"$2"
    for i in "${!want[@]}"; do strip "${want[i]}" "${3:-}" && want[i]=$stripped; done
    for i in "${!have[@]}"; do strip "${have[i]}" "${3:-}" && have[i]=$stripped; done
    i=0
    while [ "$i" -lt "${#want[@]}" ]; do
        # The run of lines up to the next "...", found at or after `at`.
        run=()
        while [ "$i" -lt "${#want[@]}" ] && [ "${want[i]}" != "..." ]; do
            run+=("${want[i]}")
            i=$((i + 1))
        done
        i=$((i + 1))
        [ "${#run[@]}" -gt 0 ] || continue
        found=-1
        for ((j = at; j + ${#run[@]} <= ${#have[@]} && found < 0; j++)); do
            for ((k = 0; k < ${#run[@]}; k++)); do
                [ "${have[j + k]}" = "${run[k]}" ] || break
            done
            [ "$k" -eq "${#run[@]}" ] && found=$j
        done
        if [ "$found" -lt 0 ]; then
            echo "check-package: not found in $2 after line $at:" >&2
            printf '    %s\n' "${run[@]}" >&2
            return 1
        fi
        at=$((found + ${#run[@]}))
    done
}

# The guide's blocks, each with its note, in order.
notes=() blocks=()
note="" block="" inside=0 number=0
while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    if [ "$inside" -eq 1 ]; then
        if [[ "$line" =~ ^\`\`\`$ ]]; then
            inside=0
            notes+=("$note") blocks+=("${block%$'\n'}")
            note=""
        else
            block+="$line"$'\n'
        fi
    elif [[ "$line" =~ ^\<!--\ check:\ (.*)\ --\>$ ]]; then
        note=${BASH_REMATCH[1]}
    elif [[ "$line" =~ ^\`\`\` ]]; then
        [ -n "$note" ] || fail "engine/README.md:$number: a block without a check note"
        inside=1 block=""
    elif [ -n "$note" ] && [ -n "$line" ]; then
        fail "engine/README.md:$number: a check note not followed by its block"
    fi
done <"$guide"
[ "$inside" -eq 0 ] || fail "engine/README.md: a block is not closed"

played=""
for i in "${!blocks[@]}"; do
    note=${notes[i]} block=${blocks[i]}
    case "$note" in
    run)
        echo "check-package: running"
        sed 's/^/    /' <<<"$block"
        (bash -euo pipefail -c "$block") >"$work/run.log" 2>&1 || {
            cat "$work/run.log" >&2
            fail "a command of the guide failed"
        }
        ;;
    play)
        "${screen[@]}" "$0" --play "$block"
        played=${block#cd } played=${played%% &&*}
        ;;
    "makes "*)
        file=${note#makes }
        rm -rf "$work/make" && mkdir "$work/make"
        (cd "$work/make" && bash -euo pipefail -c "$block") || fail "the guide's command for $file failed"
        cmp "$work/make/$(basename "$file")" "$file" || fail "the guide's command does not make $file"
        ;;
    "from "*)
        file=${note#from }
        [ -f "$file" ] || fail "the guide quotes $file, which does not exist"
        in_order "$block" "$file" || fail "the guide's fragment of $file differs from it"
        ;;
    log)
        [ -n "$played" ] || fail "the guide shows a log before it plays the game"
        in_order "$block" "$played/velloq.log" log || fail "the game's log differs from the guide's"
        ;;
    *) fail "an unknown check note: $note" ;;
    esac
done
echo "check-package: the guide's ${#blocks[@]} blocks hold"

# What the guide installed, looked at as a user's compiler and linker would.
static="$HOME/velloq" shared="$HOME/velloq-shared"
include="$static/include/velloq"
headers=$(cd "$include" && find . -name '*.h' | sed 's|^\./||' | sort)
[ -n "$headers" ] || fail "no headers were installed"
errors=0
for header in $headers; do
    if grep -qE '^\s*#\s*include\s*<SFML/' "$include/$header"; then
        echo "check-package: installed header $header includes SFML" >&2
        errors=1
    fi
    if ! echo "#include <velloq/$header>" | c++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I "$static/include" -x c++ -; then
        echo "check-package: installed header $header does not compile on its own" >&2
        errors=1
    fi
done
if grep -rqE '^\s*#\s*include\s*<SFML/' "$root/examples"; then
    echo "check-package: the examples must use the engine only, never SFML" >&2
    errors=1
fi
version=$(head -n 1 "$root/VERSION")
grep -q "^#define VQ_VERSION_STRING \"$version\"$" "$include/Version.h" || fail "Version.h does not say $version"
soname=$(readelf -d "$shared"/lib*/libvelloq.so | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
[ "$soname" = "libvelloq.so.${version%.*}" ] || fail "the shared library's SONAME is \"$soname\""
[ "$errors" -eq 0 ] || exit 1

# The example's own test through pkg-config, against either engine; the
# shared build must use libvelloq.so, the static one must not.
src="$root/examples/walker"
for prefix in "$static" "$shared"; do
    out="$work/test-$(basename "$prefix")"
    mkdir -p "$out" && cp -r "$src/sprites" "$src/sounds" "$out"
    export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
    # shellcheck disable=SC2046 # the flags are words
    c++ -std=c++17 -O2 -Wall -Wextra -o "$out/walker_test" "$src/WalkerTest.cpp" "$src/Hero.cpp" "$src/Room.cpp" \
        "$src/Wall.cpp" $(pkg-config --cflags --libs velloq) -Wl,-rpath,"$(pkg-config --variable=libdir velloq)"
    (cd "$out" && env -u DISPLAY ./walker_test >"$out/test.log" 2>&1) || {
        cat "$out/test.log" >&2
        fail "the example's test fails built with pkg-config against $prefix"
    }
    uses_shared=0
    readelf -d "$out/walker_test" | grep -q 'NEEDED.*libvelloq' && uses_shared=1
    [ "$uses_shared" -eq "$([ "$prefix" = "$shared" ] && echo 1 || echo 0)" ] ||
        fail "the test built against $prefix links the engine the wrong way"
done
echo "check-package: installed static and shared, built examples/walker with CMake and pkg-config," \
    "ran its headless test against each, played it"
