#include "hud/FloatingText.h"

#include <velloq/core/Event.h>
#include <velloq/world/WorldManager.h>

FloatingText::FloatingText() : m_lifetime(15) {
    setType("FloatingText");
    setVelocity(vq::Vector(0, -0.25f));
}

void FloatingText::step() {
    m_lifetime--;
    if (m_lifetime <= 0)
        vq::WorldManager::getInstance().markForDelete(this);
}

int FloatingText::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != vq::STEP_EVENT)
        return 0;
    step();
    return 1;
}
