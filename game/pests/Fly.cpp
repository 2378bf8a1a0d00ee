#include "pests/Fly.h"

#include <algorithm>

#include "common/UpgradeManager.h"
#include "field/Plot.h"

Fly::Fly() {
    setType("Fly");
    setSpeed(0.3f);
    setJitter(15);
    setMaxHealth(2);
    assignDelay();
    setSpriteName("pest_fly");
    setDamagedSpriteName("pest_fly_damaged");
    setSprite(getSpriteName());
}

void Fly::takeDamage() {
    if (UpgradeManager::getInstance().hasUpgrade("Bug Spray"))
        setHealth(getHealth() - 1);
    Pest::takeDamage();
}

void Fly::assignDelay() {
    const int nets = UpgradeManager::getInstance().getPurchaseCount("Bug Net");
    setDelay(std::max(MIN_PEST_DELAY, 500 + 250 * nets - 25 * getDay()));
}

void Fly::damagePlot(Plot* p_plot) {
    p_plot->flyDamage();
    Pest::damagePlot(p_plot);
}
