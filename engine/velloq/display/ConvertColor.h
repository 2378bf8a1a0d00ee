#ifndef VQ_DISPLAY_CONVERTCOLOR_H
#define VQ_DISPLAY_CONVERTCOLOR_H

// Private to the display, input and audio sources: game code never sees SFML.

#include <SFML/Graphics/Color.hpp>

#include <velloq/display/Color.h>

namespace vq {

// The SFML colour of an engine colour; anything outside BLACK..CYAN is white.
sf::Color convertColor(Color color);

} // namespace vq

#endif
