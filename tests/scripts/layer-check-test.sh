#!/usr/bin/env bash
# The layer check passes on the tree as it is, and fails on a copy of it into
# which one upward include has been put back, for the game and the engine.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check=$root/scripts/check-layers.sh
if ! out=$("$check" "$root" 2>&1); then
    echo "$out" >&2
    exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
expect_failure() {
    rm -rf "$scratch/tree" && mkdir "$scratch/tree"
    cp -r "$root/engine" "$root/game" "$scratch/tree/"
    echo "#include $2" >> "$scratch/tree/$1"
    if "$check" "$scratch/tree" >/dev/null 2>&1; then
        echo "an include of $2 in $1 was not caught" >&2
        exit 1
    fi
}
expect_failure game/common/MoneyManager.cpp '"hud/DisplayText.h"'
expect_failure game/hud/DayText.cpp '"flow/DayKeeper.h"'
expect_failure game/field/Plot.cpp '"pests/Crow.h"'
expect_failure game/field/Plot.cpp '"core/Vector.h"'
expect_failure engine/velloq/core/Manager.cpp '<velloq/world/WorldManager.h>'
expect_failure engine/velloq/resources/Sprite.cpp '"common/MoneyManager.h"'
echo "layer check: passes on the tree, catches upward includes"
