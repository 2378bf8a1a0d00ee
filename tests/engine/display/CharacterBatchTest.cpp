// The batch must paint exactly what drawing each character as its own
// rectangle and text paints. Both are rendered off screen and compared pixel
// by pixel. Needs an X display (run under xvfb-run).

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

const unsigned WIDTH = 1024;
const unsigned HEIGHT = 768;
const float CELL_W = 1024.0f / 80.0f;
const float CELL_H = 768.0f / 24.0f;
const unsigned CHAR_SIZE = 25;

struct Placed {
    float x, y; // pixels
    char ch;
    sf::Color color;
    sf::Color background;
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

    struct Difference {
        int pixels = 0;      // pixels that differ at all
        int max_channel = 0; // largest difference in any channel
        std::string first;   // where the first one is, for the failure message
    };

    // Renders the characters both ways over the same clear colour and
    // compares the pictures.
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

        const sf::Image a = reference.getTexture().copyToImage();
        const sf::Image b = batched.getTexture().copyToImage();
        Difference d;
        for (unsigned y = 0; y < HEIGHT; y++) {
            for (unsigned x = 0; x < WIDTH; x++) {
                const sf::Color pa = vq::priv::pixelAt(a, x, y);
                const sf::Color pb = vq::priv::pixelAt(b, x, y);
                if (pa == pb)
                    continue;
                const int channel = std::max({std::abs(pa.r - pb.r), std::abs(pa.g - pb.g), std::abs(pa.b - pb.b),
                                              std::abs(pa.a - pb.a)});
                d.max_channel = std::max(d.max_channel, channel);
                if (d.pixels++ == 0)
                    d.first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") reference " +
                              std::to_string(pa.r) + "," + std::to_string(pa.g) + "," + std::to_string(pa.b) +
                              " batch " + std::to_string(pb.r) + "," + std::to_string(pb.g) + "," +
                              std::to_string(pb.b);
            }
        }
        return d;
    }

    sf::Font font;
    sf::RenderTexture reference;
    sf::RenderTexture batched;
    vq::priv::CharacterBatch batch;
};

const sf::Color PALETTE[] = {sf::Color::Black, sf::Color::Red,     sf::Color::Green, sf::Color::Yellow,
                             sf::Color::Blue,  sf::Color::Magenta, sf::Color::Cyan,  sf::Color::White};

sf::Color randomColor(std::mt19937& rng) { return PALETTE[rng() % 8]; }

std::vector<Placed> randomGrid(std::mt19937& rng, bool whole_pixels) {
    std::vector<Placed> chars;
    for (int row = 0; row < 24; row++) {
        for (int col = 0; col < 80; col++) {
            float x = col * CELL_W;
            if (whole_pixels)
                x = std::floor(x);
            chars.push_back({x, row * CELL_H, static_cast<char>(33 + rng() % 94), randomColor(rng), randomColor(rng)});
        }
    }
    return chars;
}

// Where a character lands on a fractional pixel, the two pictures may differ
// by one level in a few anti-aliased glyph edge pixels: text drawing has the
// GPU add each text's position to its glyph corners, the batch adds it on the
// CPU, and the last bits of the interpolated texture coordinates then differ,
// so linear filtering now and then rounds to the neighbouring 8-bit value.
// On whole pixels both sums are exact and the pictures are identical.
const int MAX_CHANNEL_DIFFERENCE = 1;
const int MAX_DIFFERING_PIXELS = WIDTH * HEIGHT / 2000;

// The display's case: blocks in the colour the frame was cleared to, which
// the batch cuts down to what earlier glyphs painted, and blocks in other
// colours, which it paints whole.
TEST_F(CharacterBatchTest, FullGridOnWholePixelsIsIdenticalToPerCharacterDrawing) {
    for (bool knows_clear : {true, false}) {
        std::mt19937 rng(20240611);
        std::vector<Placed> grid = randomGrid(rng, true);
        for (std::size_t i = 0; i < grid.size(); i += 7)
            grid[i].background = sf::Color::Black; // the clear colour
        const Difference d = render(grid, sf::Color::Black, knows_clear);
        EXPECT_EQ(d.pixels, 0) << d.first << (knows_clear ? " (clear colour known)" : "");
    }
}

TEST_F(CharacterBatchTest, FullGridOnCellPositionsDiffersOnlyByFilterRounding) {
    std::mt19937 rng(11);
    std::vector<Placed> grid = randomGrid(rng, false);
    for (Placed& c : grid)
        c.background = sf::Color::Black;
    const Difference d = render(grid, sf::Color::Black, true);
    RecordProperty("differing_pixels", d.pixels);
    EXPECT_LE(d.max_channel, MAX_CHANNEL_DIFFERENCE) << d.first;
    EXPECT_LE(d.pixels, MAX_DIFFERING_PIXELS) << d.first;
    // Only the strips where glyphs reach into the next cell are repainted.
    const double whole_blocks = grid.size() * CELL_W * CELL_H;
    EXPECT_LT(batch.getBlockArea(), whole_blocks / 2);
    EXPECT_GT(batch.getBlockArea(), 0.0);
}

TEST_F(CharacterBatchTest, OverlappingAndFractionalPositionsKeepDrawingOrder) {
    // Characters a fraction of a cell apart overlap: each later block must
    // hide the earlier glyphs exactly as the per-character drawing does.
    std::mt19937 rng(7);
    std::vector<Placed> chars;
    for (int i = 0; i < 600; i++) {
        const float cx = static_cast<float>(rng() % 1580) / 20.0f; // 0 .. 79 in twentieths of a cell
        const float cy = static_cast<float>(rng() % 460) / 20.0f;
        chars.push_back({cx * CELL_W, cy * CELL_H, static_cast<char>(33 + rng() % 94), randomColor(rng),
                         randomColor(rng)});
    }
    // Partly off the target on every side.
    chars.push_back({-5.0f, -3.0f, 'W', sf::Color::Red, sf::Color::Blue});
    chars.push_back({1020.0f, 760.0f, 'M', sf::Color::Green, sf::Color::Yellow});
    for (bool knows_clear : {true, false}) {
        const Difference d = render(chars, sf::Color::Black, knows_clear);
        EXPECT_LE(d.max_channel, MAX_CHANNEL_DIFFERENCE) << d.first;
        EXPECT_LE(d.pixels, MAX_DIFFERING_PIXELS) << d.first;
    }
}

TEST_F(CharacterBatchTest, WhitespaceControlAndHighCharactersMatch) {
    const char special[] = {' ', '\t', '\n', '\r', '\0', '\x7f', '\x01', static_cast<char>(0xe9),
                            static_cast<char>(0xff), '~', '_', '|', '@'};
    std::vector<Placed> chars;
    float x = 20;
    for (char ch : special) {
        // Over a glyph, so a block that went missing would show.
        chars.push_back({x, 4 * CELL_H, '#', sf::Color::White, sf::Color::Black});
        chars.push_back({x, 4 * CELL_H, ch, sf::Color::Cyan, sf::Color::Red});
        x += 40;
    }
    const Difference d = render(chars, sf::Color::Black, false);
    EXPECT_EQ(d.pixels, 0) << d.first;
}

TEST_F(CharacterBatchTest, BlocksLeftOutOverUntouchedGroundChangeNothing) {
    // Mostly spaces in the clear colour, as boxes and status texts draw them,
    // among glyphs and other blocks: the blocks left out must be exactly ones
    // that would have painted the clear colour onto clear ground.
    std::mt19937 rng(99);
    std::vector<Placed> chars;
    for (int i = 0; i < 1500; i++) {
        const float x = std::floor(static_cast<float>(rng() % 158) / 2.0f * CELL_W);
        const float y = static_cast<float>(rng() % 46) / 2.0f * CELL_H;
        const bool blank = rng() % 3 != 0;
        chars.push_back({x, y, blank ? ' ' : static_cast<char>(33 + rng() % 94), randomColor(rng),
                         rng() % 5 == 0 ? sf::Color::Red : sf::Color::Blue});
    }
    const Difference d = render(chars, sf::Color::Blue, true);
    EXPECT_EQ(d.pixels, 0) << d.first;
    EXPECT_GT(batch.getSkippedBlockCount(), 100u);
    EXPECT_LT(batch.getSkippedBlockCount(), chars.size());
}

TEST_F(CharacterBatchTest, SkipsOnlyClearColouredBlocksOnUntouchedGround) {
    batch.setClearColor(sf::Color::Black);
    EXPECT_TRUE(batch.add(0, 0, ' ', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getSkippedBlockCount(), 1u);
    EXPECT_EQ(batch.getVertexCount(), 0u);
    // Another colour paints.
    EXPECT_TRUE(batch.add(10 * CELL_W, 0, ' ', sf::Color::White, sf::Color::Red));
    EXPECT_EQ(batch.getSkippedBlockCount(), 1u);
    EXPECT_EQ(batch.getVertexCount(), 6u);
    // Over the red block the clear colour must paint too.
    EXPECT_TRUE(batch.add(10.5f * CELL_W, 0, ' ', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 12u);
    // A glyph's block paints nothing new; the next block over its glyph must paint.
    EXPECT_TRUE(batch.add(30 * CELL_W, 5 * CELL_H, 'A', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 18u);
    EXPECT_TRUE(batch.add(30 * CELL_W, 5 * CELL_H, ' ', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 24u);
    // A new frame starts from untouched ground again.
    batch.clear();
    EXPECT_TRUE(batch.add(30 * CELL_W, 5 * CELL_H, ' ', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 0u);
    // Without a known clear colour every block is drawn.
    batch.forgetClearColor();
    EXPECT_TRUE(batch.add(40 * CELL_W, 5 * CELL_H, ' ', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 6u);
}

TEST_F(CharacterBatchTest, GlyphTextureHasTheOpaqueWhiteTexelBlocksUse) {
    font.getGlyph(U'A', CHAR_SIZE, true);
    const sf::Image texture = font.getTexture(CHAR_SIZE).copyToImage();
    for (unsigned y = 0; y < 2; y++)
        for (unsigned x = 0; x < 2; x++)
            EXPECT_EQ(vq::priv::pixelAt(texture, x, y), sf::Color::White) << x << "," << y;
}

TEST_F(CharacterBatchTest, RefusesCharactersWithoutAFont) {
    batch.setFont(nullptr, CHAR_SIZE);
    EXPECT_FALSE(batch.add(0, 0, 'A', sf::Color::White, sf::Color::Black));
    EXPECT_EQ(batch.getVertexCount(), 0u);
}

} // namespace
