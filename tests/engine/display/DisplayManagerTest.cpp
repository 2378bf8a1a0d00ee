// The display's conversions, its screen-as-text view and its failures work
// without a window; the window tests need an X display (run under xvfb-run).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "display/ConvertColor.h"
#include "display/DisplayManager.h"
#include "display/FrameCapture.h"
#include "display/SfmlCompat.h"

namespace {

using vq::DisplayManager;
using vq::DrawnCharacter;
using vq::Vector;

std::string blankScreen(int columns, int rows) {
    std::string text;
    for (int r = 0; r < rows; r++) {
        if (r > 0)
            text += '\n';
        text += std::string(static_cast<std::size_t>(columns), ' ');
    }
    return text;
}

char cellOf(const std::string& text, int columns, int col, int row) {
    return text[static_cast<std::size_t>(row * (columns + 1) + col)];
}

// ---------------------------------------------------------------- no window

TEST(DisplayUnits, CellAndPixelConversionsHoldBeforeStartUp) {
    const DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.getHorizontal(), 80);
    EXPECT_EQ(display.getVertical(), 24);
    EXPECT_EQ(display.getHorizontalPixels(), 1024);
    EXPECT_EQ(display.getVerticalPixels(), 768);
    EXPECT_FLOAT_EQ(vq::charWidth(), 12.8f);
    EXPECT_FLOAT_EQ(vq::charHeight(), 32.0f);

    const Vector one = vq::spacesToPixels(Vector(1, 1));
    EXPECT_FLOAT_EQ(one.getX(), 12.8f);
    EXPECT_FLOAT_EQ(one.getY(), 32.0f);
    const Vector centre = vq::pixelsToSpaces(Vector(512, 384));
    EXPECT_FLOAT_EQ(centre.getX(), 40.0f);
    EXPECT_FLOAT_EQ(centre.getY(), 12.0f);
    // Unrounded: a click at (100, 50) lands inside cell (7, 1).
    const Vector click = vq::pixelsToSpaces(Vector(100, 50));
    EXPECT_FLOAT_EQ(click.getX(), 7.8125f);
    EXPECT_FLOAT_EQ(click.getY(), 1.5625f);
    EXPECT_EQ(display.getWindow(), nullptr);
}

TEST(DisplayUnits, ColoursConvertAndEverythingElseIsWhite) {
    EXPECT_EQ(vq::convertColor(vq::BLACK), sf::Color(0, 0, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::RED), sf::Color(255, 0, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::GREEN), sf::Color(0, 255, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::YELLOW), sf::Color(255, 255, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::BLUE), sf::Color(0, 0, 255, 255));
    EXPECT_EQ(vq::convertColor(vq::MAGENTA), sf::Color(255, 0, 255, 255));
    EXPECT_EQ(vq::convertColor(vq::CYAN), sf::Color(0, 255, 255, 255));
    for (int value : {7, 8, -1, 1000})
        EXPECT_EQ(vq::convertColor(static_cast<vq::Color>(value)), sf::Color::White) << value;
}

TEST(DisplayUnits, FramedTextRoundsHalfUpAndLaterCharactersWin) {
    const std::vector<DrawnCharacter> frame = {
        {Vector(0, 0), 'a', vq::WHITE},
        {Vector(0.49f, 0), 'b', vq::WHITE},    // still cell 0: replaces a
        {Vector(0.5f, 0), 'c', vq::WHITE},     // half rounds up: cell 1
        {Vector(2.6f, 1.5f), 'd', vq::RED},    // cell (3, 2)
        {Vector(-0.5f, 2.2f), 'e', vq::RED},   // rounds to column 0
        {Vector(-0.51f, 0), 'x', vq::RED},     // off the left edge
        {Vector(5, -0.51f), 'x', vq::RED},     // above the top
        {Vector(4.5f, 0), 'x', vq::RED},       // rounds to column 5, past the width
        {Vector(0, 3.5f), 'x', vq::RED},       // rounds to row 4, past the height
        {Vector(3, 2), ' ', vq::RED},          // a space drawn later blanks d
    };
    std::string expected = blankScreen(5, 4);
    expected[0] = 'b';
    expected[1] = 'c';
    expected[2 * 6 + 0] = 'e';
    EXPECT_EQ(DisplayManager::framedAsText(frame, 5, 4), expected);
    EXPECT_EQ(DisplayManager::framedAsText({}, 80, 24), blankScreen(80, 24));
}

TEST(DisplayWithoutWindow, DrawingAndSwappingFailWithTheirLogLines) {
    vqtest::TempDir dir;
    vqtest::LogSession log;
    ASSERT_TRUE(log.started());
    DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "AB", vq::JUSTIFY_LEFT, vq::RED), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "", vq::JUSTIFY_LEFT, vq::RED), 0);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_TRUE(display.getCurrentFrame().empty());
    EXPECT_TRUE(display.getLastFrame().empty());
    EXPECT_TRUE(display.setBackgroundColor(vq::BLUE));
    // drawString stops at its first failure: one line for each failed draw.
    EXPECT_EQ(vqtest::logText(), "Cannot draw character, window not created\n"
                                 "Cannot draw character, window not created\n"
                                 "Cannot swap buffers, window not created\n");
}

TEST(DisplayWithoutWindow, MissingFontFailsStartUp) {
    vqtest::TempDir dir; // holds no font
    vqtest::LogSession log;
    ASSERT_TRUE(log.started());
    DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_NE(vqtest::logText().find("Failed to load font\n"), std::string::npos);
    EXPECT_EQ(vqtest::logText().find("DisplayManager started"), std::string::npos);
}

TEST(DisplayWithoutWindow, UnreachableWindowSystemFailsStartUp) {
    vqtest::TempDir dir;
    vqtest::copyFontInto(dir);
    vqtest::LogSession log;
    ASSERT_TRUE(log.started());
    const char* p_display_name = std::getenv("DISPLAY");
    const std::string display_name = p_display_name != nullptr ? p_display_name : "";
    unsetenv("DISPLAY");
    DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.startUp(), -1);
    if (p_display_name != nullptr)
        setenv("DISPLAY", display_name.c_str(), 1);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_EQ(vqtest::logText(), "Failed to create window\n");
}

// ------------------------------------------------------------- with window

class DisplayWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vqtest::copyFontInto(dir);
        ASSERT_TRUE(log.started());
        ASSERT_EQ(display.startUp(), 0);
        ASSERT_NE(display.getWindow(), nullptr);
        display.setBackgroundColor(vq::BLACK);
    }
    void TearDown() override {
        vq::priv::setFrameCapture(nullptr);
        display.shutDown();
    }

    // Shows the frame drawn so far and returns its pixels.
    sf::Image showAndCapture() {
        sf::Image image;
        vq::priv::setFrameCapture(&image);
        EXPECT_EQ(display.swapBuffers(), 0);
        vq::priv::setFrameCapture(nullptr);
        return image;
    }

    // Pixels inside [x0, x1) x [y0, y1) for which match(pixel) holds.
    template <typename Match>
    static int count(const sf::Image& image, Match match, unsigned x0, unsigned y0, unsigned x1, unsigned y1) {
        int n = 0;
        for (unsigned y = y0; y < y1; y++)
            for (unsigned x = x0; x < x1; x++)
                n += match(vq::priv::pixelAt(image, x, y)) ? 1 : 0;
        return n;
    }
    static int countColour(const sf::Image& image, sf::Color colour, unsigned x0, unsigned y0, unsigned x1,
                           unsigned y1) {
        return count(image, [colour](sf::Color c) { return c == colour; }, x0, y0, x1, y1);
    }

    vqtest::TempDir dir;
    vqtest::LogSession log;
    DisplayManager& display = DisplayManager::getInstance();
};

TEST_F(DisplayWindow, SecondStartUpKeepsTheOneWindow) {
    sf::RenderWindow* p_window = display.getWindow();
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), p_window);
    EXPECT_TRUE(display.isStarted());
    EXPECT_EQ(p_window->getSize(), sf::Vector2u(1024, 768));
    const std::string log = vqtest::logText();
    EXPECT_EQ(log.find("DisplayManager started"), log.rfind("DisplayManager started"));

    EXPECT_EQ(display.shutDown(), 0);
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    // And it can be opened again.
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), 0);
    EXPECT_EQ(display.swapBuffers(), 0);
}

TEST_F(DisplayWindow, CharacterShowsInItsColourInItsCell) {
    ASSERT_EQ(display.swapBuffers(), 0); // start from a cleared frame
    ASSERT_EQ(display.drawCh(Vector(10, 5), 'X', vq::RED), 0);
    const sf::Image frame = showAndCapture();
    ASSERT_EQ(frame.getSize(), sf::Vector2u(1024, 768));
    // Red ink on black, anti-aliased edges included: only the red channel.
    auto red_ink = [](sf::Color c) { return c.r > 0 && c.g == 0 && c.b == 0; };
    // Cell (10, 5) spans pixels [128, 140.8) x [160, 192); the glyph stays in
    // and around it, and no ink appears anywhere else.
    const int inside = count(frame, red_ink, 124, 160, 146, 200);
    EXPECT_GT(inside, 40);
    EXPECT_GT(countColour(frame, sf::Color::Red, 124, 160, 146, 200), 10);
    EXPECT_EQ(count(frame, red_ink, 0, 0, 1024, 768), inside);
    EXPECT_EQ(countColour(frame, sf::Color::Black, 0, 0, 1024, 768) + inside, 1024 * 768);
}

TEST_F(DisplayWindow, BackgroundColourFillsClearedScreenAndBlocks) {
    display.setBackgroundColor(vq::BLUE);
    ASSERT_EQ(display.swapBuffers(), 0); // cleared to blue
    // A yellow glyph, then a space over it: the space's blue block hides it.
    ASSERT_EQ(display.drawCh(Vector(3, 3), 'o', vq::YELLOW), 0);
    ASSERT_EQ(display.drawCh(Vector(3, 3), ' ', vq::WHITE), 0);
    // A block in another colour shows the block's exact place and size.
    display.setBackgroundColor(vq::GREEN);
    ASSERT_EQ(display.drawCh(Vector(20, 10), ' ', vq::WHITE), 0);
    const sf::Image frame = showAndCapture();
    // The glyph is wider than its cell, so only the block's own pixels are
    // hidden: cell (3, 3)'s block spans x 37.12 .. 49.92 and y 102.4 .. 134.4.
    EXPECT_EQ(countColour(frame, sf::Color::Blue, 37, 102, 50, 134), 13 * 32);
    EXPECT_EQ(vq::priv::pixelAt(frame, 700, 600), sf::Color::Blue);
    // Block of cell (20, 10): from (256 - 1.28, 320 + 6.4), 12.8 x 32 pixels,
    // so pixel centres 255.5 .. 267.5 across and 326.5 .. 357.5 down.
    EXPECT_EQ(countColour(frame, sf::Color::Green, 0, 0, 1024, 768), 13 * 32);
    EXPECT_EQ(countColour(frame, sf::Color::Green, 255, 326, 268, 358), 13 * 32);
    // The next frame starts from the new colour.
    const sf::Image next = showAndCapture();
    EXPECT_EQ(countColour(next, sf::Color::Green, 0, 0, 1024, 768), 1024 * 768);
}

TEST_F(DisplayWindow, StringsAreJustifiedAroundTheirPosition) {
    ASSERT_EQ(display.drawString(Vector(10, 2), "abc", vq::JUSTIFY_CENTER, vq::WHITE), 0);
    std::vector<float> xs;
    for (const DrawnCharacter& c : display.getCurrentFrame())
        xs.push_back(c.position.getX());
    EXPECT_EQ(xs, (std::vector<float>{8.5f, 9.5f, 10.5f}));

    ASSERT_EQ(display.drawString(Vector(10, 4), "wxyz", vq::JUSTIFY_RIGHT, vq::CYAN), 0);
    ASSERT_EQ(display.drawString(Vector(10, 6), "left", vq::JUSTIFY_LEFT, vq::RED), 0);
    ASSERT_EQ(display.drawString(Vector(10, 8), "odd", static_cast<vq::Justification>(7), vq::RED), 0);
    ASSERT_EQ(display.drawString(Vector(10, 10), "", vq::JUSTIFY_CENTER, vq::RED), 0);
    const std::size_t drawn = display.getCurrentFrame().size();
    EXPECT_EQ(drawn, 3u + 4u + 4u + 3u);
    EXPECT_EQ(display.getCurrentFrame()[3].color, vq::CYAN);
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_TRUE(display.getCurrentFrame().empty());
    EXPECT_EQ(display.getLastFrame().size(), drawn);

    const std::string screen = display.lastFrameAsText();
    ASSERT_EQ(screen.size(), 24u * 81u - 1u);
    auto row = [&](int r) { return screen.substr(static_cast<std::size_t>(r) * 81, 80); };
    // Half cells round up: 8.5, 9.5 and 10.5 show in columns 9 to 11.
    EXPECT_EQ(row(2).substr(8, 5), " abc ");
    EXPECT_EQ(row(4).substr(5, 6), " wxyz ");
    EXPECT_EQ(row(6).substr(9, 6), " left ");
    EXPECT_EQ(row(8).substr(9, 5), " odd ");
    EXPECT_EQ(cellOf(screen, 80, 0, 0), ' ');

    // An empty frame shows as a blank screen.
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.lastFrameAsText(), blankScreen(80, 24));
}

} // namespace
