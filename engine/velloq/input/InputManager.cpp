#include <velloq/input/InputManager.h>

#include <SFML/Graphics/RenderWindow.hpp>

#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>
#include <velloq/input/KeyTranslation.h>
#include <velloq/world/GameManager.h>

namespace vq {

InputManager::InputManager() { setType("InputManager"); }

InputManager& InputManager::getInstance() {
    static InputManager instance;
    return instance;
}

int InputManager::startUp() {
    DisplayManager& display = DisplayManager::getInstance();
    if (!display.isStarted() || display.getWindow() == nullptr) {
        LogManager::getInstance().writeLog(1, "Cannot start InputManager before DisplayManager");
        return -1;
    }
    // One press and one release per key, however long it is held.
    display.getWindow()->setKeyRepeatEnabled(false);
    return Manager::startUp();
}

int InputManager::shutDown() {
    DisplayManager& display = DisplayManager::getInstance();
    if (!display.isStarted() || display.getWindow() == nullptr) {
        LogManager::getInstance().writeLog(1, "Cannot shut down InputManager after DisplayManager");
        return -1;
    }
    display.getWindow()->setKeyRepeatEnabled(true);
    return Manager::shutDown();
}

void InputManager::getInput() const {
    sf::RenderWindow* p_window = DisplayManager::getInstance().getWindow();
    if (p_window == nullptr)
        return;
    priv::forEachPendingEvent(*p_window, [this](const sf::Event& event) { handleEvent(event); });
}

void InputManager::handleEvent(const sf::Event& event) const {
    const priv::WindowEvent e = priv::describeEvent(event);
    switch (e.kind) {
    case priv::WindowEvent::CLOSED:
        // The window stays open until the display shuts down.
        GameManager::getInstance().setGameOver(true);
        break;
    case priv::WindowEvent::KEY_PRESSED:
    case priv::WindowEvent::KEY_RELEASED: {
        EventKeyboard keyboard;
        keyboard.setKey(toEngineKey(e.key));
        keyboard.setKeyboardAction(e.kind == priv::WindowEvent::KEY_PRESSED ? KEY_PRESSED : KEY_RELEASED);
        onEvent(&keyboard);
        break;
    }
    case priv::WindowEvent::MOUSE_MOVED:
    case priv::WindowEvent::MOUSE_BUTTON_PRESSED: {
        EventMouse mouse;
        mouse.setMousePosition(pixelsToSpaces(Vector(static_cast<float>(e.x), static_cast<float>(e.y))));
        if (e.kind == priv::WindowEvent::MOUSE_MOVED) {
            mouse.setMouseAction(MOVED);
        } else {
            mouse.setMouseAction(CLICKED);
            mouse.setMouseButton(toEngineButton(e.button));
        }
        onEvent(&mouse);
        break;
    }
    default:
        // Releases, focus, resizing, text, wheel and the rest are not passed on.
        break;
    }
}

} // namespace vq
