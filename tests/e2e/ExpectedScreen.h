#ifndef CORNFIELD_TESTS_E2E_EXPECTEDSCREEN_H
#define CORNFIELD_TESTS_E2E_EXPECTEDSCREEN_H

#include <string>
#include <vector>

#include <SFML/Graphics.hpp>

#include "core/Vector.h"
#include "display/CharacterBatch.h"
#include "display/Color.h"
#include "display/Justification.h"

namespace e2e {

// Draws what the game should show, off-screen and with the engine's own
// character batch, so a screenshot region can be compared with it. Font and
// grid are deterministic, which makes this a way of reading the screen.
class ExpectedScreen {
public:
    ExpectedScreen();

    void clear();
    // As the display draws a string: every character over its block.
    void drawString(vq::Vector cell, const std::string& text, vq::Justification just, vq::Color color);
    // As a status text draws itself: dashes above and below, then the text.
    void drawBorderedText(vq::Vector cell, const std::string& text);
    // Frame `frame` of a sprite file, centred on the cell as the game draws it.
    void drawSpriteFile(const std::string& file, int frame, vq::Vector cell);

    // The pixel rectangle covered by the blocks drawn since clear().
    sf::IntRect blockArea() const;
    sf::Image image();

private:
    void drawCh(vq::Vector cell, char ch, vq::Color color);

    sf::Font m_font;
    sf::RenderTexture m_target;
    vq::priv::CharacterBatch m_batch;
    bool m_ready = false; // font and target made
    float m_left, m_top, m_right, m_bottom;
};

// The share of pixels in the region whose colour differs noticeably.
double differingShare(const sf::Image& actual, const sf::Image& expected, const sf::IntRect& region);

// Reads the whole number shown by a bordered status text centred on `cell`
// by comparing the screenshot with each candidate; -1 when none fits.
int readNumber(const sf::Image& shot, vq::Vector cell, int lowest, int highest);

} // namespace e2e

#endif
