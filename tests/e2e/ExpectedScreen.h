#ifndef VQ_TESTS_E2E_EXPECTEDSCREEN_H
#define VQ_TESTS_E2E_EXPECTEDSCREEN_H

#include <string>

#include <SFML/Graphics.hpp>

#include "core/Vector.h"
#include "display/CharacterBatch.h"
#include "display/Color.h"

namespace e2e {

// Draws what the game should show, off screen with the engine's own
// character batch, so a screenshot region can be compared with it. Font and
// grid are deterministic, which makes this a way of reading the screen.
class ExpectedScreen {
public:
    ExpectedScreen();
    // As the display draws a centred string: every character over its block.
    void drawText(vq::Vector cell, const std::string& text, vq::Color color = vq::WHITE);
    // As a status text draws itself; only the text's row, as wide as the
    // dashes, is compared.
    void drawBorderedText(vq::Vector cell, const std::string& text);
    // A frame of a sprite file, centred on the cell.
    void drawSprite(const std::string& file, int frame, vq::Vector cell);
    // The share of pixels, inside what was drawn, that differ noticeably in the shot.
    double mismatch(const sf::Image& shot);

private:
    void drawCh(vq::Vector cell, char ch, vq::Color color);

    sf::Font m_font;
    sf::RenderTexture m_target;
    vq::priv::CharacterBatch m_batch;
    bool m_ready = false;
    float m_left = 1e9f, m_top = 1e9f, m_right = -1e9f, m_bottom = -1e9f; // the compared area
};

// The share of differing pixels where a bordered status text is expected.
double borderedTextMismatch(const sf::Image& shot, vq::Vector cell, const std::string& text);
// The whole number a bordered status text centred on `cell` shows, or -1.
int readNumber(const sf::Image& shot, vq::Vector cell, int lowest, int highest);

} // namespace e2e

#endif
