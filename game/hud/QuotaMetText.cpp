#include "hud/QuotaMetText.h"

#include <velloq/core/Event.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/world/WorldManager.h>

namespace {
const int QUOTA_MET_STEPS = 60;
}

QuotaMetText::QuotaMetText() : m_countdown(QUOTA_MET_STEPS) {
    setSprite("text_passed");
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    setPosition(
        vq::Vector(static_cast<float>(display.getHorizontal()) / 2, static_cast<float>(display.getVertical()) / 2));
    setSolidness(vq::GHOST);
    setAltitude(3);
}

int QuotaMetText::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != vq::STEP_EVENT)
        return 0;
    m_countdown--;
    if (m_countdown == 0)
        vq::WorldManager::getInstance().markForDelete(this);
    return 1;
}
