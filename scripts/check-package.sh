#!/usr/bin/env bash
# Uses the engine as another project would, by following engine/README.md to
# the letter: it installs the engine as a static and as a shared library,
# builds examples/walker against each through CMake and through pkg-config,
# runs the example's own headless test against every build, plays the game
# once on a virtual screen with scripted key presses, and compiles every
# installed header on its own (none may need SFML or a header left out).
#
# Given the folder of a built tree, it then installs the game from it (the
# install component cornfield) into another prefix as a player's system would
# hold it: its file tree (and nothing of the engine's package), the desktop
# entry and AppStream metadata through their validators, and, started from /
# with a home of its own, its version, its window (the desktop entry's
# StartupWMClass, the icon) and its log under ~/.local/state/cornfield.
# scripts/play-installed.sh plays the Debian package further.
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
#   <!-- check: compiles -->     C++ statements (after their #include lines)
#                                that compile as a function's body against
#                                the installed engine
#   <!-- check: log -->          lines the played game logged, in this order,
#                                time and step aside; "..." as above
# A block without a note fails the check.
#
# Usage: scripts/check-package.sh [BUILD-DIR]
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

# Inner mode, on its own virtual screen: start the installed game $2 from /,
# find its window by the class $3, read its icon, quit with Q.
if [ "${1:-}" = "--play-game" ]; then
    cd /
    ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} "$2" 2>/dev/null &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --class "^$3\$" | head -n 1) || true
    if [ -z "$window" ]; then
        echo "check-package: no window of the class $3 (the desktop entry's StartupWMClass)" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    errors=0
    # The icon comes just after the window opens.
    for _ in $(seq 50); do
        xprop -id "$window" _NET_WM_ICON | head -n 1 | grep -q 'Icon (64 x 64)' && break
        sleep 0.1
    done
    xprop -id "$window" _NET_WM_ICON | head -n 1 | grep -q 'Icon (64 x 64)' ||
        { echo "check-package: the game's window has no 64 x 64 icon" >&2; errors=1; }
    xdotool windowfocus --sync "$window" key q
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    status=0
    kill "$pid" 2>/dev/null && { echo "check-package: the game did not quit on Q" >&2; errors=1; }
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || { echo "check-package: the game exited with status $status" >&2; errors=1; }
    exit "$errors"
fi

[ $# -le 1 ] || fail "usage: scripts/check-package.sh [BUILD-DIR]"
build=${1:-}
case "$build" in "" | /*) ;; *) build="$PWD/$build" ;; esac
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
    compiles)
        {
            grep '^#include' <<<"$block" || true
            echo 'void fragment() {'
            grep -v '^#include' <<<"$block" || true
            echo '}'
        } >"$work/fragment.cpp"
        c++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I "$HOME/velloq/include" "$work/fragment.cpp" ||
            fail "the guide's fragment does not compile: $(head -n 1 <<<"$block")"
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

[ -n "$build" ] || exit 0

# The game, installed.
game="$work/game"
rm -rf "$game"
cmake --install "$build" --prefix "$game" --component cornfield >/dev/null
id=io.github.velloq.Cornfield
expected=(games/cornfield share/games/cornfield/vq-font.ttf share/games/cornfield/icons/cornfield-64.png
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man6/cornfield.6.gz
    share/doc/cornfield/copyright share/doc/cornfield/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$game/$file" ] || { echo "check-package: the game's install lacks $file" >&2; errors=1; }
done
for folder in sprites sounds music; do
    [ "$(cd "$root/$folder" && find . -type f | sort)" = "$(cd "$game/share/games/cornfield/$folder" && find . -type f | sort)" ] ||
        { echo "check-package: the installed $folder/ differs from the tree's" >&2; errors=1; }
done
if [ -e "$game/include" ] || [ -e "$game/lib" ]; then
    echo "check-package: the game's install holds the engine's headers or library" >&2
    errors=1
fi
desktop-file-validate "$game/share/applications/$id.desktop" || errors=1
appstreamcli validate --no-net "$game/share/metainfo/$id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$game/share/metainfo/$id.metainfo.xml" >&2; errors=1; }
home="$work/game-home"
mkdir -p "$home"
version=$(cd / && "$game/games/cornfield" --version)
[ "$version" = "cornfield $(head -n 1 "$root/VERSION")" ] ||
    { echo "check-package: the installed game says '$version'" >&2; errors=1; }
wmclass=$(sed -n 's/^StartupWMClass=//p' "$game/share/applications/$id.desktop")
env -u CORNFIELD_DATA_DIR -u XDG_STATE_HOME HOME="$home" "${screen[@]}" "$0" --play-game "$game/games/cornfield" "$wmclass" ||
    errors=1
grep -qxF "$(printf 'Game data read from %s' "$game/share/games/cornfield")" \
    <(cut -f3 "$home/.local/state/cornfield/velloq.log" 2>/dev/null) ||
    { echo "check-package: no log in $home/.local/state/cornfield naming the installed data" >&2; errors=1; }
[ "$(ls -A "$home")" = ".local" ] || { echo "check-package: the game wrote in its home: $(ls -A "$home")" >&2; errors=1; }
[ "$errors" -eq 0 ] || exit 1
echo "check-package: the game installed under a prefix, validated, started from / and logged in its home"
