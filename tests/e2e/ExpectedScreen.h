#ifndef VQ_TESTS_E2E_EXPECTEDSCREEN_H
#define VQ_TESTS_E2E_EXPECTEDSCREEN_H

#include <algorithm>
#include <cstdlib>
#include <string>

#include <SFML/Graphics.hpp>

#include <velloq/display/CharacterBatch.h>
#include <velloq/display/ConvertColor.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/QuadPainter.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>

namespace e2e {

// Draws what the game should show, off screen with the engine's own
// character batch, so a screenshot region can be compared with it. Font and
// grid are deterministic, which makes this a way of reading the screen.
class ExpectedScreen {
public:
    ExpectedScreen() {
        m_ready = vq::priv::openFont(m_font, VQ_DATA_DIR "/vq-font.ttf") &&
                  vq::priv::createRenderTexture(m_target, 1024, 768);
        m_batch.setFont(&m_font, 25);
        m_batch.setCellSize(vq::charWidth(), vq::charHeight());
        m_batch.setTargetSize(1024, 768);
    }
    // As the display draws a centred string: every character over its block.
    void drawText(vq::Vector cell, const std::string& text) {
        for (size_t i = 0; i < text.size(); i++)
            drawCh(cell + vq::Vector(static_cast<float>(i) - text.size() / 2.0f, 0), text[i], vq::WHITE);
    }
    // As a status text draws itself; only the text's row, as wide as the
    // dashes, is compared.
    void drawBorderedText(vq::Vector cell, const std::string& text) {
        drawText(cell - vq::Vector(0, 1), "--------");
        drawText(cell + vq::Vector(0, 1), "--------");
        const float left = m_left, right = m_right;
        m_left = m_top = 1e9f;
        m_right = m_bottom = -1e9f;
        drawText(cell, text);
        m_left = std::min(m_left, left);
        m_right = std::max(m_right, right);
    }
    // A frame of a sprite file, centred on the cell.
    void drawSprite(const std::string& file, int frame, vq::Vector cell) {
        vq::ResourceManager& store = vq::ResourceManager::getInstance();
        if (store.getSprite(file) == nullptr)
            store.loadSprite(VQ_DATA_DIR "/" + file, file);
        const vq::Sprite* p = store.getSprite(file);
        const int w = p != nullptr ? p->getWidth() : 0, h = p != nullptr ? p->getHeight() : 0;
        for (int i = 0; i < w * h; i++)
            drawCh(cell + vq::Vector(static_cast<float>(i % w) - w / 2.0f, static_cast<float>(i / w) - h / 2.0f),
                   p->getFrame(frame).getString()[static_cast<size_t>(i)], p->getColor());
    }
    // The share of pixels, inside what was drawn, that differ noticeably in the shot.
    double mismatch(const sf::Image& shot) {
        if (!m_ready)
            return 1.0;
        m_target.clear(sf::Color::Black);
        vq::priv::QuadPainter().drawAll(m_target, m_batch.frame().quads, m_batch.texture());
        m_target.display();
        const sf::Image expected = m_target.getTexture().copyToImage();
        int differing = 0, total = 0;
        const int right = std::min(static_cast<int>(m_right), static_cast<int>(shot.getSize().x));
        const int bottom = std::min(static_cast<int>(m_bottom), static_cast<int>(shot.getSize().y));
        for (int y = std::max(0, static_cast<int>(m_top)); y < bottom; y++)
            for (int x = std::max(0, static_cast<int>(m_left)); x < right; x++, total++) {
                const sf::Color a = vq::priv::pixelAt(shot, unsigned(x), unsigned(y));
                const sf::Color e = vq::priv::pixelAt(expected, unsigned(x), unsigned(y));
                differing += std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b)}) > 64;
            }
        return total == 0 ? 1.0 : static_cast<double>(differing) / total;
    }

private:
    void drawCh(vq::Vector cell, char ch, vq::Color color) {
        const vq::Vector p = vq::spacesToPixels(cell);
        m_batch.add(p.getX(), p.getY(), ch, vq::convertColor(color), sf::Color::Black);
        // A little inside the block: its anti-aliased edges are left out.
        m_left = std::min(m_left, p.getX() - vq::charWidth() / 10 + 1);
        m_top = std::min(m_top, p.getY() + vq::charHeight() / 5 + 1);
        m_right = std::max(m_right, p.getX() + vq::charWidth() * 0.9f - 1);
        m_bottom = std::max(m_bottom, p.getY() + vq::charHeight() * 1.2f - 1);
    }

    sf::Font m_font;
    sf::RenderTexture m_target;
    vq::priv::CharacterBatch m_batch;
    bool m_ready = false;
    float m_left = 1e9f, m_top = 1e9f, m_right = -1e9f, m_bottom = -1e9f; // the compared area
};

// The share of differing pixels where a bordered status text is expected.
inline double borderedTextMismatch(const sf::Image& shot, vq::Vector cell, const std::string& text) {
    ExpectedScreen expected;
    expected.drawBorderedText(cell, text);
    return expected.mismatch(shot);
}

// The whole number a bordered status text centred on `cell` shows, or -1.
inline int readNumber(const sf::Image& shot, vq::Vector cell, int lowest, int highest) {
    int best = -1;
    double best_share = 0.02; // anything worse is not a match
    for (int n = lowest; n <= highest; n++) {
        const double share = borderedTextMismatch(shot, cell, std::to_string(n));
        best = share < best_share ? n : best;
        best_share = std::min(share, best_share);
    }
    return best;
}

} // namespace e2e

#endif
