#include "field/Plot.h"

#include <cstdlib>
#include <string>

#include <velloq/core/EventStep.h>
#include <velloq/core/Geometry.h>
#include <velloq/input/EventMouse.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>
#include <velloq/world/WorldManager.h>

#include "common/EventModifierChange.h"
#include "common/MoneyManager.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "field/CornLevel.h"
#include "hud/FloatingText.h"

int Plot::plot_count = 0;

namespace {
const int PLOTS_PER_ROW = 10;
const int WATER_DURATION = 60;
// A ripe crop is harvested automatically once it has gathered more than this.
const int SCYTHE_GROWTH = 45;
const int RIPE_STAGE = 4;

int randomGrowthTarget() { return rand() % 100 + 200; }
} // namespace

Plot::Plot()
    : m_hovered(false), m_stage(0), m_growth(0), m_growth_target(0), m_p_corn_sprite(nullptr), m_water_ticks(0),
      m_fertile(false), m_held_modifier(NO_MODIFIER), m_skip_growth(false), m_modifier_just_changed(false) {
    setType("Plot");
    setSprite("plot_empty");
    setAltitude(0);

    const int c = plot_count;
    const int x = (c % PLOTS_PER_ROW) * 8 + 4;
    const int y = (c / PLOTS_PER_ROW) * 6 + 6;
    setPosition(vq::Vector(static_cast<float>(x), static_cast<float>(y)));
    plot_count++;

    drawGrowthTarget();
}

Plot::~Plot() { plot_count--; }

void Plot::drawGrowthTarget() { m_growth_target = randomGrowthTarget(); }

void Plot::reset() {
    m_stage = 0;
    m_growth = 0;
    drawGrowthTarget();
    m_p_corn_sprite = nullptr;
    m_water_ticks = 0;
    m_fertile = false;
    m_held_modifier = NO_MODIFIER;
    pickCornSprite();
    setSprite("plot_empty");
    if (UpgradeManager::getInstance().hasUpgrade("Seed Drill"))
        plant();
}

void Plot::pickCornSprite() {
    std::string label;
    switch (m_stage) {
    case 1:
        label = "corn_seeds";
        break;
    case 2:
        label = "corn_sprouts";
        break;
    case 3:
        label = "corn_growing";
        break;
    case RIPE_STAGE:
        label = CORN_SPRITES[getCornLevel()];
        break;
    default:
        m_p_corn_sprite = nullptr;
        return;
    }
    m_p_corn_sprite = vq::ResourceManager::getInstance().getSprite(label);
}

void Plot::plant() {
    playSound("crop_plant");
    m_stage = 1;
    pickCornSprite();
}

void Plot::harvest() {
    playSound("crop_harvest");
    m_stage = 0;

    const int value = CORN_VALUES[getCornLevel()];
    MoneyManager::getInstance().addMoney(value);
    pickCornSprite();

    auto* p_text = new FloatingText();
    p_text->setText("+$" + std::to_string(value));
    p_text->setPosition(getPosition());

    m_fertile = false;
    setSprite(m_water_ticks >= 1 ? "plot_watered" : "plot_empty");

    if (UpgradeManager::getInstance().hasUpgrade("Seed Drill"))
        plant();
}

void Plot::crowDamage() {
    // Drawn on every call so the random sequence does not depend on the crop.
    const int roll = rand();
    if (roll % 40 == 0 && m_stage > 0) {
        m_stage--;
        pickCornSprite();
    }
}

void Plot::flyDamage() { m_skip_growth = true; }

int Plot::growthRate() const {
    const UpgradeManager& upgrades = UpgradeManager::getInstance();
    int rate = 1;
    if (m_water_ticks >= 1)
        rate = 3 * (upgrades.getPurchaseCount("Fresher Water") + 1);
    if (m_fertile)
        rate += 2 * (upgrades.getPurchaseCount("Stuffed Bags") + 1);
    return rate;
}

int Plot::eventHandler(const vq::Event* p_e) {
    if (!getActive())
        return FarmObject::eventHandler(p_e);

    const std::string type = p_e->getType();
    if (type == vq::MSE_EVENT) {
        const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e);
        if (p_mouse == nullptr)
            return 0;
        handleMouse(p_mouse);
        return 1;
    }
    if (type == vq::STEP_EVENT) {
        step();
        return 1;
    }
    if (type == MODIFIER_CHANGE_EVENT) {
        const auto* p_change = dynamic_cast<const EventModifierChange*>(p_e);
        if (p_change == nullptr)
            return 0;
        m_held_modifier = p_change->getModifierType();
        m_modifier_just_changed = true;
        return 1;
    }
    return FarmObject::eventHandler(p_e);
}

void Plot::handleMouse(const vq::EventMouse* p_mouse) {
    m_hovered = vq::boxContainsPosition(vq::getWorldBox(this), p_mouse->getMousePosition());
    if (p_mouse->getMouseAction() != vq::CLICKED || !m_hovered)
        return;

    // Announces that the held tool has been used up.
    EventModifierChange used;
    used.setModifierType(NO_MODIFIER);

    switch (m_held_modifier) {
    case WATERING_CAN:
        // The click that picked the can up must not also pour it.
        if (m_water_ticks <= 0 && !m_modifier_just_changed) {
            m_water_ticks = WATER_DURATION;
            setSprite(m_fertile ? "plot_watered_fertile" : "plot_watered");
            playSound("watering_drop");
            vq::WorldManager::getInstance().onEvent(&used);
        }
        break;
    case FERTILIZER:
        if (!m_fertile && !m_modifier_just_changed) {
            m_fertile = true;
            setSprite(m_water_ticks >= 1 ? "plot_watered_fertile" : "plot_fertile");
            playSound("fertilizer_drop");
            vq::WorldManager::getInstance().onEvent(&used);
        }
        break;
    default:
        if (m_stage == 0)
            plant();
        if (m_stage == RIPE_STAGE)
            harvest();
        break;
    }
}

void Plot::step() {
    if (m_skip_growth)
        m_skip_growth = false;
    else if (m_stage != 0)
        m_growth += growthRate();

    if (m_growth > m_growth_target) {
        m_growth = 0;
        m_stage++;
        if (m_stage <= RIPE_STAGE) {
            if (m_stage == RIPE_STAGE)
                playSound("crop_done");
            pickCornSprite();
        } else {
            // A ripe crop stays ripe, quietly.
            m_stage = RIPE_STAGE;
        }
        drawGrowthTarget();
    }

    if (m_stage == RIPE_STAGE && m_growth > SCYTHE_GROWTH && UpgradeManager::getInstance().hasUpgrade("Instant Scythe"))
        harvest();

    if (m_water_ticks > 0) {
        m_water_ticks--;
        if (m_water_ticks == 0)
            setSprite(m_fertile ? "plot_fertile" : "plot_empty");
    }

    m_modifier_just_changed = false;
}

int Plot::draw() {
    if (!getActive())
        return 0;
    vq::Object::draw();
    if (m_p_corn_sprite != nullptr)
        m_p_corn_sprite->draw(0, getPosition());
    return 0;
}

int Plot::getStage() const { return m_stage; }
int Plot::getGrowth() const { return m_growth; }
int Plot::getGrowthTarget() const { return m_growth_target; }
int Plot::getWaterTicks() const { return m_water_ticks; }
bool Plot::getFertile() const { return m_fertile; }
bool Plot::getHovered() const { return m_hovered; }
bool Plot::getSkipGrowth() const { return m_skip_growth; }
bool Plot::getModifierJustChanged() const { return m_modifier_just_changed; }
PlotModifierType Plot::getHeldModifier() const { return m_held_modifier; }
const vq::Sprite* Plot::getCornSprite() const { return m_p_corn_sprite; }
