#ifndef VQ_TESTS_SUPPORT_REFERENCECHARACTER_H
#define VQ_TESTS_SUPPORT_REFERENCECHARACTER_H

#include <SFML/Graphics.hpp>

#include <velloq/display/SfmlCompat.h>

namespace vqtest {

// One character drawn at once as its own rectangle and text, at (x, y) in
// pixels: the picture the display's batched quads must give.
inline void drawReferenceCharacter(sf::RenderTarget& target, const sf::Font& font, unsigned character_size,
                                   float cell_width, float cell_height, float x, float y, char ch, sf::Color color,
                                   sf::Color background) {
    sf::RectangleShape block(sf::Vector2f(cell_width, cell_height));
    block.setFillColor(background);
    block.setPosition(sf::Vector2f(x - cell_width / 10, y + cell_height / 5));
    target.draw(block);
    sf::Text text = vq::priv::makeText(font, sf::String(ch), character_size);
    text.setStyle(sf::Text::Bold);
    text.setFillColor(color);
    text.setPosition(sf::Vector2f(x, y));
    target.draw(text);
}

} // namespace vqtest

#endif
