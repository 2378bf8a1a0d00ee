#ifndef VQ_INPUT_KEYTRANSLATION_H
#define VQ_INPUT_KEYTRANSLATION_H

// Private to the input sources and their tests: the mapping from SFML's key
// and button codes to the engine's own numbering.

#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>

namespace vq {

// Unlisted keys and codes outside SFML's range give UNDEFINED_KEY.
Keyboard::Key toEngineKey(sf::Keyboard::Key key);
// Left, right and middle; every other button gives UNDEFINED_MOUSE_BUTTON.
Mouse::Button toEngineButton(sf::Mouse::Button button);

} // namespace vq

#endif
