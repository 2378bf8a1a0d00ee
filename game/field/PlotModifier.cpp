#include "field/PlotModifier.h"

#include <algorithm>
#include <cstdlib>

#include <velloq/core/EventStep.h>
#include <velloq/core/Geometry.h>
#include <velloq/input/EventMouse.h>
#include <velloq/world/WorldManager.h>

#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "field/RandomFieldPosition.h"

namespace {
// First and later waits: base + rand() mod spread.
const int CAN_WAIT_BASE = 150;
const int CAN_WAIT_SPREAD = 50;
const int FERTILIZER_WAIT_BASE = 200;
const int FERTILIZER_WAIT_SPREAD = 75;

int randomCanWait() { return rand() % CAN_WAIT_SPREAD + CAN_WAIT_BASE; }
int randomFertilizerWait() { return rand() % FERTILIZER_WAIT_SPREAD + FERTILIZER_WAIT_BASE; }
} // namespace

PlotModifier::PlotModifier(PlotModifierType type)
    : m_modifier_type(type), m_hovered(false), m_available(false), m_respawn_timer(0), m_holding(false) {
    setType("PlotModifier");
    if (type == FERTILIZER) {
        setSprite("fertilizer");
        m_respawn_timer = randomFertilizerWait();
    } else {
        setSprite("watering_can");
        m_respawn_timer = randomCanWait();
    }
    setRandomPos();
}

void PlotModifier::setRandomPos() { setPosition(randomFieldPosition()); }

int PlotModifier::waitAfterPickUp() const {
    const UpgradeManager& upgrades = UpgradeManager::getInstance();
    int wait;
    if (m_modifier_type == FERTILIZER)
        wait = randomFertilizerWait() / (upgrades.getPurchaseCount("Fast Supplier") + 1);
    else
        wait = randomCanWait() / (upgrades.getPurchaseCount("When It Rains") + 1);
    // A wait of 0 would never be counted down and the tool would never return.
    return std::max(1, wait);
}

int PlotModifier::eventHandler(const vq::Event* p_e) {
    const std::string type = p_e->getType();
    if (type == NEW_DAY_EVENT) {
        m_holding = false;
        return 0;
    }
    if (!getActive())
        return FarmObject::eventHandler(p_e);

    if (type == vq::MSE_EVENT && m_available) {
        const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e);
        if (p_mouse == nullptr)
            return 0;
        m_hovered = vq::boxContainsPosition(vq::getWorldBox(this), p_mouse->getMousePosition());
        if (p_mouse->getMouseAction() == vq::CLICKED && m_hovered && !m_holding) {
            EventModifierChange picked;
            picked.setModifierType(m_modifier_type);
            vq::WorldManager::getInstance().onEvent(&picked);
            m_available = false;
            playSound(m_modifier_type == FERTILIZER ? "fertilizer_pickup" : "watering_pickup");
            m_respawn_timer = waitAfterPickUp();
        }
        return 1;
    }
    if (type == vq::STEP_EVENT) {
        if (m_modifier_type == FERTILIZER && !UpgradeManager::getInstance().hasUpgrade("Fertilizer"))
            return 1;
        if (m_respawn_timer > 0) {
            m_respawn_timer--;
            if (m_respawn_timer == 0) {
                m_available = true;
                setRandomPos();
            }
        }
        return 1;
    }
    if (type == MODIFIER_CHANGE_EVENT) {
        const auto* p_change = dynamic_cast<const EventModifierChange*>(p_e);
        if (p_change == nullptr)
            return 0;
        m_holding = p_change->getModifierType() != NO_MODIFIER;
        return 1;
    }
    return FarmObject::eventHandler(p_e);
}

int PlotModifier::draw() {
    if (getActive() && m_available)
        vq::Object::draw();
    return 0;
}

PlotModifierType PlotModifier::getModifierType() const { return m_modifier_type; }
bool PlotModifier::getHovered() const { return m_hovered; }
bool PlotModifier::getAvailable() const { return m_available; }
bool PlotModifier::getHolding() const { return m_holding; }
int PlotModifier::getRespawnTimer() const { return m_respawn_timer; }
