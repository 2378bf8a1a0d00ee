#include "field/CornLevel.h"

#include "common/UpgradeManager.h"

int getCornLevel() {
    const UpgradeManager& upgrades = UpgradeManager::getInstance();
    if (upgrades.hasUpgrade("Red Corn"))
        return 4;
    if (upgrades.hasUpgrade("White Corn"))
        return 3;
    if (upgrades.hasUpgrade("Purple Corn"))
        return 2;
    if (upgrades.hasUpgrade("Blue Corn"))
        return 1;
    return 0;
}
