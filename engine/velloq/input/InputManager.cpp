#include <velloq/input/InputManager.h>

#include <SFML/Graphics/RenderWindow.hpp>

#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/SfmlCompat.h>
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
    if (!display.isStarted()) {
        LogManager::getInstance().writeLog(1, "Cannot start InputManager before DisplayManager");
        return -1;
    }
    // One press and one release per key, however long it is held. A headless
    // display has no window, and only injected input.
    if (display.getWindow() != nullptr)
        display.getWindow()->setKeyRepeatEnabled(false);
    return Manager::startUp();
}

int InputManager::shutDown() {
    DisplayManager& display = DisplayManager::getInstance();
    if (!display.isStarted()) {
        LogManager::getInstance().writeLog(1, "Cannot shut down InputManager after DisplayManager");
        return -1;
    }
    if (display.getWindow() != nullptr)
        display.getWindow()->setKeyRepeatEnabled(true);
    m_injected.clear();
    return Manager::shutDown();
}

void InputManager::getInput() const {
    if (sf::RenderWindow* p_window = DisplayManager::getInstance().getWindow())
        priv::forEachPendingEvent(*p_window, [this](const sf::Event& event) { handleEvent(event); });
    // Input injected while this is delivered waits for the next call.
    std::vector<Input> injected;
    injected.swap(m_injected);
    for (const Input& input : injected)
        deliver(input);
}

void InputManager::handleEvent(const sf::Event& event) const {
    const priv::WindowEvent e = priv::describeEvent(event);
    const Vector position = pixelsToSpaces(Vector(static_cast<float>(e.x), static_cast<float>(e.y)));
    switch (e.kind) {
    case priv::WindowEvent::CLOSED:
        return deliver(Input());
    case priv::WindowEvent::KEY_PRESSED:
        return deliver(Input(toEngineKey(e.key), KEY_PRESSED));
    case priv::WindowEvent::KEY_RELEASED:
        return deliver(Input(toEngineKey(e.key), KEY_RELEASED));
    case priv::WindowEvent::MOUSE_MOVED:
        return deliver(Input(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, position));
    case priv::WindowEvent::MOUSE_BUTTON_PRESSED:
        return deliver(Input(CLICKED, toEngineButton(e.button), position));
    default:
        // Releases, focus, resizing, text, wheel and the rest are not passed on.
        return;
    }
}

void InputManager::deliver(const Input& input) const {
    switch (input.kind) {
    case Input::CLOSE:
        // The window stays open until the display shuts down.
        GameManager::getInstance().setGameOver(true);
        break;
    case Input::KEY: {
        EventKeyboard keyboard;
        keyboard.setKey(input.key);
        keyboard.setKeyboardAction(input.key_action);
        onEvent(&keyboard);
        break;
    }
    case Input::MOUSE: {
        EventMouse mouse;
        mouse.setMousePosition(input.position);
        mouse.setMouseAction(input.mouse_action);
        mouse.setMouseButton(input.button);
        onEvent(&mouse);
        break;
    }
    }
}

void InputManager::injectKey(Keyboard::Key key, EventKeyboardAction action) {
    m_injected.push_back(Input(key, action));
}

void InputManager::injectMouseMove(Vector position) {
    m_injected.push_back(Input(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, position));
}

void InputManager::injectClick(Vector position, Mouse::Button button) {
    m_injected.push_back(Input(CLICKED, button, position));
}

void InputManager::injectClose() { m_injected.push_back(Input()); }

} // namespace vq
