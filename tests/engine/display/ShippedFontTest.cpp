// The shipped font, drawn by the display as the game draws it, keeps every
// printable character's ink inside the character's own cell: the next cell's
// background block would paint over whatever sticks out. Needs an X display.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "DisplayTestSupport.h"
#include "display/FrameCapture.h"
#include "display/SfmlCompat.h"

using vq::DisplayManager;
using vq::Vector;

namespace {

// Anti-aliased edges make the ink's edge fractional: it is taken to reach as
// far into its outermost pixel as that pixel's coverage. Less than half a
// pixel may lie beyond the cell: SFML 2.6 and later place glyphs up to 0.4 px
// higher than 2.5 does (the bar's top then sits 0.4 px above its cell), a
// faint edge, never a cut stroke.
const float MAX_OVERHANG = 0.5f;

// Cells five columns apart start on whole pixels (5 x 12.8 = 64), so what is
// measured is the font and not a fractional position's resampling; every
// other row keeps one character's ink apart from the next.
const int PER_ROW = 15, SPACING = 64;
Vector cellOf(int i) {
    return Vector(5.0f * static_cast<float>(1 + i % PER_ROW), 1.0f + 2.0f * static_cast<float>(i / PER_ROW));
}

// Coverage (0..1) of a white glyph drawn over black.
float coverage(const sf::Image& image, int x, int y) {
    return static_cast<float>(vq::priv::pixelAt(image, static_cast<unsigned>(x), static_cast<unsigned>(y)).r) / 255;
}

TEST(ShippedFont, EveryPrintableCharacterKeepsItsInkInsideItsCell) {
    vqtest::TempDir dir;
    vqtest::copyFontInto(dir);
    vqtest::LogSession log;
    DisplayManager& display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    display.setBackgroundColor(vq::BLACK);
    for (char ch = '!'; ch <= '~'; ch++) // the space draws no ink
        ASSERT_EQ(display.drawCh(cellOf(ch - '!'), ch, vq::WHITE), 0);
    sf::Image frame;
    vq::priv::setFrameCapture(&frame);
    ASSERT_EQ(display.swapBuffers(), 0);
    vq::priv::setFrameCapture(nullptr);

    std::ostringstream over;
    int inked = 0;
    for (char ch = '!'; ch <= '~'; ch++) {
        const Vector origin = vq::spacesToPixels(cellOf(ch - '!'));
        const int x0 = static_cast<int>(origin.getX()), y0 = static_cast<int>(origin.getY());
        // The block behind the character, as the display places it.
        const float left = origin.getX() - vq::charWidth() / 10, top = origin.getY() + vq::charHeight() / 5;
        const float right = left + vq::charWidth(), bottom = top + vq::charHeight();

        float ink_left = 1e9f, ink_right = -1e9f, ink_top = 1e9f, ink_bottom = -1e9f;
        for (int y = y0 - SPACING / 4; y < y0 + 3 * SPACING / 4; y++) {
            for (int x = x0 - SPACING / 3; x < x0 + 2 * SPACING / 3; x++) {
                const float c = coverage(frame, x, y);
                if (c == 0)
                    continue;
                ink_left = std::min(ink_left, static_cast<float>(x + 1) - c);
                ink_right = std::max(ink_right, static_cast<float>(x) + c);
                ink_top = std::min(ink_top, static_cast<float>(y + 1) - c);
                ink_bottom = std::max(ink_bottom, static_cast<float>(y) + c);
            }
        }
        if (ink_right < ink_left)
            continue;
        inked++;
        const float overhang = std::max({left - ink_left, ink_right - right, top - ink_top, ink_bottom - bottom});
        if (overhang > MAX_OVERHANG)
            over << " '" << ch << "' by " << overhang << " px;";
    }
    EXPECT_EQ(inked, 94) << "every printable character but the space has a glyph";
    EXPECT_EQ(over.str(), "") << "ink outside the cell";
    display.shutDown();
}

} // namespace
