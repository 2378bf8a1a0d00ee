#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "display/DisplayManager.h"
#include "resources/Animation.h"
#include "resources/Frame.h"
#include "resources/Sprite.h"

using vq::Animation;
using vq::DisplayManager;
using vq::Frame;
using vq::Sprite;
using vq::Vector;
using vqtest::LogCapture;

namespace {

// What was drawn since the last call, laid into a w x h block whose top-left
// cell is (left, top); '.' where nothing was drawn, '?' for anything drawn
// off the block or between cells.
std::string drawnBlock(float left, float top, int w, int h) {
    std::string block(static_cast<size_t>(w * h), '.');
    for (const vq::DrawnCharacter& c : DisplayManager::getInstance().getCurrentFrame()) {
        const float x = c.position.getX() - left, y = c.position.getY() - top;
        if (x == std::floor(x) && y == std::floor(y) && x >= 0 && y >= 0 && x < w && y < h)
            block[static_cast<size_t>(y * w + x)] = c.ch;
        else
            return "?";
    }
    DisplayManager::getInstance().swapBuffers();
    return block;
}

// The log of this test's own directory; drawing needs the window.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.copyFont();
        ASSERT_EQ(0, DisplayManager::getInstance().startUp());
    }
    void TearDown() override { DisplayManager::getInstance().shutDown(); }
    vqtest::TempDir dir;
    LogCapture log;
};

TEST_F(DrawingTest, FramesAreCentredOnRealOffsetsTransformedAndSkipTheirTransparency) {
    const Frame frame(3, 2, "abcdef");
    const std::pair<vq::Transform, const char*> cases[] = {{vq::TRANSFORM_NONE, "abcdef"},
                                                           {vq::TRANSFORM_FLIP_HORIZONTAL, "cbafed"},
                                                           {vq::TRANSFORM_FLIP_VERTICAL, "defabc"},
                                                           {vq::TRANSFORM_FLIP_BOTH, "fedcba"}};
    for (const auto& c : cases) {
        ASSERT_EQ(0, frame.draw(Vector(10, 5), vq::GREEN, c.first));
        EXPECT_EQ(DisplayManager::getInstance().getCurrentFrame()[0].color, vq::GREEN);
        EXPECT_EQ(drawnBlock(8.5f, 4, 3, 2), c.second) << "transform " << c.first;
    }
    ASSERT_EQ(0, Frame(3, 2, "a#b# c", '#').draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(drawnBlock(-0.5f, 0, 3, 2), "a.b. c") << "the transparent character is skipped, spaces are drawn";
    ASSERT_EQ(0, Frame(3, 2, "a#b# c").draw(Vector(1, 1), vq::WHITE));
    EXPECT_EQ(drawnBlock(-0.5f, 0, 3, 2), "a#b# c") << "without transparency every character is drawn";
    ASSERT_EQ(0, Frame(3, 3, "abcd").draw(Vector(5, 5), vq::WHITE));
    EXPECT_EQ(drawnBlock(3.5f, 3.5f, 3, 3), "abcd.....") << "a frame short of its size draws what it has";

    Sprite sprite(2);
    sprite.setColor(vq::MAGENTA);
    sprite.setSlowdown(2);
    sprite.addFrame(Frame(1, 1, "A"));
    sprite.addFrame(Frame(1, 1, "B"));
    Animation animation;
    animation.setSprite(&sprite);
    std::string shown;
    for (int i = 0; i < 5; i++) {
        ASSERT_EQ(0, animation.draw(Vector(4, 4)));
        EXPECT_EQ(DisplayManager::getInstance().getCurrentFrame()[0].color, vq::MAGENTA);
        shown += drawnBlock(3.5f, 3.5f, 1, 1);
    }
    EXPECT_EQ("AABBA", shown);
}

// Without a window drawing fails, logged; an animation still advances.
class FrameLogTest : public ::testing::Test {
protected:
    vqtest::TempDir dir;
    LogCapture log;
};

TEST_F(FrameLogTest, BadFramesAndFrameNumbersAreRefusedWithTheirReason) {
    const std::pair<Frame, const char*> cases[] = {{Frame(), "Cannot draw empty frame"},
                                                   {Frame(0, 1, "x"), "Cannot draw frame with width <= 0"},
                                                   {Frame(-2, -2, "x"), "Cannot draw frame with width <= 0"},
                                                   {Frame(1, 0, "x"), "Cannot draw frame with height <= 0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(-1, c.first.draw(Vector(1, 1), vq::WHITE));
        EXPECT_EQ(LogCapture::last(), c.second);
    }
    Sprite sprite(2);
    for (const char* ch : {"a", "b"})
        EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, ch)));
    EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "c")));
    EXPECT_EQ(LogCapture::last(), "Failed to add frame, frame array is full");
    EXPECT_EQ(sprite.getFrame(1).getString() + sprite.getFrame(2).getString() + sprite.getFrame(-1).getString(), "b");
    EXPECT_EQ(-1, Sprite(-4).addFrame(Frame(1, 1, "a")));
    vq::LogManager::getInstance().setLogLevel(1000); // written at any level
    for (int number : {2, -1}) {
        EXPECT_EQ(-1, sprite.draw(number, Vector(0, 0)));
        EXPECT_EQ(LogCapture::last(), "Frame number " + std::to_string(number) + " out of range");
    }
}

// The frame index shown by each of `draws` draws.
std::string shownFrames(Animation& animation, int draws) {
    std::string shown;
    for (int i = 0; i < draws; i++) {
        shown += static_cast<char>('0' + animation.getIndex());
        animation.draw(Vector(3, 3));
    }
    return shown;
}

TEST_F(FrameLogTest, AnimationsCycleBySlowdownUnlessFrozen) {
    Sprite sprite(3);
    for (const char* ch : {"A", "B", "C"})
        sprite.addFrame(Frame(1, 1, ch));
    const std::pair<int, const char*> cases[] = {{3, "0001112220"}, {1, "0120120120"}, {-2, "0120120120"}};
    for (const auto& c : cases) {
        sprite.setSlowdown(c.first);
        Animation animation;
        animation.setSprite(&sprite);
        EXPECT_EQ(shownFrames(animation, 10), c.second) << "slowdown " << c.first;
    }
    Animation frozen;
    frozen.setSprite(&sprite);
    frozen.setIndex(1);
    frozen.setSlowdownCount(-1);
    EXPECT_EQ(shownFrames(frozen, 4), "1111");

    // A new sprite starts at frame 0; without one nothing advances and the
    // box is just inside one cell, with one the sprite's size centred.
    Animation animation;
    animation.setIndex(2);
    animation.setSprite(&sprite);
    EXPECT_EQ(0, animation.getIndex());
    animation.setSprite(nullptr);
    EXPECT_EQ(-1, animation.draw(Vector(1, 1)));
    EXPECT_EQ(0, animation.getIndex());
    EXPECT_EQ(LogCapture::last(), "No sprite assigned, cannot draw");
    EXPECT_TRUE(animation.getBox().getCorner() == Vector(-0.5f, -0.5f) && animation.getBox().getHorizontal() == 0.99f);
    sprite.setWidth(5);
    sprite.setHeight(3);
    animation.setSprite(&sprite);
    EXPECT_EQ(animation.getBox().getOtherCorner(), Vector(2.5f, 1.5f));
    EXPECT_EQ(animation.getBox().getCorner(), Vector(-2.5f, -1.5f));
}

} // namespace
