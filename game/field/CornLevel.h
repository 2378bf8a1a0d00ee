#ifndef CORNFIELD_FIELD_CORNLEVEL_H
#define CORNFIELD_FIELD_CORNLEVEL_H

// Dollars per harvest, indexed by corn level.
inline constexpr int CORN_VALUES[5] = {10, 15, 20, 25, 30};
// Sprite label of a ripe crop, indexed by corn level.
inline constexpr const char* CORN_SPRITES[5] = {"corn_yellow", "corn_blue", "corn_purple", "corn_white", "corn_red"};

// 0 without corn upgrades, else 1 (Blue) to 4 (Red) for the best one bought.
int getCornLevel();

#endif
