#include "pests/Crow.h"

#include <algorithm>

#include "common/UpgradeManager.h"
#include "field/Plot.h"

Crow::Crow() {
    setType("Crow");
    setSpeed(0.2f);
    setJitter(200);
    setMaxHealth(3);
    assignDelay();
    setSpriteName("pest_crow");
    setDamagedSpriteName("pest_crow_damaged");
    setSprite(getSpriteName());
}

void Crow::assignDelay() {
    const int scarecrows = UpgradeManager::getInstance().getPurchaseCount("Scarecrow");
    setDelay(std::max(MIN_PEST_DELAY, 700 + 350 * scarecrows - 25 * getDay()));
}

void Crow::damagePlot(Plot* p_plot) {
    p_plot->crowDamage();
    Pest::damagePlot(p_plot);
}
