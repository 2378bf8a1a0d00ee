#include "hud/TitleScreen.h"

#include <velloq/core/Event.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/WorldManager.h>

#include "common/MoneyManager.h"

namespace {
const int GAME_OVER_STEPS = 90;
}

TitleScreen::TitleScreen() : m_countdown(0) {
    setType("TitleScreen");
    // Money is reset only after this screen is made, so money left over means
    // a game was just lost.
    if (MoneyManager::getInstance().getMoney() != 0) {
        setSprite("text_gameover");
        m_countdown = GAME_OVER_STEPS;
    } else {
        setSprite("text_title");
    }
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    setPosition(
        vq::Vector(static_cast<float>(display.getHorizontal() / 2.0), static_cast<float>(display.getVertical() / 2.0)));
    setSolidness(vq::GHOST);
    setAltitude(3);
    if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic("lounge"))
        p_music->play(true);
}

int TitleScreen::eventHandler(const vq::Event* p_e) {
    if (m_countdown >= 1 && p_e->getType() == vq::STEP_EVENT) {
        m_countdown--;
        if (m_countdown == 0)
            setSprite("text_title");
        return 0;
    }
    if (p_e->getType() != vq::KEYBOARD_EVENT)
        return 0;
    const auto* p_keyboard = dynamic_cast<const vq::EventKeyboard*>(p_e);
    if (p_keyboard == nullptr || p_keyboard->getKeyboardAction() != vq::KEY_PRESSED ||
        p_keyboard->getKey() != vq::Keyboard::SPACE)
        return 0;
    vq::WorldManager::getInstance().markForDelete(this);
    if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic("lounge"))
        p_music->stop();
    return 0;
}
