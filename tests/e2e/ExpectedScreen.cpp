#include "ExpectedScreen.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "SfmlTestCompat.h"
#include "display/ConvertColor.h"
#include "display/DisplayManager.h"
#include "display/SfmlCompat.h"

namespace e2e {

namespace {
const unsigned CHARACTER_SIZE = 25;

vq::Color colorFromWord(const std::string& word) {
    const char* words[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int i = 0; i < 8; i++)
        if (word == words[i])
            return static_cast<vq::Color>(i);
    return vq::WHITE;
}
} // namespace

ExpectedScreen::ExpectedScreen() {
    m_ready = vq::priv::openFont(m_font, (std::string(VQ_DATA_DIR) + "/vq-font.ttf").c_str()) &&
              vq::priv::createRenderTexture(m_target, 1024, 768);
    m_batch.setFont(&m_font, CHARACTER_SIZE);
    m_batch.setCellSize(vq::charWidth(), vq::charHeight());
    m_batch.setTargetSize(1024, 768);
    clear();
}

void ExpectedScreen::clear() {
    m_batch.clear();
    m_left = m_top = 1e9f;
    m_right = m_bottom = -1e9f;
}

void ExpectedScreen::drawCh(vq::Vector cell, char ch, vq::Color color) {
    const vq::Vector p = vq::spacesToPixels(cell);
    m_batch.add(p.getX(), p.getY(), ch, vq::convertColor(color), sf::Color::Black);
    const float left = p.getX() - vq::charWidth() / 10;
    const float top = p.getY() + vq::charHeight() / 5;
    m_left = std::min(m_left, left);
    m_top = std::min(m_top, top);
    m_right = std::max(m_right, left + vq::charWidth());
    m_bottom = std::max(m_bottom, top + vq::charHeight());
}

void ExpectedScreen::drawString(vq::Vector cell, const std::string& text, vq::Justification just, vq::Color color) {
    float x = cell.getX();
    if (just == vq::JUSTIFY_CENTER)
        x -= static_cast<float>(text.size()) / 2;
    else if (just == vq::JUSTIFY_RIGHT)
        x -= static_cast<float>(text.size());
    for (size_t i = 0; i < text.size(); i++)
        drawCh(vq::Vector(x + static_cast<float>(i), cell.getY()), text[i], color);
}

void ExpectedScreen::drawBorderedText(vq::Vector cell, const std::string& text) {
    drawString(cell - vq::Vector(0, 1), "--------", vq::JUSTIFY_CENTER, vq::WHITE);
    drawString(cell + vq::Vector(0, 1), "--------", vq::JUSTIFY_CENTER, vq::WHITE);
    // Only the text's row is compared, but as wide as the dashes, so that a
    // shorter text is also compared with the blank cells beside it.
    const float left = m_left, right = m_right;
    m_left = m_top = 1e9f;
    m_right = m_bottom = -1e9f;
    drawString(cell, text, vq::JUSTIFY_CENTER, vq::WHITE);
    m_left = std::min(m_left, left);
    m_right = std::max(m_right, right);
}

void ExpectedScreen::drawSpriteFile(const std::string& file, int frame, vq::Vector cell) {
    std::ifstream in(std::string(VQ_DATA_DIR) + "/" + file);
    std::string line;
    int header[4] = {0, 0, 0, 0};
    for (int& value : header) {
        std::getline(in, line);
        value = atoi(line.c_str());
    }
    std::string color_word;
    std::getline(in, color_word);
    const int width = header[1], height = header[2];
    std::vector<std::string> rows;
    while (std::getline(in, line))
        rows.push_back(line);
    const float x_offset = static_cast<float>(width) / 2, y_offset = static_cast<float>(height) / 2;
    for (int y = 0; y < height; y++) {
        const std::string& row = rows.at(static_cast<size_t>(frame * height + y));
        for (int x = 0; x < width; x++)
            drawCh(vq::Vector(cell.getX() + static_cast<float>(x) - x_offset,
                              cell.getY() + static_cast<float>(y) - y_offset),
                   row[static_cast<size_t>(x)], colorFromWord(color_word));
    }
}

sf::IntRect ExpectedScreen::blockArea() const {
    // Stay a pixel inside, away from anti-aliased block edges.
    const int left = static_cast<int>(m_left) + 1, top = static_cast<int>(m_top) + 1;
    return vqtest::makeIntRect(left, top, static_cast<int>(m_right) - 1 - left,
                               static_cast<int>(m_bottom) - 1 - top);
}

sf::Image ExpectedScreen::image() {
    if (!m_ready)
        return sf::Image(); // matches nothing
    m_target.clear(sf::Color::Black);
    m_batch.draw(m_target);
    m_target.display();
    return m_target.getTexture().copyToImage();
}

double differingShare(const sf::Image& actual, const sf::Image& expected, const sf::IntRect& region) {
    int differing = 0, total = 0;
    const int left = vq::priv::rectLeft(region), top = vq::priv::rectTop(region);
    for (int y = top; y < top + vq::priv::rectHeight(region); y++) {
        for (int x = left; x < left + vq::priv::rectWidth(region); x++) {
            if (x < 0 || y < 0 || x >= static_cast<int>(std::min(actual.getSize().x, expected.getSize().x)) ||
                y >= static_cast<int>(std::min(actual.getSize().y, expected.getSize().y)))
                continue;
            const sf::Color a = vq::priv::pixelAt(actual, static_cast<unsigned>(x), static_cast<unsigned>(y));
            const sf::Color e = vq::priv::pixelAt(expected, static_cast<unsigned>(x), static_cast<unsigned>(y));
            const int diff = std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b)});
            total++;
            if (diff > 64)
                differing++;
        }
    }
    return total == 0 ? 1.0 : static_cast<double>(differing) / total;
}

int readNumber(const sf::Image& shot, vq::Vector cell, int lowest, int highest) {
    ExpectedScreen expected;
    int best = -1;
    double best_share = 0.02; // anything worse is not a match
    for (int n = lowest; n <= highest; n++) {
        expected.clear();
        expected.drawBorderedText(cell, std::to_string(n));
        const double share = differingShare(shot, expected.image(), expected.blockArea());
        if (share < best_share) {
            best_share = share;
            best = n;
        }
    }
    return best;
}

} // namespace e2e
