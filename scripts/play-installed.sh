#!/usr/bin/env bash
# Plays the installed game as a player would, on a system that holds the
# package cornfield and nothing of the source tree, then removes the package.
# The platform check runs it as root in a bare system of each release, after
# `apt install ./cornfield_*.deb` and a virtual X server and xdotool:
#
#   play-installed.sh
#
# As a user of its own (made here, with a home), from /: --version, --help
# and a refused argument; a game on a virtual screen: SPACE, a click that
# plants the first plot (seen in the screen's memory), Q, status 0; the log
# under ~/.local/state/cornfield and nothing new in / or the home's top; the
# same from a read-only working directory; a log folder that cannot be made
# and a missing data folder, each with its message. Then `apt remove` must
# leave none of the package's files. Prints one line per check, the counts,
# and "package installed and played" when every check passed.
set -uo pipefail

player=player
home=/home/$player
passed=0
failed=0
check() {
    if [ "$2" = ok ]; then
        passed=$((passed + 1))
        echo "ok: $1"
    else
        failed=$((failed + 1))
        echo "FAILED: $1${3:+ ($3)}"
    fi
}

# --- As the player, inside xvfb-run: one game, pixels read from the screen. ---
if [ "${1:-}" = "--session" ]; then
    fb=$2 out=$3 wmclass=$4
    # Pure green pixels (the seeds) in the first plot's cells, read from the
    # X server's memory image of the screen (xwd layout, 32 bits a pixel).
    green_in_first_plot() {
        local window=$1 X Y WIDTH HEIGHT
        eval "$(xdotool getwindowgeometry --shell "$window")"
        od -An -v -tu4 --endian=big -N 100 "$fb/Xvfb_screen0" | tr -s ' \n' ' ' | {
            read -r -a h
            local header=${h[0]} bpl=${h[12]} ncolors=${h[19]}
            local start=$((header + ncolors * 12 + (Y + 170) * bpl))
            # cells 2 to 6 of row 6: x 25 to 90, y 170 to 240 in the window
            od -An -v -tu1 -j "$start" -N $((70 * bpl)) "$fb/Xvfb_screen0" | tr -s ' \n' '\n' | grep -v '^$' |
                awk -v bpl="$bpl" -v x0=$(((X + 25) * 4)) -v x1=$(((X + 90) * 4)) '
                    { i = NR - 1; col = i % bpl; if (col < x0 || col >= x1) next
                      c = col % 4; v[c] = $1
                      if (c == 3 && v[1] > 200 && v[0] < 80 && v[2] < 80) n++ }
                    END { print n + 0 }'
        }
    }
    cornfield 2>"$out.stderr" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --class "^$wmclass\$" 2>/dev/null | head -n 1)
    if [ -z "$window" ]; then
        echo "window=none" >"$out"
        kill "$pid" 2>/dev/null
        exit 0
    fi
    sleep 1
    xdotool windowfocus --sync "$window" key space
    sleep 1
    before=$(green_in_first_plot "$window")
    xdotool mousemove --sync --window "$window" 51 192 click 1
    sleep 1
    after=$(green_in_first_plot "$window")
    xdotool windowfocus --sync "$window" key q
    status=timeout
    for _ in $(seq 50); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            break
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    printf 'window=%s\nbefore=%s\nafter=%s\nstatus=%s\n' "$window" "$before" "$after" "$status" >"$out"
    exit 0
fi

# --- As root: the whole check. ---
version=$(dpkg-query -W -f='${Version}' cornfield 2>/dev/null)
[ -n "$version" ] || { echo "play-installed: the package cornfield is not installed" >&2; exit 1; }
wmclass=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/*.desktop | head -n 1)
useradd -m -s /bin/bash "$player" 2>/dev/null || true
as_player() {
    setpriv --reuid="$player" --regid="$player" --init-groups \
        env -i HOME="$home" USER="$player" LOGNAME="$player" LANG=C.UTF-8 \
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games "$@"
}
top_before=$(ls -A /)
home_before=$(ls -A "$home")
scratch=$(as_player mktemp -d)
log=$home/.local/state/cornfield/velloq.log

# The command line.
out=$(cd / && as_player cornfield --version 2>&1)
[ "$out" = "cornfield $version" ] && check "cornfield --version: $out" ok || check "cornfield --version" failed "$out"
out=$(cd / && as_player cornfield --help 2>/dev/null)
[ $? -eq 0 ] && [[ $out == Usage:* ]] && check "cornfield --help" ok || check "cornfield --help" failed
out=$(cd / && as_player cornfield --fullscreen 2>&1)
status=$?
[ $status -eq 2 ] && [ "$out" = "cornfield: unknown argument '--fullscreen' (try cornfield --help)" ] &&
    check "an unknown argument: status 2, $out" ok || check "an unknown argument" failed "status $status: $out"

# play DIR KEY NAME: a game from DIR; checks window, planting, status and
# stderr. KEY names its files.
play() {
    local dir=$1 name=$3 result
    result=$scratch/$2
    (cd "$dir" && as_player xvfb-run -a -s "-screen 0 1280x1024x24 -fbdir $scratch" \
        "$0" --session "$scratch" "$result" "$wmclass")
    local window before after status
    window=$(sed -n 's/^window=//p' "$result")
    before=$(sed -n 's/^before=//p' "$result")
    after=$(sed -n 's/^after=//p' "$result")
    status=$(sed -n 's/^status=//p' "$result")
    if [ "$window" = none ] || [ -z "$window" ]; then
        check "$name: a window of class $wmclass" failed "$(head -c 300 "$result.stderr" 2>/dev/null)"
        return
    fi
    check "$name: a window of class $wmclass" ok
    [ "${before:-1}" -eq 0 ] && [ "${after:-0}" -gt 20 ] &&
        check "$name: SPACE, then a click plants the first plot ($after seed pixels)" ok ||
        check "$name: SPACE, then a click plants the first plot" failed "green pixels before $before, after $after"
    [ "$status" = 0 ] && check "$name: Q ends it with status 0" ok || check "$name: Q ends it" failed "status $status"
    if grep -q '^cornfield:' "$result.stderr"; then
        check "$name: nothing to complain about" failed "$(grep '^cornfield:' "$result.stderr")"
    fi
}

play / slash "from /"
games_logged=$(grep -c 'GameManager started' "$log" 2>/dev/null)
grep -q 'Game data read from /usr/share/games/cornfield$' "$log" 2>/dev/null && [ "$games_logged" = 1 ] &&
    check "the log is $log" ok || check "the log is $log" failed "$(ls -la "$home/.local/state/cornfield" 2>&1)"
for line in "Failed" "Error"; do
    if grep -q "$line" "$log" 2>/dev/null; then
        check "the log reports no failure" failed "$(grep "$line" "$log" | head -n 3)"
    fi
done
[ "$(ls -A /)" = "$top_before" ] && check "nothing new in /" ok || check "nothing new in /" failed "$(ls -A /)"
# The XDG folders may appear (the log's, and the GL and sound libraries' own
# caches and settings); nothing else.
new_in_home=$(comm -13 <(echo "$home_before") <(ls -A "$home"))
made=$(cd "$home" && for d in $new_in_home; do find "$d" -mindepth 1 -maxdepth 1; done)
[ -z "$(echo "$new_in_home" | grep -v -x -e '\.local' -e '\.cache' -e '\.config')" ] &&
    check "nothing new in the home's top but XDG folders (${made//$'\n'/ })" ok ||
    check "nothing new in the home's top" failed "$new_in_home"

# A working directory the player cannot write to, mounted read-only.
readonly_dir=$scratch/readonly
as_player mkdir -p "$readonly_dir"
mount --bind "$readonly_dir" "$readonly_dir" && mount -o remount,bind,ro "$readonly_dir"
play "$readonly_dir" ro "from a read-only folder"
[ "$(grep -c 'GameManager started' "$log")" = 2 ] && [ -z "$(ls -A "$readonly_dir")" ] &&
    check "from a read-only folder: logged to the same log, nothing left in the folder" ok ||
    check "from a read-only folder: logged to the same log" failed
umount "$readonly_dir"

# A state folder the log's folder cannot be made in.
as_player mkdir -p "$scratch/state" && chmod 555 "$scratch/state"
out=$(cd / && as_player env XDG_STATE_HOME="$scratch/state" cornfield 2>&1 | grep '^cornfield: cannot make')
[ "$out" = "cornfield: cannot make the log folder $scratch/state/cornfield: Permission denied" ] &&
    check "a log folder that cannot be made: $out" ok || check "a log folder that cannot be made" failed "$out"

# The data folder gone: one line naming every folder tried, status 1.
mv /usr/share/games/cornfield /usr/share/games/cornfield.away
out=$(cd / && as_player cornfield 2>&1)
status=$?
expected="cornfield: no game data (vq-font.ttf, sprites/, sounds/, music/) in /usr/share/games/cornfield, / (the working directory)"
[ $status -eq 1 ] && [ "$out" = "$expected" ] && check "no data folder: status 1, $out" ok ||
    check "no data folder" failed "status $status: $out"
out=$(cd / && as_player env CORNFIELD_DATA_DIR=/nowhere cornfield 2>&1)
[[ $out == "cornfield: no game data (vq-font.ttf, sprites/, sounds/, music/) in /nowhere (\$CORNFIELD_DATA_DIR), /usr/share/games/cornfield, "* ]] &&
    check "CORNFIELD_DATA_DIR named first among the folders tried" ok || check "CORNFIELD_DATA_DIR named first" failed "$out"
mv /usr/share/games/cornfield.away /usr/share/games/cornfield

# Removing the package removes every file it brought.
mapfile -t files < <(dpkg -L cornfield)
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq cornfield >/dev/null 2>&1
left=()
for f in "${files[@]}"; do
    [ -f "$f" ] || [ -L "$f" ] && left+=("$f")
done
for d in /usr/share/games/cornfield /usr/share/doc/cornfield; do
    [ -e "$d" ] && left+=("$d")
done
status=$(dpkg-query -W -f='${Status}' cornfield 2>/dev/null)
[ ${#left[@]} -eq 0 ] && [[ $status != *installed* || $status == *not-installed* ]] &&
    check "apt remove leaves none of the package's ${#files[@]} paths" ok ||
    check "apt remove" failed "left: ${left[*]:0:5}; status: $status"

rm -rf "$scratch"
echo "play-installed: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || exit 1
echo "package installed and played"
