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
#include <velloq/display/FrameDiff.h>
#include <velloq/display/QuadPainter.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/display/WindowProbe.h>

#include "LogCapture.h"
#include "ReferenceCharacter.h"

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
        "Failed to load font " + dir.path() + "/vq-font.ttf: No such file or directory",
        "Cannot draw character, window not created", "Cannot draw character, window not created",
        "Cannot swap buffers, window not created", "Failed to load window icon 'none.png'"};
    if (vq::priv::WindowSystemProbe::checks()) { // else SFML would end the process
        dir.copyFont();
        const std::string name = std::getenv("DISPLAY"); // the probe found one
        unsetenv("DISPLAY");
        EXPECT_EQ(display.startUp(), -1);
        setenv("DISPLAY", name.c_str(), 1);
        expected.push_back("Failed to create window: no display to open it on (DISPLAY is not set)");
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
    EXPECT_EQ(display.shutDown(), 0);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', vq::RED), -1) << "nothing is drawn after a shut-down";
    EXPECT_EQ(display.startUp(), 0) << "and the window opens again";
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
    std::vector<ScriptedFrame> frames = {screen, screen, screen};
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
        if (reuse)
            counted = std::to_string(after.drawn - before.drawn) + " drawn, " +
                      std::to_string(after.updated - before.updated) + " updated, " +
                      std::to_string(after.reused - before.reused) + " reused";
    }
    vq::priv::setFrameReuse(true);
    // Drawn whole: the first frame and the first over green, the next of
    // each again into the kept picture, and the changed screens.
    EXPECT_EQ(counted, "7 drawn, 14 updated, 2 reused");
}

// The comparison alone, quads in and lists out, on a 200 x 100 target: A,
// B and C overlap in a chain, D lies apart with E on it, and F, large and
// apart, makes drawing a frame whole cost more than small changes.
TEST(FrameDiff, PaintsOverWhatChangedAndRedrawsEveryQuadThePaintReaches) {
    using vq::priv::Quad;
    const auto quad = [](float x, float y, float size, std::uint32_t colour) {
        return Quad{x, y, x + size, y + size, sf::Color(colour), 10, 10, 30, 30};
    };
    const Quad A = quad(10, 10, 20, 1), B = quad(25, 10, 20, 2), C = quad(40, 10, 20, 3), D = quad(150, 60, 20, 4);
    const Quad E = quad(160, 70, 5, 5), F = quad(70, 30, 70, 6), A_recoloured = quad(10, 10, 20, 7);
    struct Case {
        const char* name;
        std::vector<Quad> before, after;
        std::string expected; // "whole", or the quads redrawn and how many areas are painted over
    };
    const std::vector<Case> cases = {
        {"the same", {A, B, C, D, F}, {A, B, C, D, F}, "redraw, paint over 0"},
        {"recoloured, along the chain", {A, B, C, D, F}, {A_recoloured, B, C, D, F}, "redraw 0 1 2, paint over 4"},
        {"removed alone", {A, B, C, D, F}, {A, B, C, F}, "redraw, paint over 1"},
        {"removed under others", {A, B, C, D, F}, {B, C, D, F}, "redraw 0 1, paint over 3"},
        {"added on top", {A, D, F}, {A, D, E, F}, "redraw 1 2, paint over 2"},
        {"order swapped", {A, B, D, F}, {B, A, D, F}, "redraw 0 1, paint over 3"},
        {"a new screen", {A, B, C, D, F}, {quad(0, 60, 30, 8), E}, "whole"},
        {"nothing to draw", {A, B}, {}, "whole"},
        {"not a number: everywhere", {A, D, F}, {A, quad(NAN, 5, 5, 9), D, F}, "whole"},
    };
    vq::priv::FrameDiff diff;
    for (const Case& c : cases) {
        std::string got = "whole";
        if (diff.plan(c.before, c.after, 200, 100)) {
            got = "redraw";
            for (std::size_t i : diff.redrawn())
                got += " " + std::to_string(i);
            got += ", paint over " + std::to_string(diff.erased().size());
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
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
    std::string first;   // where the first one is
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
            vqtest::drawReferenceCharacter(reference, font, c.x, c.y, c.ch, c.color, c.background);
        reference.display();
        batched.clear(clear);
        if (batch_knows_clear)
            batch.startFrame(clear);
        else
            batch.startFrameOverUnknown();
        for (const Placed& c : chars)
            EXPECT_TRUE(batch.add(c.x, c.y, c.ch, c.color, c.background));
        vq::priv::QuadPainter().drawAll(batched, batch.frame().quads, batch.texture());
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

    // Blocks among the frame's quads (they sample only the white texel) that
    // cover a whole cell.
    std::size_t wholeBlocks() const {
        return static_cast<std::size_t>(
            std::count_if(batch.frame().quads.begin(), batch.frame().quads.end(), [](const vq::priv::Quad& q) {
                return q.u1 == vq::priv::WHITE_TEXEL && q.u2 == vq::priv::WHITE_TEXEL &&
                       q.right - q.left > CELL_W - 0.01f && q.bottom - q.top > CELL_H - 0.01f;
            }));
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

// Every cell of the grid, on whole pixels and on cells, where blocks in the
// clear colour are cut down to the strips earlier glyphs reach into;
// characters a fraction of a cell apart, some partly or far off the target;
// spaces in the clear colour, as boxes draw them, among glyphs and blocks of
// another colour; odd characters over a glyph a missing block would show.
TEST_F(CharacterBatchTest, PaintsWhatDrawingEachCharacterAlonePaints) {
    const auto grid = [](bool whole_pixels) {
        std::mt19937 rng(whole_pixels ? 20240611 : 11);
        std::vector<Placed> grid;
        for (int row = 0; row < 24; row++)
            for (int col = 0; col < 80; col++)
                grid.push_back({whole_pixels ? std::floor(col * CELL_W) : col * CELL_W, row * CELL_H, randomGlyph(rng),
                                randomColor(rng), randomColor(rng)});
        for (std::size_t i = 0; i < grid.size(); i += whole_pixels ? 3 : 1)
            grid[i].background = sf::Color::Black;
        return grid;
    };
    const std::vector<Placed> whole_grid = grid(true), cell_grid = grid(false);
    std::mt19937 rng(7);
    std::vector<Placed> strewn, spaces, odd;
    for (int i = 0; i < 600; i++) {
        const float cx = static_cast<float>(rng() % 1620) / 20.0f - 1; // -1 .. 80 cells
        const float cy = static_cast<float>(rng() % 500) / 20.0f - 1;
        strewn.push_back({cx * CELL_W, cy * CELL_H, randomGlyph(rng), randomColor(rng),
                          rng() % 2 ? sf::Color::Black : randomColor(rng)});
    }
    strewn.push_back({1e9f, 100, 'W', sf::Color::Red, sf::Color::Blue}); // far off
    strewn.push_back({-1e30f, -1e30f, 'W', sf::Color::Red, sf::Color::Blue});
    rng.seed(99);
    for (int i = 0; i < 1500; i++) {
        const float x = std::floor(static_cast<float>(rng() % 158) / 2.0f * CELL_W);
        const float y = static_cast<float>(rng() % 46) / 2.0f * CELL_H;
        spaces.push_back(
            {x, y, rng() % 3 ? ' ' : randomGlyph(rng), randomColor(rng), rng() % 5 ? sf::Color::Blue : sf::Color::Red});
    }
    float left = 20;
    for (char ch : {' ', '\t', '\n', '\r', '\0', '\x7f', '\x01', '\xe9', '\xff', '~', '_', '@'}) {
        odd.push_back({left, 4 * CELL_H, '#', sf::Color::White, sf::Color::Black});
        odd.push_back({left, 4 * CELL_H, ch, sf::Color::Cyan, sf::Color::Red});
        left += 40;
    }
    struct Scene {
        const char* name;
        const std::vector<Placed>& chars;
        sf::Color clear;
        bool clear_known, exact; // exact on whole pixels
        bool cut;                // over a hundred blocks cut down or left out
    };
    const Scene scenes[] = {
        {"grid on whole pixels", whole_grid, sf::Color::Black, true, true, false},
        {"grid on whole pixels, ground unknown", whole_grid, sf::Color::Black, false, true, false},
        {"grid on cells", cell_grid, sf::Color::Black, true, false, true},
        {"strewn", strewn, sf::Color::Black, true, false, true},
        {"strewn, ground unknown", strewn, sf::Color::Black, false, false, false},
        {"spaces", spaces, sf::Color::Blue, true, true, true},
        {"odd characters", odd, sf::Color::Black, false, true, false},
    };
    for (const Scene& scene : scenes) {
        const Difference d = render(scene.chars, scene.clear, scene.clear_known);
        EXPECT_LE(d.max_channel, scene.exact ? 0 : MAX_CHANNEL_DIFFERENCE) << scene.name << ", " << d.first;
        EXPECT_LE(d.pixels, scene.exact ? 0 : MAX_DIFFERING_PIXELS) << scene.name << ", " << d.first;
        EXPECT_EQ(wholeBlocks() + 100 < scene.chars.size(), scene.cut) << scene.name;
    }
    // A new frame starts on untouched ground; without a font nothing is queued.
    batch.startFrame(sf::Color::Blue);
    EXPECT_TRUE(batch.add(100, 100, ' ', sf::Color::White, sf::Color::Blue));
    EXPECT_TRUE(batch.frame().quads.empty());
    batch.setFont(nullptr, CHAR_SIZE);
    EXPECT_FALSE(batch.add(100, 100, 'A', sf::Color::White, sf::Color::Red));
}

} // namespace
