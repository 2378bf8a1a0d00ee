#ifndef VQ_INPUT_EVENTMOUSE_H
#define VQ_INPUT_EVENTMOUSE_H

#include <velloq/core/Event.h>
#include <velloq/core/Vector.h>

namespace vq {

namespace Mouse {
enum Button {
    UNDEFINED_MOUSE_BUTTON = -1,
    LEFT,
    RIGHT,
    MIDDLE,
};
} // namespace Mouse

enum EventMouseAction {
    UNDEFINED_MOUSE_ACTION = -1,
    CLICKED, // a button went down
    MOVED,   // the pointer moved
};

class EventMouse : public Event {
public:
    EventMouse();

    void setMouseAction(EventMouseAction new_mouse_action);
    EventMouseAction getMouseAction() const;
    void setMouseButton(Mouse::Button new_mouse_button);
    Mouse::Button getMouseButton() const;
    // In character cells, unrounded.
    void setMousePosition(Vector new_mouse_xy);
    Vector getMousePosition() const;

private:
    Mouse::Button m_mouse_button;
    EventMouseAction m_mouse_action;
    Vector m_mouse_xy;
};

} // namespace vq

#endif
