#include "hud/MoneyText.h"

#include <string>

#include <velloq/core/Event.h>
#include <velloq/display/DisplayManager.h>

#include "common/MoneyManager.h"

MoneyText::MoneyText() {
    setType("MoneyText");
    const float horizontal = static_cast<float>(vq::DisplayManager::getInstance().getHorizontal());
    setPosition(vq::Vector(horizontal / 2, 1));
    const MoneyManager& money = MoneyManager::getInstance();
    update(money.getMoney(), money.getQuota());
    setBorder(true);
}

void MoneyText::update(int money, int quota) { setText("$" + std::to_string(money) + " / $" + std::to_string(quota)); }

int MoneyText::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != vq::STEP_EVENT)
        return 0;
    const MoneyManager& money = MoneyManager::getInstance();
    update(money.getMoney(), money.getQuota());
    return 1;
}
