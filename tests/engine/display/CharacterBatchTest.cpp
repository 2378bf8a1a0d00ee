// The batch must paint what drawing each character as its own rectangle and
// text paints. Both are rendered off screen and compared pixel by pixel.
// Needs an X display (run under xvfb-run).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "display/CharacterBatch.h"
#include "display/SfmlCompat.h"

namespace {

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
            vq::priv::CharacterBatch::drawReference(reference, font, CHAR_SIZE, CELL_W, CELL_H, c.x, c.y, c.ch,
                                                    c.color, c.background);
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

sf::Color randomColor(std::mt19937& rng) {
    const sf::Color palette[] = {sf::Color::Black, sf::Color::Red,     sf::Color::Green, sf::Color::Yellow,
                                 sf::Color::Blue,  sf::Color::Magenta, sf::Color::Cyan,  sf::Color::White};
    return palette[rng() % 8];
}

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
    for (bool whole_pixels : {true, false}) {
        for (bool knows_clear : {true, false}) {
            if (!whole_pixels && !knows_clear)
                continue;
            SCOPED_TRACE(std::string(whole_pixels ? "whole pixels" : "cells") + (knows_clear ? ", clear known" : ""));
            std::mt19937 rng(whole_pixels ? 20240611 : 11);
            std::vector<Placed> grid;
            for (int row = 0; row < 24; row++)
                for (int col = 0; col < 80; col++)
                    grid.push_back({whole_pixels ? std::floor(col * CELL_W) : col * CELL_W, row * CELL_H,
                                    randomGlyph(rng), randomColor(rng), randomColor(rng)});
            for (std::size_t i = 0; i < grid.size(); i += whole_pixels ? 3 : 1)
                grid[i].background = sf::Color::Black;
            const Difference d = render(grid, sf::Color::Black, knows_clear);
            EXPECT_LE(d.max_channel, whole_pixels ? 0 : MAX_CHANNEL_DIFFERENCE) << d.first;
            EXPECT_LE(d.pixels, whole_pixels ? 0 : MAX_DIFFERING_PIXELS) << d.first;
            if (!whole_pixels) {
                EXPECT_GT(batch.getBlockArea(), 0.0);
                EXPECT_LT(batch.getBlockArea(), grid.size() * CELL_W * CELL_H / 2);
            }
        }
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
        chars.push_back({x, y, rng() % 3 ? ' ' : randomGlyph(rng), randomColor(rng),
                         rng() % 5 ? sf::Color::Blue : sf::Color::Red});
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
