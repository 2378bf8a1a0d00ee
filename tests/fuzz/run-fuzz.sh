#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + ASan + UBSan) and runs one
# for a bounded time. The seed corpus is the committed one plus, for the
# sprite loader, every shipped sprite.
#
#   tests/fuzz/run-fuzz.sh [--target sprite|mp3] [--seconds N] [--jobs N]
#                          [--build-dir DIR]
#
# Exit status 0 when nothing was found, 1 when the fuzzer found a fault (the
# input is left in the artifacts directory and printed), 77 when clang++ is
# not available.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
target=sprite
seconds=30
jobs=1
build_dir="$root/build/fuzz"

while [ $# -gt 0 ]; do
    case "$1" in
        --target) target=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --build-dir) build_dir=$2; shift 2 ;;
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
        *) echo "run-fuzz.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

mkdir -p "$build_dir"
build_dir="$(cd "$build_dir" && pwd)"

clang=""
for candidate in clang++ clang++-14 clang++-15 clang++-16; do
    if command -v "$candidate" >/dev/null 2>&1; then
        clang=$(command -v "$candidate")
        break
    fi
done
if [ -z "$clang" ]; then
    echo "run-fuzz.sh: clang++ not found, fuzzing skipped"
    exit 77
fi

case "$target" in
    sprite) binary=sprite_loader_fuzz ;;
    mp3) binary=mp3_reader_fuzz ;;
    *) echo "run-fuzz.sh: unknown target $target" >&2; exit 2 ;;
esac

cmake -S "$here/project" -B "$build_dir" -DCMAKE_CXX_COMPILER="$clang" >/dev/null
cmake --build "$build_dir" --target "$binary" -j "$(nproc)" >/dev/null

# Work copies: the fuzzer adds what it learns to the first corpus directory.
work="$build_dir/run-$target"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$here/corpus/$target"/* "$work/corpus/" 2>/dev/null || true
if [ "$target" = sprite ]; then
    find "$root/sprites" -name '*.txt' | while read -r file; do
        cp "$file" "$work/corpus/shipped-$(echo "${file#"$root"/sprites/}" | tr / _)"
    done
else
    cp "$root/tests/engine/resources/data/"*.mp3 "$work/corpus/" 2>/dev/null || true
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ALSOFT_CONF=/dev/null

parallel=()
if [ "$jobs" -gt 1 ]; then
    parallel=(-jobs="$jobs" -workers="$jobs")
fi

cd "$work"
status=0
"$build_dir/$binary" "$work/corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    "${parallel[@]}" -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" >"$work/fuzz.log" 2>&1 || status=$?

# With several jobs the statistics are in the workers' logs.
if [ "$jobs" -gt 1 ]; then
    logs=("$work"/fuzz-*.log)
else
    logs=("$work/fuzz.log")
fi
grep -hE "stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs" "${logs[@]}" || true
found=$(find "$work/artifacts" -type f | head -n 20)
if [ $status -ne 0 ] || [ -n "$found" ]; then
    echo "run-fuzz.sh: the fuzzer found a fault (status $status); log: $work/fuzz.log"
    grep -v "^Failed to open sound file" "${logs[@]}" | tail -n 40 || true
    for file in $found; do
        echo "input: $file"
    done
    exit 1
fi
echo "run-fuzz.sh: $target: no faults in ${seconds} s"
