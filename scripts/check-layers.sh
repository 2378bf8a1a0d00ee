#!/usr/bin/env bash
# Keeps the source folders in layers: a folder of engine/velloq/ or game/ may
# include only itself and the folders its tree's CMakeLists.txt adds before
# it, and engine code never includes game code. Engine headers are included
# as <velloq/FOLDER/...>, the game's own as "FOLDER/...". Prints every include that points upwards and
# fails if there is one.
#
#   scripts/check-layers.sh [ROOT]     (ROOT defaults to the repository)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# The one sanctioned exception: closing the window ends the game loop.
allowed_upward="engine/velloq/input/InputManager.cpp world/GameManager.h"

bad=0

# Folders in the order their CMakeLists.txt adds them: lowest layer first.
layers() {
    sed -n 's/^[[:space:]]*add_subdirectory(\([A-Za-z0-9_]*\/\)*\([A-Za-z0-9_]*\))[[:space:]]*$/\2/p' "$1/CMakeLists.txt"
}

# check_tree DIR OWN_PREFIX OWN_LAYERS... -- FOREIGN_OK...
# Includes naming one of OWN_LAYERS (after OWN_PREFIX, "velloq/" for the
# engine, nothing for the game) must name an earlier (or the same) layer;
# FOREIGN_OK are prefixes of trees below this one ("velloq", for the game);
# any other include in quotes that names a folder is an error.
check_tree() {
    local tree=$1 prefix=$2
    shift 2
    local -a own=() below=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do own+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    below=("$@")

    local rank_of is_below
    declare -A rank_of=() is_below=()
    local i
    for i in "${!own[@]}"; do rank_of[${own[$i]}]=$i; done
    for i in "${below[@]}"; do is_below[$i]=1; done

    local file folder target target_folder entry
    local -A rank_of_file=()
    local -a files=()
    mapfile -t files < <(find "$root/$tree" -name '*.h' -o -name '*.cpp' | sort)
    for file in "${files[@]}"; do
        folder=${file#"$root/$tree/"}
        folder=${folder%%/*}
        if [ "$folder" = "${file##*/}" ]; then
            rank_of_file[$file]=${#own[@]}   # files at the top of the tree stand above every folder
        elif [ -n "${rank_of[$folder]+x}" ]; then
            rank_of_file[$file]=${rank_of[$folder]}
        else
            echo "$tree/$folder is not listed in $tree/CMakeLists.txt"
            bad=1
        fi
    done
    # One grep for the whole tree: a process per file is slow on a busy machine.
    # /dev/null keeps grep from reading standard input should a tree hold no files.
    while IFS= read -r entry; do
        file=${entry%%:*}
        [ -n "${rank_of_file[$file]+x}" ] || continue
        if [[ $entry == *\#*include*\"* ]]; then
            target=${entry#*\"}
            target=${target%%\"*}
        else
            target=${entry#*<}
            target=${target%%>*}
        fi
        if [ -n "$prefix" ]; then
            case "$target" in
                "$prefix"*) target=${target#"$prefix"} ;;
                *) echo "${file#"$root/"}: includes \"$target\" without the ${prefix%/} prefix"; bad=1; continue ;;
            esac
        fi
        target_folder=${target%%/*}
        [ "$target_folder" = "$target" ] && continue   # same-folder include without a path
        if [ -n "${rank_of[$target_folder]+x}" ]; then
            if [ "${rank_of[$target_folder]}" -gt "${rank_of_file[$file]}" ] &&
               [ "$allowed_upward" != "${file#"$root/"} $target" ]; then
                echo "${file#"$root/"}: includes \"$target\" from a layer above it"
                bad=1
            fi
        elif [ -z "${is_below[$target_folder]+x}" ]; then
            echo "${file#"$root/"}: includes \"$target\", which is not below $tree/"
            bad=1
        fi
    done < <(grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*("|<velloq/)' "${files[@]}" /dev/null)
}

mapfile -t engine_layers < <(layers "$root/engine")
mapfile -t game_layers < <(layers "$root/game")

check_tree engine/velloq velloq/ "${engine_layers[@]}" --
check_tree game "" "${game_layers[@]}" -- velloq

if [ $bad -ne 0 ]; then
    echo "Layer check failed: includes must point down (see the order in engine/ and game/CMakeLists.txt)." >&2
    exit 1
fi
echo "Layers: every include points down (engine: ${engine_layers[*]}; game: ${game_layers[*]})."
