#include <velloq/input/KeyTranslation.h>

#include <velloq/display/SfmlCompat.h>

namespace vq {

Keyboard::Key toEngineKey(sf::Keyboard::Key key) {
    using SK = sf::Keyboard::Key;
    // Letters, function keys and digits are contiguous in both numberings,
    // except that the engine puts 0 after 9.
    const int code = static_cast<int>(key);
    if (code >= static_cast<int>(SK::A) && code <= static_cast<int>(SK::Z))
        return static_cast<Keyboard::Key>(Keyboard::A + (code - static_cast<int>(SK::A)));
    if (code >= static_cast<int>(SK::F1) && code <= static_cast<int>(SK::F12))
        return static_cast<Keyboard::Key>(Keyboard::F1 + (code - static_cast<int>(SK::F1)));
    if (code >= static_cast<int>(SK::Num1) && code <= static_cast<int>(SK::Num9))
        return static_cast<Keyboard::Key>(Keyboard::NUM1 + (code - static_cast<int>(SK::Num1)));
    if (key == priv::KEY_GRAVE)
        return Keyboard::GRAVE;
    // clang-format off
    switch (key) {
    case SK::Num0: return Keyboard::NUM0;
    case SK::Space: return Keyboard::SPACE;
    case SK::Enter: return Keyboard::ENTER;
    case SK::Escape: return Keyboard::ESCAPE;
    case SK::Tab: return Keyboard::TAB;
    case SK::Left: return Keyboard::LEFT_ARROW;
    case SK::Right: return Keyboard::RIGHT_ARROW;
    case SK::Up: return Keyboard::UP_ARROW;
    case SK::Down: return Keyboard::DOWN_ARROW;
    case SK::Pause: return Keyboard::PAUSE;
    case SK::Subtract: return Keyboard::KEYPAD_MINUS;
    case SK::Add: return Keyboard::KEYPAD_PLUS;
    case SK::Period: return Keyboard::PERIOD;
    case SK::Comma: return Keyboard::COMMA;
    case SK::Slash: return Keyboard::SLASH;
    case SK::LControl: return Keyboard::LEFT_CONTROL;
    case SK::RControl: return Keyboard::RIGHT_CONTROL;
    case SK::LShift: return Keyboard::LEFT_SHIFT;
    case SK::RShift: return Keyboard::RIGHT_SHIFT;
    default: return Keyboard::UNDEFINED_KEY;
    }
    // clang-format on
}

Mouse::Button toEngineButton(sf::Mouse::Button button) {
    switch (button) {
    case sf::Mouse::Button::Left:
        return Mouse::LEFT;
    case sf::Mouse::Button::Right:
        return Mouse::RIGHT;
    case sf::Mouse::Button::Middle:
        return Mouse::MIDDLE;
    default:
        return Mouse::UNDEFINED_MOUSE_BUTTON;
    }
}

} // namespace vq
