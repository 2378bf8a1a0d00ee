#!/usr/bin/env bash
# Keeps the source folders in layers: a folder of engine/ or game/ may include
# only itself and the folders its CMakeLists.txt adds before it, and engine
# code never includes game code. Prints every include that points upwards and
# fails if there is one.
#
#   scripts/check-layers.sh [ROOT]     (ROOT defaults to the repository)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# The one sanctioned exception: closing the window ends the game loop.
allowed_upward="engine/input/InputManager.cpp world/GameManager.h"

bad=0

# Folders in the order their CMakeLists.txt adds them: lowest layer first.
layers() {
    sed -n 's/^[[:space:]]*add_subdirectory(\([A-Za-z0-9_]*\))[[:space:]]*$/\1/p' "$1/CMakeLists.txt"
}

# check_tree DIR OWN_LAYERS... -- FOREIGN_OK...
# Includes naming one of OWN_LAYERS must name an earlier (or the same) layer;
# FOREIGN_OK are folders below the whole tree (the engine, for the game);
# anything else in quotes that names a folder of the repository is an error.
check_tree() {
    local tree=$1
    shift
    local -a own=() below=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do own+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    below=("$@")

    local rank_of
    declare -A rank_of=()
    local i
    for i in "${!own[@]}"; do rank_of[${own[$i]}]=$i; done

    local file folder my_rank target target_folder
    while IFS= read -r file; do
        folder=${file#"$root/$tree/"}
        folder=${folder%%/*}
        if [ "$folder" = "$(basename "$file")" ]; then
            my_rank=${#own[@]}   # files at the top of the tree stand above every folder
        elif [ -n "${rank_of[$folder]+x}" ]; then
            my_rank=${rank_of[$folder]}
        else
            echo "$tree/$folder is not listed in $tree/CMakeLists.txt"
            bad=1
            continue
        fi
        while IFS= read -r target; do
            target_folder=${target%%/*}
            [ "$target_folder" = "$target" ] && continue   # same-folder include without a path
            if [ -n "${rank_of[$target_folder]+x}" ]; then
                if [ "${rank_of[$target_folder]}" -gt "$my_rank" ] &&
                   [ "$allowed_upward" != "${file#"$root/"} $target" ]; then
                    echo "${file#"$root/"}: includes \"$target\" from a layer above it"
                    bad=1
                fi
            # A here-string, not a pipe: grep -q stops reading at the first
            # match, and under pipefail the writer's broken pipe would count
            # as "not found".
            elif ! grep -qx "$target_folder" <<<"$(printf '%s\n' "${below[@]}")"; then
                echo "${file#"$root/"}: includes \"$target\", which is not below $tree/"
                bad=1
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    done < <(find "$root/$tree" -name '*.h' -o -name '*.cpp' | sort)
}

mapfile -t engine_layers < <(layers "$root/engine")
mapfile -t game_layers < <(layers "$root/game")

check_tree engine "${engine_layers[@]}" --
check_tree game "${game_layers[@]}" -- "${engine_layers[@]}"

if [ $bad -ne 0 ]; then
    echo "Layer check failed: includes must point down (see the order in engine/ and game/CMakeLists.txt)." >&2
    exit 1
fi
echo "Layers: every include points down (engine: ${engine_layers[*]}; game: ${game_layers[*]})."
