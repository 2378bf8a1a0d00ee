#ifndef VQ_INPUT_EVENTKEYBOARD_H
#define VQ_INPUT_EVENTKEYBOARD_H

#include <velloq/core/Event.h>

namespace vq {

namespace Keyboard {
// The engine's own key numbering (not the windowing library's).
// clang-format off
enum Key {
    UNDEFINED_KEY = -1,
    SPACE, ENTER, ESCAPE, TAB, LEFT_ARROW, RIGHT_ARROW, UP_ARROW, DOWN_ARROW,
    PAUSE, KEYPAD_MINUS, KEYPAD_PLUS, GRAVE, PERIOD, COMMA, SLASH,
    LEFT_CONTROL, RIGHT_CONTROL, LEFT_SHIFT, RIGHT_SHIFT,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    NUM1, NUM2, NUM3, NUM4, NUM5, NUM6, NUM7, NUM8, NUM9, NUM0,
};
// clang-format on
} // namespace Keyboard

enum EventKeyboardAction {
    UNDEFINED_KEYBOARD_ACTION = -1,
    KEY_PRESSED,
    KEY_RELEASED,
};

class EventKeyboard : public Event {
public:
    EventKeyboard();

    void setKey(Keyboard::Key new_key);
    Keyboard::Key getKey() const;
    void setKeyboardAction(EventKeyboardAction new_action);
    EventKeyboardAction getKeyboardAction() const;

private:
    Keyboard::Key m_key_val;
    EventKeyboardAction m_keyboard_action;
};

} // namespace vq

#endif
