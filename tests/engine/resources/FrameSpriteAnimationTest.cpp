#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ResourceTestUtil.h"
#include "TempDir.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"
#include "resources/Animation.h"
#include "resources/Frame.h"
#include "resources/Sprite.h"

using vq::Animation;
using vq::DisplayManager;
using vq::Frame;
using vq::Sprite;
using vq::Vector;
using vqtest::logHas;
using vqtest::messageLines;
using vqtest::TempDir;

namespace {

// Drawing needs the window; without a display these tests are skipped.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The font is read from the working directory (the repository root).
        if (DisplayManager::getInstance().startUp() != 0)
            GTEST_SKIP() << "no display available";
    }
    void TearDown() override {
        if (DisplayManager::getInstance().isStarted())
            DisplayManager::getInstance().shutDown();
    }

    static std::vector<vq::DrawnCharacter> drawn() { return DisplayManager::getInstance().getCurrentFrame(); }
    // Position of the one drawn character ch; fails the test when it is not
    // drawn exactly once.
    static Vector where(char ch) {
        Vector found(-100, -100);
        int times = 0;
        for (const vq::DrawnCharacter& cell : drawn())
            if (cell.ch == ch) {
                found = cell.position;
                times++;
            }
        EXPECT_EQ(1, times) << "character '" << ch << "'";
        return found;
    }
    static void clearDrawn() { DisplayManager::getInstance().swapBuffers(); }
};

void expectAt(Vector actual, float x, float y) {
    EXPECT_FLOAT_EQ(x, actual.getX());
    EXPECT_FLOAT_EQ(y, actual.getY());
}

TEST_F(DrawingTest, FrameIsCentredWithRealOffsetsUnderEachTransform) {
    const Frame frame(3, 2, "abcdef");
    ASSERT_EQ(0, frame.draw(Vector(10, 5), vq::GREEN));
    ASSERT_EQ(6u, drawn().size());
    expectAt(where('a'), 8.5f, 4);
    expectAt(where('c'), 10.5f, 4);
    expectAt(where('f'), 10.5f, 5);
    EXPECT_EQ(vq::GREEN, drawn()[0].color);

    clearDrawn();
    ASSERT_EQ(0, frame.draw(Vector(10, 5), vq::GREEN, vq::TRANSFORM_FLIP_HORIZONTAL));
    expectAt(where('c'), 8.5f, 4);
    expectAt(where('a'), 10.5f, 4);
    expectAt(where('d'), 10.5f, 5);

    clearDrawn();
    ASSERT_EQ(0, frame.draw(Vector(10, 5), vq::GREEN, vq::TRANSFORM_FLIP_VERTICAL));
    expectAt(where('d'), 8.5f, 4);
    expectAt(where('a'), 8.5f, 5);
    expectAt(where('f'), 10.5f, 4);

    clearDrawn();
    ASSERT_EQ(0, frame.draw(Vector(10, 5), vq::GREEN, vq::TRANSFORM_FLIP_BOTH));
    expectAt(where('f'), 8.5f, 4);
    expectAt(where('a'), 10.5f, 5);
    expectAt(where('d'), 10.5f, 4);
}

TEST_F(DrawingTest, TransparentCharacterIsSkippedAndSpacesAreDrawn) {
    const Frame frame(3, 2, "a#b# c", '#');
    ASSERT_EQ(0, frame.draw(Vector(1, 1), vq::WHITE));
    std::string chars;
    for (const vq::DrawnCharacter& cell : drawn())
        chars += cell.ch;
    EXPECT_EQ("ab c", chars);
    expectAt(where(' '), -0.5f + 1, 1);

    // Without transparency every character, '#' included, is drawn.
    clearDrawn();
    ASSERT_EQ(0, Frame(3, 2, "a#b# c").draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(6u, drawn().size());
}

TEST_F(DrawingTest, SpriteDrawsInItsColourAndAnimationShowsTheCurrentFrame) {
    Sprite sprite(2);
    sprite.setColor(vq::MAGENTA);
    sprite.setSlowdown(2);
    sprite.addFrame(Frame(1, 1, "A"));
    sprite.addFrame(Frame(1, 1, "B"));

    Animation animation;
    animation.setSprite(&sprite);
    animation.setTransform(vq::TRANSFORM_FLIP_BOTH);
    std::string shown;
    for (int i = 0; i < 5; i++) {
        clearDrawn();
        ASSERT_EQ(0, animation.draw(Vector(4, 4)));
        ASSERT_EQ(1u, drawn().size());
        shown += drawn()[0].ch;
        EXPECT_EQ(vq::MAGENTA, drawn()[0].color);
    }
    EXPECT_EQ("AABBA", shown);
}

TEST_F(DrawingTest, FrameWithFewerCharactersThanItsSizeDrawsWhatItHas) {
    // Hand-built frames may be inconsistent; drawing must stay in bounds.
    ASSERT_EQ(0, Frame(3, 3, "abcd").draw(Vector(5, 5), vq::WHITE));
    EXPECT_EQ(4u, drawn().size());
    expectAt(where('d'), 3.5f, 4.5f);
}

// Everything below works without a window: the log tells what happened.
class FrameLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
        vq::LogManager::getInstance().setFlush(true);
        vq::LogManager::getInstance().setLogLevel(-1);
    }
    void TearDown() override { vq::LogManager::getInstance().shutDown(); }
    TempDir dir;
};

TEST_F(FrameLogTest, FramesThatCannotBeDrawnSayWhyInOrder) {
    EXPECT_EQ(-1, Frame().draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(-1, Frame(0, 0, "").draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(-1, Frame(0, 1, "x").draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(-1, Frame(-2, -2, "x").draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(-1, Frame(1, 0, "x").draw(Vector(1, 1), vq::WHITE));
    const std::vector<std::string> expected = {
        "Cannot draw empty frame",           "Cannot draw empty frame",
        "Cannot draw frame with width <= 0", "Cannot draw frame with width <= 0",
        "Cannot draw frame with height <= 0",
    };
    EXPECT_EQ(expected, messageLines());
}

TEST_F(FrameLogTest, SpriteHoldsAtMostItsCapacity) {
    Sprite sprite(2);
    EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, "a")));
    EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, "b")));
    EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "c")));
    EXPECT_EQ(2, sprite.getFrameCount());
    EXPECT_EQ("b", sprite.getFrame(1).getString());
    EXPECT_TRUE(logHas("Failed to add frame, frame array is full"));

    // A sprite with no room at all, even from a nonsensical capacity.
    Sprite none(-4);
    EXPECT_EQ(-1, none.addFrame(Frame(1, 1, "a")));
    EXPECT_EQ(0, none.getFrameCount());
}

TEST_F(FrameLogTest, FramesOutOfRangeAreEmptyAndNotDrawn) {
    Sprite sprite(3);
    sprite.addFrame(Frame(1, 1, "a"));
    EXPECT_EQ("", sprite.getFrame(1).getString());
    EXPECT_EQ(0, sprite.getFrame(-1).getWidth());
    EXPECT_EQ(-1, sprite.draw(1, Vector(0, 0)));
    EXPECT_EQ(-1, sprite.draw(-1, Vector(0, 0), vq::TRANSFORM_FLIP_BOTH));
    // Written at any log level.
    vq::LogManager::getInstance().setLogLevel(1000);
    EXPECT_EQ(-1, sprite.draw(7, Vector(0, 0)));
    const std::vector<std::string> expected = {"Frame number 1 out of range", "Frame number -1 out of range",
                                               "Frame number 7 out of range"};
    EXPECT_EQ(expected, messageLines());
}

// Sprite of count one-cell frames with the given slowdown.
void fill(Sprite& sprite, int count, int slowdown) {
    sprite.setSlowdown(slowdown);
    for (int i = 0; i < count; i++)
        sprite.addFrame(Frame(1, 1, std::string(1, static_cast<char>('A' + i))));
}

// Frame index shown by each of n draws.
std::string shownFrames(Animation& animation, int draws) {
    std::string shown;
    for (int i = 0; i < draws; i++) {
        shown += static_cast<char>('0' + animation.getIndex());
        animation.draw(Vector(3, 3)); // fails without a window, still advances
    }
    return shown;
}

TEST_F(FrameLogTest, AnimationCyclesBySlowdown) {
    Sprite sprite(2);
    fill(sprite, 2, 3);
    Animation animation;
    animation.setSprite(&sprite);
    EXPECT_EQ("000111000", shownFrames(animation, 9));
    EXPECT_EQ(0, animation.getSlowdownCount());

    Sprite three(3);
    fill(three, 3, 1);
    animation.setSprite(&three);
    EXPECT_EQ("0120120", shownFrames(animation, 7));

    // A negative slowdown (legal in files) advances on every draw as well.
    three.setSlowdown(-2);
    animation.setSprite(&three);
    EXPECT_EQ("01201", shownFrames(animation, 5));
}

TEST_F(FrameLogTest, FrozenAnimationKeepsItsFrame) {
    Sprite sprite(2);
    fill(sprite, 2, 1);
    Animation animation;
    animation.setSprite(&sprite);
    animation.setIndex(1);
    animation.setSlowdownCount(-1);
    EXPECT_EQ("1111", shownFrames(animation, 4));
    EXPECT_EQ(-1, animation.getSlowdownCount());
}

TEST_F(FrameLogTest, SetSpriteRestartsAtFrameZeroAndKeepsCountAndTransform) {
    Sprite sprite(3);
    fill(sprite, 3, 5);
    sprite.setLabel("crow");
    Animation animation;
    animation.setIndex(2);
    animation.setSlowdownCount(4);
    animation.setTransform(vq::TRANSFORM_FLIP_VERTICAL);
    animation.setSprite(&sprite);
    EXPECT_EQ(0, animation.getIndex());
    EXPECT_EQ(4, animation.getSlowdownCount());
    EXPECT_EQ(vq::TRANSFORM_FLIP_VERTICAL, animation.getTransform());
    EXPECT_EQ("crow", animation.getName());
    EXPECT_EQ(&sprite, animation.getSprite());

    // Copies share the sprite but advance on their own.
    Animation copy = animation;
    copy.draw(Vector(0, 0));
    EXPECT_EQ(&sprite, copy.getSprite());
    EXPECT_EQ(1, copy.getIndex());
    EXPECT_EQ(0, animation.getIndex());
    EXPECT_EQ(4, animation.getSlowdownCount());

    animation.setSprite(nullptr);
    EXPECT_EQ(nullptr, animation.getSprite());
    EXPECT_EQ("", animation.getName());
}

TEST_F(FrameLogTest, AnimationWithoutSpriteNeitherDrawsNorAdvances) {
    Animation animation;
    animation.setIndex(1);
    animation.setSlowdownCount(2);
    EXPECT_EQ(-1, animation.draw(Vector(1, 1)));
    EXPECT_EQ(1, animation.getIndex());
    EXPECT_EQ(2, animation.getSlowdownCount());
    EXPECT_TRUE(logHas("No sprite assigned, cannot draw"));
}

TEST(AnimationBox, IsTheSpriteSizeCentredOrJustInsideOneCell) {
    Animation animation;
    vq::Box box = animation.getBox();
    EXPECT_FLOAT_EQ(-0.5f, box.getCorner().getX());
    EXPECT_FLOAT_EQ(-0.5f, box.getCorner().getY());
    EXPECT_FLOAT_EQ(0.99f, box.getHorizontal());
    EXPECT_FLOAT_EQ(0.99f, box.getVertical());

    Sprite sprite(1);
    sprite.setWidth(5);
    sprite.setHeight(3);
    animation.setSprite(&sprite);
    box = animation.getBox();
    EXPECT_FLOAT_EQ(-2.5f, box.getCorner().getX());
    EXPECT_FLOAT_EQ(-1.5f, box.getCorner().getY());
    EXPECT_FLOAT_EQ(5.0f, box.getHorizontal());
    EXPECT_FLOAT_EQ(3.0f, box.getVertical());
}

} // namespace
