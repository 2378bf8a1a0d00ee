#!/usr/bin/env bash
# Runs the project's own set-up (scripts/install-deps.sh) and its normal test
# suite, e2e included, inside minimal Debian 12, Debian 13 and Debian
# unstable systems made with debootstrap from Debian's packages; then builds
# the game's Debian package there (scripts/make-package.sh: lintian and the
# validators included), installs it with `apt install ./cornfield_*.deb` into
# a second, bare system of the same release and plays it there as a player
# would (scripts/play-installed.sh, which also removes it again). Prints one
# line per platform: release, SFML version, tests passed and failed, the
# package's checks and "package installed and played".
#
#   scripts/test-platforms.sh [--fresh] [--prepare-only] [--package-only] [--run COMMAND] [RELEASE...]
#                                               (default: bookworm trixie sid)
#
# --package-only skips the suite: the package is built, installed and played.
# --run COMMAND runs COMMAND from the sources' root in each system instead of
# the suite and the package, showing its output, e.g. --run
# scripts/measure-performance.sh.
#
# The systems are kept in $VQ_PLATFORM_CACHE (default build/platforms):
#   RELEASE/base    the bare minbase system, made once
#   RELEASE/root    base plus what install-deps.sh installed, and the build;
#                   made again from base whenever install-deps.sh changes
#                   (--fresh: every time)
#   RELEASE/player  a copy of base the package is installed into, made
#                   again for every run
#   RELEASE/debs    downloaded packages, kept for the next system
#   RELEASE/ccache  the compiler cache of the builds inside
#   RELEASE.log     the last run's output
# Needs root (debootstrap, chroot, mounts). Every mount is made in a mount
# namespace of its own, which ends with the run; the test runs also get a
# network namespace of their own, so their X servers and sound servers meet
# no one else's.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

fresh=0
prepare_only=0
package_only=0
run_command=
releases=()
while [ $# -gt 0 ]; do
    arg=$1
    shift
    case "$arg" in
        --fresh) fresh=1 ;;
        --prepare-only) prepare_only=1 ;;
        --package-only) package_only=1 ;;
        --run)
            [ $# -gt 0 ] || { echo "test-platforms.sh: --run needs a command" >&2; exit 2; }
            run_command=$1
            shift ;;
        -h|--help) sed -n '2,35p' "$0"; exit 0 ;;
        -*) echo "test-platforms.sh: unknown option $arg" >&2; exit 2 ;;
        *) releases+=("$arg") ;;
    esac
done
[ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie sid)

if [ "$(id -u)" -ne 0 ]; then
    echo "test-platforms.sh: needs root (debootstrap, chroot and mounts)" >&2
    exit 2
fi
for tool in debootstrap unshare chroot; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "Installing debootstrap"
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
        break
    fi
done

cache=${VQ_PLATFORM_CACHE:-$repo/build/platforms}
mirror=${VQ_DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
# One run at a time per cache: the systems, their copies of the sources and
# their builds are shared.
exec 9>"$cache/.lock"
if ! flock -n 9; then
    echo "test-platforms.sh: waiting for another run on $cache to finish"
    flock 9
fi
deps_hash=$(sha256sum scripts/install-deps.sh | cut -c1-16)

# Whatever happens, nothing stays mounted below the cache (the namespaces
# already see to that; this covers a mount made some other way).
unmount_all() {
    local mounts
    jobs -p | xargs -r kill 2>/dev/null || true
    mounts=$(awk -v c="$cache/" 'index($2, c) == 1 { print $2 }' /proc/mounts | sort -r)
    for m in $mounts; do
        umount -l "$m" 2>/dev/null || true
    done
}
trap unmount_all EXIT
trap 'exit 130' INT TERM

# in_root ROOT NET COMMAND: runs COMMAND (bash) as root inside ROOT with
# /proc, /sys, /dev/pts and /dev/shm, and the package cache at apt's place.
# NET=isolated gives it a network namespace with only loopback.
in_root() {
    local root=$1 net=$2 command=$3
    local -a ns=(--mount --pid --fork --propagation private)
    [ "$net" = isolated ] && ns+=(--net)
    unshare "${ns[@]}" bash -c '
        set -e
        root=$1 debs=$2/debs net=$3 command=$4 ccache=$2/ccache
        cleanup() {
            for m in var/cache/velloq-ccache var/cache/apt/archives dev/shm dev/pts sys proc; do
                umount -l "$root/$m" 2>/dev/null || true
            done
        }
        trap cleanup EXIT
        mount -t proc proc "$root/proc"
        mount -t sysfs -o ro sysfs "$root/sys"
        mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
        mount -t tmpfs tmpfs "$root/dev/shm"
        mkdir -p "$debs/partial" "$root/var/cache/apt/archives"
        mount --bind "$debs" "$root/var/cache/apt/archives"
        mkdir -p "$ccache" "$root/var/cache/velloq-ccache"
        mount --bind "$ccache" "$root/var/cache/velloq-ccache"
        if [ "$net" = isolated ] && command -v ip >/dev/null; then ip link set lo up; fi
        chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
            CCACHE_DIR=/var/cache/velloq-ccache \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            /bin/bash -c "$command"
    ' in_root "$root" "$(dirname "$root")" "$net" "$command"
}

# Makes RELEASE/root ready: base bootstrapped, root made from it, the
# project's packages installed. Output goes to the release's log.
prepare() {
    local release=$1 dir=$cache/$1 start
    start=$(date +%s)
    mkdir -p "$dir/debs"
    if [ ! -e "$dir/base/.velloq-base" ]; then
        echo "== debootstrap --variant=minbase $release"
        rm -rf "$dir/base.new"
        debootstrap --variant=minbase --cache-dir="$dir/debs" "$release" "$dir/base.new" "$mirror"
        # The package source may serve a dated snapshot whose Release files
        # count as expired; only these systems are told to accept that.
        echo 'Acquire::Check-Valid-Until "false";' >"$dir/base.new/etc/apt/apt.conf.d/99velloq-snapshot"
        touch "$dir/base.new/.velloq-base"
        rm -rf "$dir/base"
        mv "$dir/base.new" "$dir/base"
    fi
    if [ $fresh -eq 1 ] || [ "$(cat "$dir/root/.velloq-deps" 2>/dev/null)" != "$deps_hash" ]; then
        echo "== a fresh $release system from the minbase one"
        rm -rf "$dir/root" || { sleep 5; rm -rf "$dir/root"; }
        cp -a "$dir/base" "$dir/root"
    fi
    cp /etc/resolv.conf "$dir/root/etc/resolv.conf" 2>/dev/null || true
    copy_sources "$dir/root/root/cornfield"
    echo "== scripts/install-deps.sh test package"
    in_root "$dir/root" shared "cd /root/cornfield && scripts/install-deps.sh test package"
    echo "$deps_hash" >"$dir/root/.velloq-deps"
    echo $(($(date +%s) - start)) >"$dir/prepare-seconds"
}

# copy_sources DEST: the working tree as a clone would have it (tracked files
# and new ones not ignored), into DEST beside the build kept there. A file whose content changed gets the time of the copy, an
# unchanged one keeps the time it had there: a file's own time may be older
# than the build made from its previous content, and the build would then
# keep the old object.
copy_sources() {
    local dest=$1 stage file
    stage=$(mktemp -d)
    if git -C "$repo" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$repo" ls-files -z --cached --others --exclude-standard |
            tar --null -T - -cf - | tar -m -xf - -C "$stage"
    else
        tar --exclude=./build -cf - . | tar -m -xf - -C "$stage"
    fi
    mkdir -p "$dest"
    # What is gone from the sources goes from the copy.
    (cd "$dest" && find . -path ./build -prune -o \( -type f -o -type l \) -print0) |
        while IFS= read -r -d '' file; do
            [ -e "$stage/$file" ] || [ -L "$stage/$file" ] || rm -f "$dest/$file"
        done
    (cd "$stage" && find . \( -type f -o -type l \) -print0) |
        while IFS= read -r -d '' file; do
            if [ -L "$stage/$file" ] || ! cmp -s "$stage/$file" "$dest/$file"; then
                mkdir -p "$(dirname "$dest/$file")"
                rm -f "$dest/$file"
                cp -P "$stage/$file" "$dest/$file"
            fi
        done
    find "$dest" -mindepth 1 -type d -empty ! -path "$dest/build" ! -path "$dest/build/*" -delete
    rm -rf "$stage"
}

seconds_text() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# package_step RELEASE LOG: builds the game's package in RELEASE/root,
# installs it with apt into RELEASE/player, a fresh copy of the bare base, adds
# a virtual X server and xdotool, and plays it there as a user would. Details
# go to LOG; prints the summary for the platform's line; fails when any step
# failed.
package_step() {
    local release=$1 log=$2 dir=$cache/$1 out deb player status lintian_summary start
    start=$(date +%s)
    echo "== scripts/make-package.sh" >>"$log"
    status=0
    out=$(in_root "$dir/root" isolated "cd /root/cornfield && scripts/make-package.sh build/package" 2>&1) || status=$?
    echo "$out" >>"$log"
    deb=$(echo "$out" | tail -n 1)
    if [ $status -ne 0 ] || [[ $deb != /root/cornfield/build/package/cornfield_*.deb ]]; then
        echo "the package was not made ($(echo "$out" | grep '^make-package:' | tail -n 1))"
        return 1
    fi
    lintian_summary="lintian $(echo "$out" | grep -c '^E: ') errors, $(echo "$out" | grep -c '^W: ') warnings"
    player=$dir/player
    rm -rf "$player"
    cp -a "$dir/base" "$player"
    cp /etc/resolv.conf "$player/etc/resolv.conf" 2>/dev/null || true
    cp "$dir/root$deb" "$player/tmp/"
    install -m 755 scripts/play-installed.sh "$player/tmp/play-installed.sh"
    echo "== apt install ./${deb##*/}, then xvfb xauth xdotool" >>"$log"
    if ! in_root "$player" shared "cd /tmp && export DEBIAN_FRONTEND=noninteractive && apt-get update -qq &&
            apt install -y ./${deb##*/} && apt-get install -y --no-install-recommends xvfb xauth xdotool" \
            >>"$log" 2>&1; then
        echo "${deb##*/} did not install, $lintian_summary"
        return 1
    fi
    echo "== scripts/play-installed.sh" >>"$log"
    status=0
    out=$(in_root "$player" isolated /tmp/play-installed.sh 2>&1) || status=$?
    echo "$out" >>"$log"
    echo -n "${deb##*/}: $lintian_summary; checks $(echo "$out" | sed -n 's/^play-installed: //p')"
    echo -n ", $(seconds_text $(($(date +%s) - start)))"
    if [ $status -ne 0 ] || ! echo "$out" | grep -qx "package installed and played"; then
        echo "; NOT played"
        return 1
    fi
    echo "; package installed and played"
}

# Prepares every system first (mostly downloading, in parallel), then runs
# the suites one after the other (building takes every core).
declare -A prepared=()
for release in "${releases[@]}"; do
    mkdir -p "$cache/$release"
    (prepare "$release" >"$cache/$release.log" 2>&1) &
    prepared[$release]=$!
done

if [ $prepare_only -eq 1 ]; then
    status=0
    for release in "${releases[@]}"; do
        wait "${prepared[$release]}" || { echo "$release: set-up failed, see $cache/$release.log"; status=1; }
    done
    exit $status
fi

total_passed=0
total_failed=0
status=0
lines=()
for release in "${releases[@]}"; do
    log=$cache/$release.log
    root=$cache/$release/root
    if ! wait "${prepared[$release]}"; then
        lines+=("$release: set-up failed, see $log")
        status=1
        continue
    fi
    name=$(. "$root/etc/os-release" && echo "${PRETTY_NAME:-$release}")
    sfml=$(chroot "$root" dpkg-query -W -f='${Version}' libsfml-dev 2>/dev/null | sed 's/^[0-9]*://; s/[+~-].*//')
    if [ -n "$run_command" ]; then
        echo "== $name, SFML $sfml: $run_command" | tee -a "$log"
        run_status=0
        in_root "$root" isolated "cd /root/cornfield && $run_command" 2>&1 | tee -a "$log" || run_status=$?
        [ "$run_status" -eq 0 ] || status=1
        lines+=("$release ($name), SFML $sfml: '$run_command' ended with status $run_status")
        continue
    fi
    if [ $package_only -eq 1 ]; then
        package=$(package_step "$release" "$log") || status=1
        lines+=("$release ($name), SFML $sfml: $package; log: $log")
        continue
    fi
    echo "== $name: ./test.sh --normal" >>"$log"
    start=$(date +%s)
    suite_status=0
    in_root "$root" isolated "cd /root/cornfield && ./test.sh --normal" >>"$log" 2>&1 || suite_status=$?
    elapsed="set-up $(seconds_text "$(cat "$cache/$release/prepare-seconds")"), build and tests $(seconds_text $(($(date +%s) - start)))"
    # The suite runs ctest twice (headless, then on a virtual screen): every
    # summary of this run counts.
    summaries=$(awk '/^== .*: \.\/test\.sh --normal$/ { n = 0 } /^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+/ { s[n++] = $0 }
                     END { for (i = 0; i < n; i++) print s[i] }' "$log")
    if [ -z "$summaries" ]; then
        lines+=("$release ($name), SFML ${sfml:-?}: no test ran (build failed?), $elapsed; see $log")
        status=1
        continue
    fi
    failed=0 all=0
    while read -r summary; do
        failed=$((failed + $(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')))
        all=$((all + $(echo "$summary" | sed -E 's/.* failed out of ([0-9]+).*/\1/')))
    done <<<"$summaries"
    passed=$((all - failed))
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    [ "$failed" -eq 0 ] && [ "$suite_status" -eq 0 ] || status=1
    [ "$suite_status" -eq 0 ] || elapsed+=", ./test.sh ended with status $suite_status"
    package=$(package_step "$release" "$log") || status=1
    lines+=("$release ($name), SFML $sfml: $passed passed, $failed failed, $elapsed; $package; log: $log")
done

echo "== Platforms"
printf '%s\n' "${lines[@]}"
[ -n "$run_command" ] || echo "platforms: $total_passed passed, $total_failed failed"
exit $status
