#include "Hero.h"

#include <string>

#include <velloq/core/Box.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sound.h>
#include <velloq/world/EventCollision.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/WorldManager.h>

Hero::Hero(vq::Vector position) : m_bumps(0) {
    setType("Hero");
    setSprite("hero");
    // Boxes include their edges, so two one-cell boxes side by side touch.
    // A slightly smaller box lets the hero walk along a wall without bumping
    // into it; stepping into the wall's cell still overlaps it.
    setBox(vq::Box(vq::Vector(-0.4f, -0.4f), 0.8f, 0.8f));
    setPosition(position);
    setSolidness(vq::HARD);
}

int Hero::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() == vq::KEYBOARD_EVENT) {
        const auto* p_key = dynamic_cast<const vq::EventKeyboard*>(p_e);
        if (p_key == nullptr || p_key->getKeyboardAction() != vq::KEY_PRESSED)
            return 0;
        switch (p_key->getKey()) {
        case vq::Keyboard::LEFT_ARROW:
            walk(vq::Vector(-1, 0));
            return 1;
        case vq::Keyboard::RIGHT_ARROW:
            walk(vq::Vector(1, 0));
            return 1;
        case vq::Keyboard::UP_ARROW:
            walk(vq::Vector(0, -1));
            return 1;
        case vq::Keyboard::DOWN_ARROW:
            walk(vq::Vector(0, 1));
            return 1;
        case vq::Keyboard::Q:
            vq::LogManager::getInstance().writeLog("Walker: Q pressed after %d bumps", m_bumps);
            // The loop finishes this step, then the engine shuts down.
            vq::GameManager::getInstance().setGameOver();
            return 1;
        default:
            return 0;
        }
    }
    if (p_e->getType() == vq::COLLISION_EVENT) {
        const auto* p_collision = dynamic_cast<const vq::EventCollision*>(p_e);
        if (p_collision == nullptr || !p_collision->isCollisionWith("Wall"))
            return 0;
        m_bumps++;
        vq::LogManager::getInstance().writeLog("Walker: bump %d", m_bumps);
        if (vq::Sound* p_sound = vq::ResourceManager::getInstance().getSound("bump"))
            p_sound->play();
        return 1;
    }
    return 0;
}

// The world moves the hero unless a HARD object is in the way; then it leaves
// it where it is and sends both a collision event (handled above).
void Hero::walk(vq::Vector step) { vq::WorldManager::getInstance().moveObject(this, getPosition() + step); }

int Hero::draw() {
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    const float middle = static_cast<float>(display.getHorizontal()) / 2;
    display.drawString(vq::Vector(middle, 1), "Bumps: " + std::to_string(m_bumps), vq::JUSTIFY_CENTER, vq::WHITE);
    display.drawString(vq::Vector(middle, 21), "Arrow keys walk, Q quits", vq::JUSTIFY_CENTER, vq::CYAN);
    return vq::Object::draw();
}
