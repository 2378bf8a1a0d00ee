#ifndef VQ_INPUT_INPUTMANAGER_H
#define VQ_INPUT_INPUTMANAGER_H

#include <velloq/core/Manager.h>

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

    // Polls the display's window and delivers every pending event in order.
    void getInput() const;
    // Translates one window event and delivers it (close sets game over).
    void handleEvent(const sf::Event& event) const;

private:
    InputManager();
};

} // namespace vq

#endif
