#include "shop/ShopDisplay.h"

#include <string>

#include <velloq/core/Box.h>
#include <velloq/core/Event.h>
#include <velloq/core/Geometry.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventMouse.h>
#include <velloq/resources/Animation.h>
#include <velloq/world/WorldManager.h>

#include "common/EventDescription.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"

namespace {
const int BOX_WIDTH = 10;
const int BOX_HEIGHT = 6;
} // namespace

ShopDisplay::ShopDisplay(Upgrade upgrade)
    : m_upgrade(), m_purchased(false), m_hovered(false), m_price(0), m_click_delay(CLICK_DELAY) {
    setType("ShopDisplay");
    // The name is data, never a format.
    vq::LogManager::getInstance().writeLog("%s", upgrade.name.c_str());
    setWidth(BOX_WIDTH);
    setHeight(BOX_HEIGHT);
    m_upgrade = std::move(upgrade);
    m_price = UpgradeManager::getInstance().getUpgradePrice(m_upgrade);
    setSprite(m_upgrade.sprite);
    // The whole box is clickable, not just the picture.
    setBox(vq::Box(vq::Vector(-BOX_WIDTH / 2.0f, -BOX_HEIGHT / 2.0f), BOX_WIDTH, BOX_HEIGHT));
}

int ShopDisplay::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() == vq::MSE_EVENT) {
        const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e);
        if (p_mouse == nullptr)
            return 0;
        const bool inside = vq::boxContainsPosition(vq::getWorldBox(this), p_mouse->getMousePosition());
        if (inside && p_mouse->getMouseAction() == vq::CLICKED && m_click_delay == 0) {
            tryPurchase();
            return 1;
        }
        if (inside != m_hovered)
            updateHover(inside);
        return 1;
    }
    if (p_e->getType() == vq::STEP_EVENT && m_click_delay > 0) {
        m_click_delay--;
        return 1;
    }
    return 0;
}

void ShopDisplay::tryPurchase() {
    if (m_purchased)
        return;
    m_purchased = UpgradeManager::getInstance().attemptPurchaseUpgrade(m_upgrade.name);
    playSound(m_purchased ? "shop_success" : "shop_fail");
}

void ShopDisplay::updateHover(bool inside) {
    m_hovered = inside;
    const EventDescription description(inside ? m_upgrade.description : std::string());
    vq::WorldManager::getInstance().onEvent(&description);
}

int ShopDisplay::draw() {
    DisplayBox::draw();
    const vq::Vector position = getPosition();
    // A copy, so the picture does not advance the display's own animation.
    vq::Animation picture = getAnimation();
    picture.draw(position);
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    display.drawString(position - vq::Vector(0, 4), m_upgrade.name, vq::JUSTIFY_CENTER, vq::WHITE);
    const std::string price_line = m_purchased ? "Purchased" : "$" + std::to_string(m_price);
    display.drawString(position + vq::Vector(0, 3), price_line, vq::JUSTIFY_CENTER, vq::WHITE);
    return 0;
}

Upgrade ShopDisplay::getUpgrade() const { return m_upgrade; }
bool ShopDisplay::getPurchased() const { return m_purchased; }
bool ShopDisplay::getHovered() const { return m_hovered; }
int ShopDisplay::getPrice() const { return m_price; }
int ShopDisplay::getClickDelay() const { return m_click_delay; }
