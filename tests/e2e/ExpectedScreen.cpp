#include "ExpectedScreen.h"

#include <algorithm>
#include <cstdlib>

#include "display/ConvertColor.h"
#include "display/DisplayManager.h"
#include "display/SfmlCompat.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"

namespace e2e {

ExpectedScreen::ExpectedScreen() {
    m_ready = vq::priv::openFont(m_font, VQ_DATA_DIR "/vq-font.ttf") &&
              vq::priv::createRenderTexture(m_target, 1024, 768);
    m_batch.setFont(&m_font, 25);
    m_batch.setCellSize(vq::charWidth(), vq::charHeight());
    m_batch.setTargetSize(1024, 768);
}

void ExpectedScreen::drawCh(vq::Vector cell, char ch, vq::Color color) {
    const vq::Vector p = vq::spacesToPixels(cell);
    m_batch.add(p.getX(), p.getY(), ch, vq::convertColor(color), sf::Color::Black);
    // A little inside the block: its anti-aliased edges are left out.
    m_left = std::min(m_left, p.getX() - vq::charWidth() / 10 + 1);
    m_top = std::min(m_top, p.getY() + vq::charHeight() / 5 + 1);
    m_right = std::max(m_right, p.getX() + vq::charWidth() * 0.9f - 1);
    m_bottom = std::max(m_bottom, p.getY() + vq::charHeight() * 1.2f - 1);
}

void ExpectedScreen::drawText(vq::Vector cell, const std::string& text, vq::Color color) {
    for (size_t i = 0; i < text.size(); i++)
        drawCh(cell + vq::Vector(static_cast<float>(i) - static_cast<float>(text.size()) / 2, 0), text[i], color);
}

void ExpectedScreen::drawBorderedText(vq::Vector cell, const std::string& text) {
    drawText(cell - vq::Vector(0, 1), "--------");
    drawText(cell + vq::Vector(0, 1), "--------");
    const float left = m_left, right = m_right;
    m_left = m_top = 1e9f;
    m_right = m_bottom = -1e9f;
    drawText(cell, text);
    m_left = std::min(m_left, left);
    m_right = std::max(m_right, right);
}

void ExpectedScreen::drawSprite(const std::string& file, int frame, vq::Vector cell) {
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    if (store.getSprite(file) == nullptr)
        store.loadSprite(VQ_DATA_DIR "/" + file, file);
    const vq::Sprite* p = store.getSprite(file);
    if (p == nullptr)
        return;
    const std::string pixels = p->getFrame(frame).getString();
    const int w = p->getWidth(), h = p->getHeight();
    for (int i = 0; i < w * h; i++)
        drawCh(cell + vq::Vector(static_cast<float>(i % w) - w / 2.0f, static_cast<float>(i / w) - h / 2.0f),
               pixels[static_cast<size_t>(i)], p->getColor());
}

double ExpectedScreen::mismatch(const sf::Image& shot) {
    if (!m_ready)
        return 1.0;
    m_target.clear(sf::Color::Black);
    m_batch.draw(m_target);
    m_target.display();
    const sf::Image expected = m_target.getTexture().copyToImage();
    int differing = 0, total = 0;
    const int right = std::min(static_cast<int>(m_right), static_cast<int>(shot.getSize().x));
    const int bottom = std::min(static_cast<int>(m_bottom), static_cast<int>(shot.getSize().y));
    for (int y = std::max(0, static_cast<int>(m_top)); y < bottom; y++)
        for (int x = std::max(0, static_cast<int>(m_left)); x < right; x++) {
            const sf::Color a = vq::priv::pixelAt(shot, unsigned(x), unsigned(y));
            const sf::Color e = vq::priv::pixelAt(expected, unsigned(x), unsigned(y));
            total++;
            differing += std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b)}) > 64;
        }
    return total == 0 ? 1.0 : static_cast<double>(differing) / total;
}

double borderedTextMismatch(const sf::Image& shot, vq::Vector cell, const std::string& text) {
    ExpectedScreen expected;
    expected.drawBorderedText(cell, text);
    return expected.mismatch(shot);
}

int readNumber(const sf::Image& shot, vq::Vector cell, int lowest, int highest) {
    int best = -1;
    double best_share = 0.02; // anything worse is not a match
    for (int n = lowest; n <= highest; n++) {
        const double share = borderedTextMismatch(shot, cell, std::to_string(n));
        if (share < best_share) {
            best_share = share;
            best = n;
        }
    }
    return best;
}

} // namespace e2e
