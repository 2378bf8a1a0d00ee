#!/usr/bin/env bash
# Reports every C++ file of the tree whose layout drifts from .clang-format
# and fails if there is one. `scripts/check-format.sh --fix` reformats them.
# Skipped, with a note, where clang-format is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = "--fix" ] && fix=1
if ! command -v clang-format >/dev/null 2>&1; then
    echo "check-format: clang-format is not installed, skipped"
    exit 0
fi
if git rev-parse --git-dir >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.h' '*.cpp')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.h' -o -name '*.cpp' \) -print)
fi
drift=()
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        drift+=("$file")
    fi
done
if [ ${#drift[@]} -eq 0 ]; then
    echo "Format: ${#files[@]} files as .clang-format lays them out ($(clang-format --version | sed 's/.*version \([0-9.]*\).*/clang-format \1/'))."
    exit 0
fi
if [ $fix -eq 1 ]; then
    clang-format -i "${drift[@]}"
    printf 'check-format: reformatted %s\n' "${drift[@]}"
    exit 0
fi
printf 'check-format: %s differs from .clang-format\n' "${drift[@]}" >&2
echo "check-format: ${#drift[@]} file(s) drift; scripts/check-format.sh --fix reformats them" >&2
exit 1
