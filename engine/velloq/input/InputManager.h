#ifndef VQ_INPUT_INPUTMANAGER_H
#define VQ_INPUT_INPUTMANAGER_H

#include <vector>

#include <velloq/core/Manager.h>
#include <velloq/core/Vector.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>

namespace sf {
class Event;
}

namespace vq {

// Turns the window's events into keyboard and mouse events for every object.
// Needs a started display: it starts after it and stops before it.
class InputManager : public Manager {
public:
    static InputManager& getInstance();

    int startUp() override;
    int shutDown() override;

    // Polls the display's window and delivers every pending event in order,
    // then the injected input queued since the last call.
    void getInput() const;
    // Translates one window event and delivers it (close sets game over).
    void handleEvent(const sf::Event& event) const;

    // Input made by the program rather than read from the window (tests,
    // demonstrations, a headless display): queued and delivered by the next
    // getInput(), so within the next step, as the window's own input is.
    // Positions are in cells. A shut-down forgets what was not delivered.
    void injectKey(Keyboard::Key key, EventKeyboardAction action = KEY_PRESSED);
    void injectMouseMove(Vector position);
    void injectClick(Vector position, Mouse::Button button = Mouse::LEFT);
    // As the window's close button: the game is over after this step.
    void injectClose();

private:
    InputManager();

    // One piece of input in the engine's terms, from the window or injected.
    struct Input {
        Input() = default; // the window closed
        Input(Keyboard::Key k, EventKeyboardAction a) : kind(KEY), key(k), key_action(a) {}
        Input(EventMouseAction a, Mouse::Button b, Vector p) : kind(MOUSE), mouse_action(a), button(b), position(p) {}

        enum Kind { CLOSE, KEY, MOUSE } kind = CLOSE;
        Keyboard::Key key = Keyboard::UNDEFINED_KEY;
        EventKeyboardAction key_action = UNDEFINED_KEYBOARD_ACTION;
        EventMouseAction mouse_action = UNDEFINED_MOUSE_ACTION;
        Mouse::Button button = Mouse::UNDEFINED_MOUSE_BUTTON;
        Vector position; // in cells
    };
    void deliver(const Input& input) const;

    // Emptied by getInput(), which is const like the rest of the read side.
    mutable std::vector<Input> m_injected;
};

} // namespace vq

#endif
