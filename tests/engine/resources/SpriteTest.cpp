// Frames, sprites and animation, drawn and refused; the sprite file reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include <velloq/core/DataFolder.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/resources/Animation.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>
#include <velloq/resources/SpriteReader.h>

#include "LogCapture.h"

using vq::Animation;
using vq::DisplayManager;
using vq::Frame;
using vq::ResourceManager;
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

// A store of its own in a scratch directory, with its log. Without a window
// drawing fails, logged; an animation still advances.
class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, store().startUp()); }
    void TearDown() override { store().shutDown(); }
    static ResourceManager& store() { return ResourceManager::getInstance(); }
    // Loads text as the sprite file "s.txt" under the label "s".
    int load(const std::string& text) {
        dir.write("s.txt", text);
        return store().loadSprite("s.txt", "s");
    }
    // The last line a load wrote apart from its progress.
    static std::string failure() {
        std::string found;
        for (const std::string& line : LogCapture::messages())
            if (line.rfind("Read ", 0) != 0)
                found = line;
        return found;
    }
    vqtest::TempDir dir;
    LogCapture log;
};

TEST_F(SpriteTest, FramesAreCentredOnRealOffsetsTransformedAndSkipTheirTransparency) {
    ASSERT_EQ(0, DisplayManager::getInstance().startUp()); // headless
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

    Sprite sprite(1); // drawn in its own colour
    sprite.setColor(vq::MAGENTA);
    sprite.addFrame(Frame(1, 1, "A"));
    ASSERT_EQ(0, sprite.draw(0, Vector(4, 4), vq::TRANSFORM_NONE));
    EXPECT_EQ(DisplayManager::getInstance().getCurrentFrame()[0].color, vq::MAGENTA);
    EXPECT_EQ(drawnBlock(3.5f, 3.5f, 1, 1), "A");
    DisplayManager::getInstance().shutDown();
}

TEST_F(SpriteTest, BadFramesAndFrameNumbersAreRefusedWithTheirReason) {
    const std::pair<Frame, const char*> cases[] = {{Frame(), "Cannot draw empty frame"},
                                                   {Frame(0, 1, "x"), "Cannot draw frame with width <= 0"},
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

TEST_F(SpriteTest, AnimationsCycleBySlowdownUnlessFrozen) {
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
    EXPECT_EQ(-1, animation.draw(Vector(1, 1)));
    EXPECT_EQ(0, animation.getIndex());
    const std::vector<std::string> lines = LogCapture::messages();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "No sprite assigned, cannot draw")) << "once, not every step";
    EXPECT_TRUE(animation.getBox().getCorner() == Vector(-0.5f, -0.5f) && animation.getBox().getHorizontal() == 0.99f);
    sprite.setWidth(5);
    sprite.setHeight(3);
    animation.setSprite(&sprite);
    EXPECT_EQ(animation.getBox().getOtherCorner(), Vector(2.5f, 1.5f));
    EXPECT_EQ(animation.getBox().getCorner(), Vector(-2.5f, -1.5f));
}

// The five header lines and the rows, joined by line feeds.
std::string spriteText(const std::vector<std::string>& lines, bool final_newline = false) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return final_newline ? text + "\n" : text;
}

TEST_F(SpriteTest, LoadsHeadersAndFramesWithProgressLinesWhateverTheLineEnds) {
    const std::string lf = spriteText({"2", "3", "2", "4", "yellow", "(o)", "/ \\", "(-)", "\"' "});
    std::string crlf;
    for (char ch : lf)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    for (const std::string& text : {lf, crlf}) {
        ASSERT_EQ(0, load(text));
        const vq::Sprite* p = store().getSprite("s");
        EXPECT_EQ(p->getLabel() + " " + std::to_string(p->getFrameCount()) + " " + std::to_string(p->getWidth()) + "x" +
                      std::to_string(p->getHeight()) + " " + std::to_string(p->getSlowdown()) + " " +
                      std::to_string(p->getColor()) + " " + p->getFrame(0).getString() + p->getFrame(1).getString(),
                  "s 2 3x2 4 3 (o)/ \\(-)\"' ");
        const std::vector<std::string> lines = LogCapture::messages();
        EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
                  (std::vector<std::string>{
                      "Read headers in sprite file 's.txt': Frames: 2, Width: 3, Height: 2, Slowdown: 4, Color: yellow",
                      "Read frame 1 in sprite file 's.txt'", "Read frame 2 in sprite file 's.txt'"}));
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
}

TEST_F(SpriteTest, HeaderNumbersReadLikeAtoiAndColoursByName) {
    const char* words[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int i = 0; i < 8; i++) {
        ASSERT_EQ(0, load(spriteText({"  +1 frame", "\t1 wide", "1", "-2", words[i], "x"})));
        EXPECT_EQ(i, static_cast<int>(store().getSprite("s")->getColor()));
        EXPECT_EQ(-2, store().getSprite("s")->getSlowdown()) << "a negative slowdown is legal";
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
    EXPECT_EQ(vq::sprite_file::parseNumber("99999999999999999999"), INT_MAX) << "saturates";
    EXPECT_EQ(vq::sprite_file::parseNumber("-99999999999999999999"), INT_MIN);
}

TEST_F(SpriteTest, BadFilesAreRefusedWithTheirReason) {
    const std::string file = " in sprite file 's.txt'", eof = " - expected another line but got EOF";
    const std::string width = " - line length does not match sprite width";
    const std::pair<std::string, std::string> cases[] = {
        {spriteText({"0", "1", "1", "1", "red", "x"}), "Failed to parse frame count" + file},
        {"", "Failed to parse frame count" + file},
        {spriteText({"1", "0", "1", "1", "red", "x"}), "Failed to parse frame width" + file},
        {spriteText({"1", "1", "0", "1", "red", "x"}), "Failed to parse frame height" + file},
        {spriteText({"1", "1", "1", "0", "red", "x"}), "Failed to parse frame slowdown" + file},
        {spriteText({"1", "1", "1", "1", "Yellow", "x"}), "Failed to parse color" + file},
        {spriteText({"1", "1", "1", "1", "yellow ", "x"}), "Failed to parse color" + file},
        // A header line without its line feed ends the file; with one, the next header reads empty.
        {"1", "Failed to parse headers" + file + eof},
        {"1\n2\n", "Failed to parse frame height" + file},
        {spriteText({"1", "2", "1", "1", "red"}), "Failed to read line" + file + " frame 1 row 1" + eof},
        {spriteText({"2", "2", "2", "1", "red", "ab", "cd", "ef"}),
         "Failed to read line" + file + " frame 2 row 2" + eof},
        {spriteText({"2", "2", "2", "1", "red", "ab", "cd", "ef"}, true),
         "Failed to read line" + file + " frame 2 row 2" + width},
        {spriteText({"2", "3", "2", "1", "red", "abc", "abc", "abc", "ab"}),
         "Failed to read line" + file + " frame 2 row 2" + width},
        {spriteText({"2", "3", "2", "1", "red", "abc", "abc", "abc", "abcd"}),
         "Failed to read line" + file + " frame 2 row 2" + width},
        // Header claims beyond the file: nothing that large is ever allocated.
        {spriteText({"2000000000", "1", "1", "1", "red", "a", "b"}),
         "Failed to read line" + file + " frame 3 row 1" + eof},
        {spriteText({"2000000000", "1", "2000000000", "1", "red", "a"}, true),
         "Failed to read line" + file + " frame 1 row 2" + width},
        {spriteText({"1", "2147483647", "1", "1", "red", "abc"}),
         "Failed to read line" + file + " frame 1 row 1" + width},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(-1, load(c.first)) << c.first;
        EXPECT_EQ(failure(), c.second) << c.first;
        EXPECT_EQ(nullptr, store().getSprite("s"));
    }
    EXPECT_EQ(-1, store().loadSprite("nowhere/none.txt", "n"));
    EXPECT_EQ(failure(), "Failed to open sprite file 'nowhere/none.txt'");
    // With a data folder relative names are read there, and named as read;
    // absolute names stay as they are. Sounds and music alike.
    const std::string data = dir.path() + "/data/";
    dir.write("data/s.txt", spriteText({"1", "1", "1", "1", "red", "d"}));
    dir.write("top.txt", spriteText({"1", "1", "1", "1", "red", "t"}));
    vq::setDataFolder(dir.path() + "/data");
    EXPECT_EQ(0, store().loadSprite("s.txt", "d"));
    EXPECT_EQ(0, store().loadSprite(dir.path() + "/top.txt", "t"));
    EXPECT_EQ(store().getSprite("d")->getFrame(0).getString() + store().getSprite("t")->getFrame(0).getString(), "dt");
    EXPECT_EQ(-1, store().loadSprite("top.txt", "n"));
    EXPECT_EQ(failure(), "Failed to open sprite file '" + data + "top.txt'");
    EXPECT_EQ(-1, store().loadSound("none.wav", "n"));
    EXPECT_EQ(failure(), "Failed to load sound from file '" + data + "none.wav'");
    EXPECT_EQ(-1, store().loadMusic("none.ogg", "n"));
    EXPECT_EQ(failure(), "Failed to load music from file '" + data + "none.ogg'");
}

TEST_F(SpriteTest, MoreAfterTheLastRowIsAWarningOnlyAndMessagesKeepTheirLevels) {
    const std::string warning = "Expected end of sprite file 's.txt' but found more lines";
    for (const char* last : {"", "\n", "\nextra"}) {
        ASSERT_EQ(0, load(spriteText({"1", "2", "1", "1", "red", "ab"}) + last));
        EXPECT_EQ(vqtest::TempDir::read(vq::LOGFILE_NAME).find(warning) != std::string::npos, *last != '\0') << last;
        EXPECT_EQ(store().getSprite("s")->getFrame(0).getString(), "ab");
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
    // At level 1 progress and the warning are dropped; the level-less failures stay.
    vq::LogManager::getInstance().setLogLevel(1);
    const size_t before = LogCapture::messages().size();
    ASSERT_EQ(0, store().loadSprite("s.txt", "t"));
    EXPECT_EQ(-1, store().loadSprite("missing.txt", "m"));
    EXPECT_EQ(-1, store().unloadSprite("nothing"));
    EXPECT_EQ(LogCapture::messages().size(), before + 1);
    EXPECT_EQ(LogCapture::last(), "Failed to open sprite file 'missing.txt'");
}

} // namespace
