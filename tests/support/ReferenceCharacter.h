#ifndef VQ_TESTS_SUPPORT_REFERENCECHARACTER_H
#define VQ_TESTS_SUPPORT_REFERENCECHARACTER_H

#include <SFML/Graphics.hpp>

#include <velloq/display/DisplayManager.h>
#include <velloq/display/SfmlCompat.h>

namespace vqtest {

// A character at (x, y) in pixels drawn alone as a rectangle and a text, as
// the display sizes and places them: what its batched quads must look like.
inline void drawReferenceCharacter(sf::RenderTarget& target, const sf::Font& font, float x, float y, char ch,
                                   sf::Color color, sf::Color background) {
    sf::RectangleShape block(sf::Vector2f(vq::charWidth(), vq::charHeight()));
    block.setFillColor(background);
    block.setPosition(sf::Vector2f(x - vq::charWidth() / 10, y + vq::charHeight() / 5));
    target.draw(block);
    sf::Text text = vq::priv::makeText(font, sf::String(ch), static_cast<unsigned>(2 * vq::charWidth()));
    text.setStyle(sf::Text::Bold);
    text.setFillColor(color);
    text.setPosition(sf::Vector2f(x, y));
    target.draw(text);
}

} // namespace vqtest

#endif
