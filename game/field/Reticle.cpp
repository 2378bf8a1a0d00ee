#include "field/Reticle.h"

#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventMouse.h>

#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"

Reticle::Reticle() : m_held_modifier(NO_MODIFIER) {
    setType("Reticle");
    setSolidness(vq::GHOST);
    setAltitude(vq::MAX_ALTITUDE);
}

int Reticle::eventHandler(const vq::Event* p_e) {
    const std::string type = p_e->getType();
    if (type == vq::MSE_EVENT) {
        const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e);
        if (p_mouse == nullptr || p_mouse->getMouseAction() != vq::MOVED)
            return 0;
        setPosition(p_mouse->getMousePosition());
        return 1;
    }
    if (type == MODIFIER_CHANGE_EVENT) {
        const auto* p_change = dynamic_cast<const EventModifierChange*>(p_e);
        if (p_change == nullptr)
            return 0;
        m_held_modifier = p_change->getModifierType();
        return 1;
    }
    if (type == NEW_DAY_EVENT)
        m_held_modifier = NO_MODIFIER;
    return 0;
}

int Reticle::draw() { return vq::DisplayManager::getInstance().drawCh(getPosition(), '+', getColor()); }

PlotModifierType Reticle::getHeldModifier() const { return m_held_modifier; }

vq::Color Reticle::getColor() const {
    switch (m_held_modifier) {
    case WATERING_CAN:
        return vq::CYAN;
    case FERTILIZER:
        return vq::RED;
    default:
        return vq::WHITE;
    }
}
