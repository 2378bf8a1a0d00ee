#!/usr/bin/env bash
# Uses the engine as another project would: installs it (the install
# component velloq) from a built tree into a scratch prefix, compiles every
# installed header on its own (so none needs SFML or a header that was not
# installed), builds examples/walker as a separate project against the
# installed package alone, and plays it on a virtual screen with scripted key
# presses, checking its exit status and log.
#
# Then installs the game (the component cornfield) into another prefix as a
# player's system would hold it: its file tree (and nothing of the engine's
# package), the desktop entry and AppStream metadata through their
# validators, and, started from / with a home of its own, its version, its
# window (the desktop entry's StartupWMClass, the icon) and its log under
# ~/.local/state/cornfield. scripts/play-installed.sh plays the Debian
# package further.
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
    fail=0
    # The icon comes just after the window opens.
    for _ in $(seq 50); do
        xprop -id "$window" _NET_WM_ICON | head -n 1 | grep -q 'Icon (64 x 64)' && break
        sleep 0.1
    done
    xprop -id "$window" _NET_WM_ICON | head -n 1 | grep -q 'Icon (64 x 64)' ||
        { echo "check-package: the game's window has no 64 x 64 icon" >&2; fail=1; }
    xdotool windowfocus --sync "$window" key q
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    status=0
    kill "$pid" 2>/dev/null && { echo "check-package: the game did not quit on Q" >&2; fail=1; }
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || { echo "check-package: the game exited with status $status" >&2; fail=1; }
    exit "$fail"
fi

build="${1:?usage: scripts/check-package.sh <build-dir>}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
scratch="$(mktemp -d /tmp/velloq-package-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

cmake --install "$build" --prefix "$prefix" --component velloq >/dev/null

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
if find "$prefix" -path '*games*' | grep -q .; then
    echo "check-package: the engine's package holds game files" >&2
    fail=1
fi
[ "$fail" -eq 0 ] || exit 1

walker="$scratch/walker"
cmake -S "$root/examples/walker" -B "$walker" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$walker" -j 2 >/dev/null

"${screen[@]}" "$0" --play "$walker"
echo "check-package: installed, built examples/walker against the package and played it"

# --- The game, installed. ---
game="$scratch/game"
cmake --install "$build" --prefix "$game" --component cornfield >/dev/null
id=io.github.velloq.Cornfield
expected=(games/cornfield share/games/cornfield/vq-font.ttf share/games/cornfield/icons/cornfield-64.png
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man6/cornfield.6.gz
    share/doc/cornfield/copyright share/doc/cornfield/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$game/$file" ] || { echo "check-package: the game's install lacks $file" >&2; fail=1; }
done
for folder in sprites sounds music; do
    [ "$(cd "$root/$folder" && find . -type f | sort)" = "$(cd "$game/share/games/cornfield/$folder" && find . -type f | sort)" ] ||
        { echo "check-package: the installed $folder/ differs from the tree's" >&2; fail=1; }
done
if [ -e "$game/include" ] || [ -e "$game/lib" ]; then
    echo "check-package: the game's install holds the engine's headers or library" >&2
    fail=1
fi
desktop-file-validate "$game/share/applications/$id.desktop" || fail=1
appstreamcli validate --no-net "$game/share/metainfo/$id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$game/share/metainfo/$id.metainfo.xml" >&2; fail=1; }
home="$scratch/home"
mkdir -p "$home"
version=$(cd / && "$game/games/cornfield" --version)
[ "$version" = "cornfield $(head -n 1 "$root/VERSION")" ] ||
    { echo "check-package: the installed game says '$version'" >&2; fail=1; }
wmclass=$(sed -n 's/^StartupWMClass=//p' "$game/share/applications/$id.desktop")
env -u CORNFIELD_DATA_DIR -u XDG_STATE_HOME HOME="$home" "${screen[@]}" "$0" --play-game "$game/games/cornfield" "$wmclass" ||
    fail=1
grep -qxF "$(printf 'Game data read from %s' "$game/share/games/cornfield")" \
    <(cut -f3 "$home/.local/state/cornfield/velloq.log" 2>/dev/null) ||
    { echo "check-package: no log in $home/.local/state/cornfield naming the installed data" >&2; fail=1; }
[ "$(ls -A "$home")" = ".local" ] || { echo "check-package: the game wrote in its home: $(ls -A "$home")" >&2; fail=1; }
[ "$fail" -eq 0 ] || exit 1
echo "check-package: the game installed under a prefix, validated, started from / and logged in its home"
