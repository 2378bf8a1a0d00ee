// Conversions, the screen as text and the failures need no window; the window
// tests need an X display (run under xvfb-run).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "display/ConvertColor.h"
#include "display/DisplayManager.h"
#include "display/FrameCapture.h"
#include "display/SfmlCompat.h"
#include "display/WindowProbe.h"

namespace {

using vq::DisplayManager;
using vq::DrawnCharacter;
using vq::Vector;

std::string blankScreen(int columns, int rows) {
    std::string text;
    for (int r = 0; r < rows; r++)
        text += (r > 0 ? "\n" : "") + std::string(static_cast<std::size_t>(columns), ' ');
    return text;
}

TEST(DisplayUnits, ConversionsHoldBeforeStartUp) {
    EXPECT_FLOAT_EQ(vq::charWidth(), 12.8f);
    EXPECT_FLOAT_EQ(vq::charHeight(), 32.0f);
    EXPECT_EQ(vq::spacesToPixels(Vector(1, 1)), Vector(12.8f, 32.0f));
    EXPECT_EQ(vq::pixelsToSpaces(Vector(512, 384)), Vector(40, 12));
    EXPECT_EQ(vq::pixelsToSpaces(Vector(100, 50)), Vector(7.8125f, 1.5625f)); // unrounded
    EXPECT_EQ(vq::convertColor(vq::BLACK), sf::Color(0, 0, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::YELLOW), sf::Color(255, 255, 0, 255));
    EXPECT_EQ(vq::convertColor(vq::CYAN), sf::Color(0, 255, 255, 255));
    for (int value : {7, 8, -1})
        EXPECT_EQ(vq::convertColor(static_cast<vq::Color>(value)), sf::Color::White) << value;
}

TEST(DisplayUnits, FramedTextRoundsHalfUpAndLaterCharactersWin) {
    const std::vector<DrawnCharacter> frame = {
        {Vector(0, 0), 'a', vq::WHITE},      {Vector(0.49f, 0), 'b', vq::WHITE}, // b replaces a
        {Vector(0.5f, 0), 'c', vq::WHITE},   {Vector(2.6f, 1.5f), 'd', vq::RED}, // cells 1 and (3, 2)
        {Vector(-0.5f, 2.2f), 'e', vq::RED}, {Vector(3, 2), ' ', vq::RED},       // column 0; blanks d
        {Vector(-0.51f, 0), 'x', vq::RED},   {Vector(5, -0.51f), 'x', vq::RED},  // off the grid ...
        {Vector(4.5f, 0), 'x', vq::RED},     {Vector(0, 3.5f), 'x', vq::RED},    // ... on every side
        {Vector(1e30f, 0), 'x', vq::RED},    {Vector(std::nanf(""), 1), 'x', vq::RED},
    };
    std::string expected = blankScreen(5, 4);
    expected[0] = 'b';
    expected[1] = 'c';
    expected[2 * 6] = 'e';
    EXPECT_EQ(DisplayManager::framedAsText(frame, 5, 4), expected);
}

TEST(DisplayWithoutWindow, DrawingAndSwappingFailWithTheirLogLines) {
    vqtest::TempDir dir;
    vqtest::LogSession log;
    DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "AB", vq::JUSTIFY_LEFT, vq::RED), -1); // stops at the first
    EXPECT_EQ(display.drawString(Vector(1, 1), "", vq::JUSTIFY_LEFT, vq::RED), 0);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_TRUE(display.getCurrentFrame().empty());
    EXPECT_EQ(vqtest::logText(), "Cannot draw character, window not created\n"
                                 "Cannot draw character, window not created\n"
                                 "Cannot swap buffers, window not created\n");
}

TEST(DisplayWithoutWindow, MissingFontFailsStartUp) {
    vqtest::TempDir dir; // holds no font
    vqtest::LogSession log;
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    EXPECT_FALSE(DisplayManager::getInstance().isStarted());
    EXPECT_EQ(DisplayManager::getInstance().getWindow(), nullptr);
    EXPECT_EQ(vqtest::logText(), "Failed to load font\n");
}

TEST(DisplayWithoutWindow, UnreachableWindowSystemFailsStartUp) {
    if (!vq::priv::WindowSystemProbe::checks())
        GTEST_SKIP() << "built without the X11 check, SFML would end the process";
    vqtest::TempDir dir;
    vqtest::copyFontInto(dir);
    vqtest::LogSession log;
    const char* p_name = std::getenv("DISPLAY");
    const std::string name = p_name != nullptr ? p_name : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    if (p_name != nullptr)
        setenv("DISPLAY", name.c_str(), 1);
    EXPECT_EQ(DisplayManager::getInstance().getWindow(), nullptr);
    EXPECT_EQ(vqtest::logText(), "Failed to create window\n");
}

class DisplayWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vqtest::copyFontInto(dir);
        ASSERT_EQ(display.startUp(), 0);
        display.setBackgroundColor(vq::BLACK);
        ASSERT_EQ(display.swapBuffers(), 0); // start from a cleared frame
    }
    void TearDown() override { display.shutDown(); }

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
    static int count(const sf::Image& image, sf::Color colour, unsigned x0 = 0, unsigned y0 = 0,
                     unsigned x1 = 1024, unsigned y1 = 768) {
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
    EXPECT_EQ(p_window->getSize(), sf::Vector2u(1024, 768));
    const std::string text = vqtest::logText();
    EXPECT_EQ(text.find("DisplayManager started"), text.rfind("DisplayManager started"));
    EXPECT_EQ(display.shutDown(), 0);
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    EXPECT_EQ(display.startUp(), 0); // and it opens again
}

TEST_F(DisplayWindow, CharacterShowsInItsColourInItsCell) {
    ASSERT_EQ(display.drawCh(Vector(10, 5), 'X', vq::RED), 0);
    const sf::Image frame = showAndCapture();
    // Red ink, anti-aliased edges included, only around cell (10, 5), which
    // spans pixels [128, 140.8) x [160, 192); everything else stays black.
    auto red_ink = [](sf::Color c) { return c.r > 0 && c.g == 0 && c.b == 0; };
    const int inside = count(frame, red_ink, 124, 160, 146, 200);
    EXPECT_GT(inside, 40);
    EXPECT_GT(count(frame, sf::Color::Red, 124, 160, 146, 200), 5); // the shipped font's X has 10
    EXPECT_EQ(count(frame, sf::Color::Black) + inside, 1024 * 768);
}

TEST_F(DisplayWindow, BackgroundColourFillsClearedScreenAndBlocks) {
    display.setBackgroundColor(vq::BLUE);
    ASSERT_EQ(display.swapBuffers(), 0); // cleared to blue
    ASSERT_EQ(display.drawCh(Vector(3, 3), 'o', vq::YELLOW), 0);
    ASSERT_EQ(display.drawCh(Vector(3, 3), ' ', vq::WHITE), 0);
    display.setBackgroundColor(vq::GREEN);
    ASSERT_EQ(display.drawCh(Vector(20, 10), ' ', vq::WHITE), 0);
    const sf::Image frame = showAndCapture();
    // The space's blue block hides the glyph where the block lies: cell
    // (3, 3)'s block spans x 37.12 .. 49.92 and y 102.4 .. 134.4.
    EXPECT_EQ(count(frame, sf::Color::Blue, 37, 102, 50, 134), 13 * 32);
    EXPECT_EQ(vq::priv::pixelAt(frame, 700, 600), sf::Color::Blue);
    // Cell (20, 10)'s block, 12.8 x 32 from (254.72, 326.4), shows green.
    EXPECT_EQ(count(frame, sf::Color::Green), 13 * 32);
    EXPECT_EQ(count(frame, sf::Color::Green, 255, 326, 268, 358), 13 * 32);
    EXPECT_EQ(count(showAndCapture(), sf::Color::Green), 1024 * 768); // the next frame starts green
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
    EXPECT_EQ(display.getCurrentFrame()[3].color, vq::CYAN);
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_TRUE(display.getCurrentFrame().empty());
    EXPECT_EQ(display.getLastFrame().size(), 14u);

    const std::string screen = display.lastFrameAsText();
    ASSERT_EQ(screen.size(), 24u * 81u - 1u);
    auto row = [&](int r) { return screen.substr(static_cast<std::size_t>(r) * 81, 80); };
    EXPECT_EQ(row(2).substr(8, 5), " abc "); // 8.5 .. 10.5 round up to columns 9 .. 11
    EXPECT_EQ(row(4).substr(5, 6), " wxyz ");
    EXPECT_EQ(row(6).substr(9, 6), " left ");
    EXPECT_EQ(row(8).substr(9, 5), " odd ");
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.lastFrameAsText(), blankScreen(80, 24));
}

// A frame as the game draws it: characters, each over the background colour
// in force when it is drawn, and the colour in force at the swap, which the
// next frame starts from.
struct Stroke {
    float x, y;
    char ch;
    vq::Color color, background;
};
struct ScriptedFrame {
    std::vector<Stroke> strokes;
    vq::Color clear_after;
};

// Frames the kept picture must bring up to date exactly: a screen of text,
// then frames that repeat it, move a character between cells across others,
// recolour one, drop one and add one in the middle of the order, change the
// clear colour, and change everything; then characters strewn anywhere,
// overlapping, a few of them moved or changed in each frame, and two on
// one spot drawn the other way round.
std::vector<ScriptedFrame> scriptedFrames() {
    std::mt19937 rng(4242);
    ScriptedFrame screen{{}, vq::BLACK};
    for (int row = 0; row < 20; row++)
        for (int col = 0; col < 80; col++)
            screen.strokes.push_back({static_cast<float>(col), static_cast<float>(row),
                                      static_cast<char>(33 + rng() % 94), static_cast<vq::Color>(rng() % 8),
                                      rng() % 6 ? vq::BLACK : vq::BLUE});
    screen.strokes.push_back({10.5f, 3.25f, '@', vq::RED, vq::BLACK}); // off the grid, over text
    std::vector<ScriptedFrame> frames = {screen, screen};
    frames.push_back(frames.back());
    frames.back().strokes.back().x += 0.37f; // moves a fraction of a cell
    frames.push_back(frames.back());
    frames.back().strokes[500].color = vq::CYAN;
    frames.push_back(frames.back());
    frames.back().strokes.erase(frames.back().strokes.begin() + 700);
    frames.back().strokes.insert(frames.back().strokes.begin() + 900, {33.5f, 7.5f, 'Q', vq::YELLOW, vq::RED});
    frames.push_back(frames.back());
    frames.back().clear_after = vq::GREEN;
    for (int i = 0; i < 4; i++) // drawn over green
        frames.push_back(frames.back());
    for (Stroke& s : frames.back().strokes)
        s.ch = static_cast<char>(33 + rng() % 94);
    ScriptedFrame strewn{{}, vq::GREEN};
    for (int i = 0; i < 800; i++)
        strewn.strokes.push_back({static_cast<float>(rng() % 1600) / 20, static_cast<float>(rng() % 480) / 20,
                                  static_cast<char>(33 + rng() % 94), static_cast<vq::Color>(rng() % 8),
                                  rng() % 2 ? vq::GREEN : vq::BLACK});
    strewn.strokes[101] = {strewn.strokes[100].x, strewn.strokes[100].y, 'M', vq::WHITE, vq::BLACK};
    strewn.strokes[100].background = vq::BLUE;
    frames.push_back(strewn);
    for (int f = 0; f < 12; f++) {
        frames.push_back(frames.back());
        if (f == 6)
            std::swap(frames.back().strokes[100], frames.back().strokes[101]);
        for (int change = 0; change < 3; change++) {
            Stroke& s = frames.back().strokes[rng() % 800];
            s.x += static_cast<float>(rng() % 21) / 20 - 0.5f;
            s.color = static_cast<vq::Color>(rng() % 8);
        }
    }
    return frames;
}

TEST_F(DisplayWindow, FramesBuiltOnTheKeptPictureMatchFramesDrawnWhole) {
    const std::vector<ScriptedFrame> frames = scriptedFrames();
    std::vector<sf::Image> kept_path;
    vq::priv::FrameCounts counts;
    for (bool reuse : {true, false}) {
        vq::priv::setFrameReuse(reuse);
        display.setBackgroundColor(vq::BLACK);
        ASSERT_EQ(display.swapBuffers(), 0);
        const vq::priv::FrameCounts before = vq::priv::frameCounts();
        for (std::size_t f = 0; f < frames.size(); f++) {
            for (const Stroke& s : frames[f].strokes) {
                display.setBackgroundColor(s.background);
                ASSERT_EQ(display.drawCh(Vector(s.x, s.y), s.ch, s.color), 0);
            }
            display.setBackgroundColor(frames[f].clear_after);
            const sf::Image image = showAndCapture();
            if (reuse) {
                kept_path.push_back(image);
                continue;
            }
            const sf::Image& a = kept_path[f];
            ASSERT_EQ(a.getSize(), image.getSize());
            EXPECT_EQ(std::memcmp(a.getPixelsPtr(), image.getPixelsPtr(), 4u * a.getSize().x * a.getSize().y), 0)
                << "frame " << f;
        }
        if (reuse) {
            counts = vq::priv::frameCounts();
            counts.drawn -= before.drawn;
            counts.updated -= before.updated;
            counts.reused -= before.reused;
        }
    }
    vq::priv::setFrameReuse(true);
    // Drawn whole: the first frame and the first over green, the next of
    // each again into the kept picture, and the changed screens.
    EXPECT_EQ(counts.drawn, 7u);
    EXPECT_EQ(counts.updated, 3u + 11u);
    EXPECT_EQ(counts.reused, 2u);
}

} // namespace
