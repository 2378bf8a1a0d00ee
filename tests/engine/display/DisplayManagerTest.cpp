// The display: failures without a window, characters, blocks and strings in
// their cells, the shipped font's fit, frames built on the kept picture, and
// the character batch against drawing one character at a time. Needs an X
// display (run under xvfb-run).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <velloq/display/CharacterBatch.h>
#include <velloq/display/ConvertColor.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/FrameCapture.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/display/WindowProbe.h>

#include "LogCapture.h"

namespace {

using vq::DisplayManager;
using vq::DrawnCharacter;
using vq::Vector;
using vqtest::LogCapture;

// Without a font, or without a window system, there is no window; without a
// window drawing fails, each failure with its log line. Units and colours
// convert all the same.
TEST(DisplayWithoutWindow, StartUpDrawingAndSwappingFailWithTheirLogLinesButUnitsConvert) {
    EXPECT_EQ(vq::spacesToPixels(Vector(1, 1)), Vector(12.8f, 32.0f));
    const std::pair<int, sf::Color> colours[] = {{vq::BLACK, sf::Color(0, 0, 0)},
                                                 {vq::YELLOW, sf::Color(255, 255, 0)},
                                                 {vq::CYAN, sf::Color(0, 255, 255)},
                                                 {8, sf::Color::White},
                                                 {-1, sf::Color::White}};
    for (const auto& c : colours)
        EXPECT_EQ(vq::convertColor(static_cast<vq::Color>(c.first)), c.second) << c.first;
    vqtest::TempDir dir; // holds no font
    LogCapture log;
    DisplayManager& display = DisplayManager::getInstance();
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "AB", vq::JUSTIFY_LEFT, vq::RED), -1); // stops at the first
    EXPECT_EQ(display.drawString(Vector(1, 1), "", vq::JUSTIFY_LEFT, vq::RED), 0);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_EQ(display.setWindowIcon("none.png"), -1);
    EXPECT_TRUE(display.getCurrentFrame().empty());
    std::vector<std::string> expected = {
        "Failed to load font", "Cannot draw character, window not created", "Cannot draw character, window not created",
        "Cannot swap buffers, window not created", "Failed to load window icon 'none.png'"};
    if (vq::priv::WindowSystemProbe::checks()) { // else SFML would end the process
        dir.copyFont();
        const std::string name = std::getenv("DISPLAY"); // the probe found one
        unsetenv("DISPLAY");
        EXPECT_EQ(display.startUp(), -1);
        setenv("DISPLAY", name.c_str(), 1);
        expected.push_back("Failed to create window");
    }
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_EQ(LogCapture::messages(), expected);
}

class DisplayWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dir.copyFont();
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
    static int count(const sf::Image& image, Match match, unsigned x0 = 0, unsigned y0 = 0, unsigned x1 = 1024,
                     unsigned y1 = 768) {
        int n = 0;
        for (unsigned y = y0; y < y1; y++)
            for (unsigned x = x0; x < x1; x++)
                n += match(vq::priv::pixelAt(image, x, y)) ? 1 : 0;
        return n;
    }
    static std::function<bool(sf::Color)> is(sf::Color colour) {
        return [colour](sf::Color c) { return c == colour; };
    }

    vqtest::TempDir dir;
    LogCapture log;
    DisplayManager& display = DisplayManager::getInstance();
};

TEST_F(DisplayWindow, OneWindowWhoseCharactersShowInTheirColourInTheirCellOverTheirBlock) {
    sf::RenderWindow* p_window = display.getWindow();
    EXPECT_EQ(display.startUp(), 0) << "a second start-up keeps the one window";
    EXPECT_TRUE(display.getWindow() == p_window && p_window->getSize() == sf::Vector2u(1024, 768));
    ASSERT_EQ(display.drawCh(Vector(10, 5), 'X', vq::RED), 0);
    sf::Image frame = showAndCapture();
    // Red ink, anti-aliased edges included, only around cell (10, 5), which
    // spans pixels [128, 140.8) x [160, 192); everything else stays black.
    auto red_ink = [](sf::Color c) { return c.r > 0 && c.g == 0 && c.b == 0; };
    const int inside = count(frame, red_ink, 124, 160, 146, 200);
    EXPECT_GT(inside, 40);
    EXPECT_GT(count(frame, is(sf::Color::Red), 124, 160, 146, 200), 5); // the shipped font's X has 10
    EXPECT_EQ(count(frame, is(sf::Color::Black)) + inside, 1024 * 768);

    display.setBackgroundColor(vq::BLUE);
    ASSERT_EQ(display.swapBuffers(), 0); // cleared to blue
    ASSERT_EQ(display.drawCh(Vector(3, 3), 'o', vq::YELLOW), 0);
    ASSERT_EQ(display.drawCh(Vector(3, 3), ' ', vq::WHITE), 0);
    display.setBackgroundColor(vq::GREEN);
    ASSERT_EQ(display.drawCh(Vector(20, 10), ' ', vq::WHITE), 0);
    frame = showAndCapture();
    // The space's blue block hides the glyph where the block lies: cell
    // (3, 3)'s block spans x 37.12 .. 49.92 and y 102.4 .. 134.4.
    EXPECT_EQ(count(frame, is(sf::Color::Blue), 37, 102, 50, 134), 13 * 32);
    EXPECT_EQ(vq::priv::pixelAt(frame, 700, 600), sf::Color::Blue);
    // Cell (20, 10)'s block, 12.8 x 32 from (254.72, 326.4), shows green.
    EXPECT_EQ(count(frame, is(sf::Color::Green)), 13 * 32);
    EXPECT_EQ(count(frame, is(sf::Color::Green), 255, 326, 268, 358), 13 * 32);
    EXPECT_EQ(count(showAndCapture(), is(sf::Color::Green)), 1024 * 768); // the next frame starts green
}

TEST_F(DisplayWindow, StringsAreJustifiedAroundTheirPosition) {
    ASSERT_EQ(display.drawString(Vector(10, 2), "abc", vq::JUSTIFY_CENTER, vq::WHITE), 0);
    ASSERT_EQ(display.drawString(Vector(10, 4), "wxyz", vq::JUSTIFY_RIGHT, vq::CYAN), 0);
    ASSERT_EQ(display.drawString(Vector(10, 6), "left", vq::JUSTIFY_LEFT, vq::RED), 0);
    ASSERT_EQ(display.drawString(Vector(10, 8), "odd", static_cast<vq::Justification>(7), vq::RED), 0);
    EXPECT_EQ(display.getCurrentFrame()[3].color, vq::CYAN);
    ASSERT_EQ(display.swapBuffers(), 0);
    std::string shown;
    for (int row : {2, 4, 6, 8}) // 8.5 .. 10.5 round up to columns 9 .. 11
        shown += display.lastFrameAsText().substr(static_cast<std::size_t>(row) * 81 + 5, 10) + "|";
    EXPECT_EQ(shown, "    abc   | wxyz     |     left |     odd  |");
    // After a shut-down nothing is drawn, and the window opens again.
    EXPECT_EQ(display.shutDown(), 0);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1);
    EXPECT_EQ(display.startUp(), 0);
}

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

// The shipped font, drawn by the display as the game draws it, keeps every
// printable character's ink inside the character's own cell: the next
// cell's background block would paint over whatever sticks out.
TEST_F(DisplayWindow, EveryPrintableCharacterOfTheShippedFontKeepsItsInkInsideItsCell) {
    for (char ch = '!'; ch <= '~'; ch++) // the space draws no ink
        ASSERT_EQ(display.drawCh(cellOf(ch - '!'), ch, vq::WHITE), 0);
    const sf::Image frame = showAndCapture();

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
                const float c = vq::priv::pixelAt(frame, unsigned(x), unsigned(y)).r / 255.0f; // white on black
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
    std::string counted;
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
            ASSERT_EQ(image.getSize(), sf::Vector2u(1024, 768));
            if (reuse)
                kept_path.push_back(image);
            else
                EXPECT_EQ(std::memcmp(kept_path[f].getPixelsPtr(), image.getPixelsPtr(), 4u * 1024 * 768), 0) << f;
        }
        const vq::priv::FrameCounts after = vq::priv::frameCounts();
        counted += reuse ? std::to_string(after.drawn - before.drawn) + " drawn, " +
                               std::to_string(after.updated - before.updated) + " updated, " +
                               std::to_string(after.reused - before.reused) + " reused"
                         : "";
    }
    vq::priv::setFrameReuse(true);
    // Drawn whole: the first frame and the first over green, the next of
    // each again into the kept picture, and the changed screens.
    EXPECT_EQ(counted, "7 drawn, 14 updated, 2 reused");
}

// The batch must paint what drawing each character as its own rectangle and
// text paints. Both are rendered off screen and compared pixel by pixel.
const unsigned WIDTH = 1024, HEIGHT = 768, CHAR_SIZE = 25;
const float CELL_W = 12.8f, CELL_H = 32.0f;

struct Placed {
    float x, y; // pixels
    char ch;
    sf::Color color, background;
};

struct Difference {
    int pixels = 0;      // pixels that differ at all
    int max_channel = 0; // largest difference in any channel
    std::string first;   // the first one, for failure messages
};

class CharacterBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(vq::priv::openFont(font, VQ_DATA_DIR "/vq-font.ttf"));
        ASSERT_TRUE(vq::priv::createRenderTexture(reference, WIDTH, HEIGHT));
        ASSERT_TRUE(vq::priv::createRenderTexture(batched, WIDTH, HEIGHT));
        batch.setFont(&font, CHAR_SIZE);
        batch.setCellSize(CELL_W, CELL_H);
        batch.setTargetSize(WIDTH, HEIGHT);
    }

    // Renders the characters both ways over the same clear colour.
    Difference render(const std::vector<Placed>& chars, sf::Color clear, bool batch_knows_clear) {
        reference.clear(clear);
        for (const Placed& c : chars)
            vq::priv::CharacterBatch::drawReference(reference, font, CHAR_SIZE, CELL_W, CELL_H, c.x, c.y, c.ch, c.color,
                                                    c.background);
        reference.display();
        batched.clear(clear);
        batch.clear();
        if (batch_knows_clear)
            batch.setClearColor(clear);
        else
            batch.forgetClearColor();
        for (const Placed& c : chars)
            EXPECT_TRUE(batch.add(c.x, c.y, c.ch, c.color, c.background));
        batch.draw(batched);
        batched.display();

        const sf::Image a = reference.getTexture().copyToImage(), b = batched.getTexture().copyToImage();
        Difference d;
        for (unsigned y = 0; y < HEIGHT; y++) {
            for (unsigned x = 0; x < WIDTH; x++) {
                const sf::Color pa = vq::priv::pixelAt(a, x, y), pb = vq::priv::pixelAt(b, x, y);
                if (pa == pb)
                    continue;
                d.max_channel = std::max({d.max_channel, std::abs(pa.r - pb.r), std::abs(pa.g - pb.g),
                                          std::abs(pa.b - pb.b), std::abs(pa.a - pb.a)});
                if (d.pixels++ == 0)
                    d.first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
        return d;
    }

    sf::Font font;
    sf::RenderTexture reference, batched;
    vq::priv::CharacterBatch batch;
};

sf::Color randomColor(std::mt19937& rng) { return vq::convertColor(static_cast<vq::Color>(rng() % 8)); }

char randomGlyph(std::mt19937& rng) { return static_cast<char>(33 + rng() % 94); }

// On fractional pixels the pictures may differ by one level in a few
// anti-aliased glyph edge pixels: text drawing has the GPU add each text's
// position to its glyph corners, the batch adds it on the CPU, the last bits
// of the interpolated texture coordinates differ, and linear filtering now
// and then rounds to the neighbouring 8-bit value. On whole pixels both sums
// are exact and the pictures are identical.
const int MAX_CHANNEL_DIFFERENCE = 1;
const int MAX_DIFFERING_PIXELS = WIDTH * HEIGHT / 2000;

// Every cell of the grid. Blocks in the clear colour are what the display
// draws: the batch cuts them down to what earlier glyphs painted, and only
// the strips where glyphs reach into the next cell are repainted. Others are
// painted whole.
TEST_F(CharacterBatchTest, FullGridsMatchOnWholePixelsExactlyAndOnCellsButForFilterRounding) {
    for (const auto& [whole_pixels, knows_clear] : {std::pair(true, true), {true, false}, {false, true}}) {
        SCOPED_TRACE(std::string(whole_pixels ? "whole pixels" : "cells") + (knows_clear ? ", clear known" : ""));
        std::mt19937 rng(whole_pixels ? 20240611 : 11);
        std::vector<Placed> grid;
        for (int row = 0; row < 24; row++)
            for (int col = 0; col < 80; col++)
                grid.push_back({whole_pixels ? std::floor(col * CELL_W) : col * CELL_W, row * CELL_H, randomGlyph(rng),
                                randomColor(rng), randomColor(rng)});
        for (std::size_t i = 0; i < grid.size(); i += whole_pixels ? 3 : 1)
            grid[i].background = sf::Color::Black;
        const Difference d = render(grid, sf::Color::Black, knows_clear);
        EXPECT_LE(d.max_channel, whole_pixels ? 0 : MAX_CHANNEL_DIFFERENCE) << d.first;
        EXPECT_LE(d.pixels, whole_pixels ? 0 : MAX_DIFFERING_PIXELS) << d.first;
        EXPECT_TRUE(whole_pixels || (batch.getBlockArea() > 0 && batch.getBlockArea() < WIDTH * HEIGHT / 2.0));
    }
}

TEST_F(CharacterBatchTest, OverlapsKeepDrawingOrder) {
    // A fraction of a cell apart, each later block must hide earlier glyphs
    // just as the per-character drawing does; some lie partly off the target.
    std::mt19937 rng(7);
    std::vector<Placed> chars;
    for (int i = 0; i < 600; i++) {
        const float cx = static_cast<float>(rng() % 1620) / 20.0f - 1; // -1 .. 80 cells
        const float cy = static_cast<float>(rng() % 500) / 20.0f - 1;
        chars.push_back({cx * CELL_W, cy * CELL_H, randomGlyph(rng), randomColor(rng),
                         rng() % 2 ? sf::Color::Black : randomColor(rng)});
    }
    chars.push_back({1e9f, 100, 'W', sf::Color::Red, sf::Color::Blue}); // far off
    chars.push_back({-1e30f, -1e30f, 'W', sf::Color::Red, sf::Color::Blue});
    for (bool knows_clear : {true, false}) {
        const Difference d = render(chars, sf::Color::Black, knows_clear);
        EXPECT_LE(d.max_channel, MAX_CHANNEL_DIFFERENCE) << d.first;
        EXPECT_LE(d.pixels, MAX_DIFFERING_PIXELS) << d.first;
    }
}

TEST_F(CharacterBatchTest, OddCharactersAndBlocksLeftOutOverUntouchedGroundChangeNothing) {
    // Over a glyph, so a block that went missing would show.
    std::vector<Placed> odd;
    float left = 20;
    for (char ch : {' ', '\t', '\n', '\r', '\0', '\x7f', '\x01', '\xe9', '\xff', '~', '_', '@'}) {
        odd.push_back({left, 4 * CELL_H, '#', sf::Color::White, sf::Color::Black});
        odd.push_back({left, 4 * CELL_H, ch, sf::Color::Cyan, sf::Color::Red});
        left += 40;
    }
    EXPECT_EQ(render(odd, sf::Color::Black, false).pixels, 0);
    // Mostly spaces in the clear colour, as boxes draw them, among glyphs and
    // blocks of another colour.
    std::mt19937 rng(99);
    std::vector<Placed> chars;
    for (int i = 0; i < 1500; i++) {
        const float x = std::floor(static_cast<float>(rng() % 158) / 2.0f * CELL_W);
        const float y = static_cast<float>(rng() % 46) / 2.0f * CELL_H;
        chars.push_back(
            {x, y, rng() % 3 ? ' ' : randomGlyph(rng), randomColor(rng), rng() % 5 ? sf::Color::Blue : sf::Color::Red});
    }
    const Difference d = render(chars, sf::Color::Blue, true);
    EXPECT_EQ(d.pixels, 0) << d.first;
    EXPECT_GT(batch.getSkippedBlockCount(), 100u);
    EXPECT_LT(batch.getSkippedBlockCount(), chars.size());
    // A new frame starts on untouched ground; without a font nothing is queued.
    batch.clear();
    EXPECT_TRUE(batch.add(100, 100, ' ', sf::Color::White, sf::Color::Blue));
    EXPECT_EQ(batch.getVertexCount(), 0u);
    batch.setFont(nullptr, CHAR_SIZE);
    EXPECT_FALSE(batch.add(100, 100, 'A', sf::Color::White, sf::Color::Red));
}

} // namespace
