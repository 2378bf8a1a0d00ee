#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "SpriteCheck.h"
#include "TempDir.h"
#include "resources/Sprite.h"

using spritecheck::artProblems;
using spritecheck::Options;
using vq::Frame;
using vq::Sprite;
using vqtest::TempDir;

namespace {

// A sprite of the given label and size whose frames are all 'x'.
struct TestSprite {
    Sprite sprite;
    TestSprite(const std::string& label, int width, int height, int frames) : sprite(frames) {
        sprite.setLabel(label);
        sprite.setWidth(width);
        sprite.setHeight(height);
        for (int i = 0; i < frames; i++)
            sprite.addFrame(Frame(width, height, std::string(static_cast<std::size_t>(width * height), 'x')));
    }
};

std::size_t problemCount(const std::string& label, int width, int height, int frames) {
    TestSprite test(label, width, height, frames);
    return artProblems(test.sprite, 7, 5).size();
}

TEST(SpriteCheckRules, SizesAndFrameCountsFollowTheGame) {
    EXPECT_EQ(0u, problemCount("pest_crow", 5, 2, 2));
    EXPECT_EQ(1u, problemCount("pest_crow", 6, 2, 2));
    EXPECT_EQ(1u, problemCount("pest_crow", 5, 2, 1));
    EXPECT_EQ(0u, problemCount("pest_crow_damaged", 5, 2, 1));
    EXPECT_EQ(1u, problemCount("pest_fly", 3, 2, 2));
    EXPECT_EQ(0u, problemCount("upg-bug_net", 8, 4, 1));
    EXPECT_EQ(1u, problemCount("upg-bug_net", 8, 5, 1));
    EXPECT_EQ(1u, problemCount("watering_can", 6, 3, 1));
    EXPECT_EQ(0u, problemCount("pumpkin", 24, 14, 1));
    EXPECT_EQ(1u, problemCount("text_title", 79, 10, 1));
    // Plot looks share the empty plot's size; crops stay inside it.
    EXPECT_EQ(0u, problemCount("plot_watered", 7, 5, 1));
    EXPECT_EQ(1u, problemCount("plot_watered", 6, 5, 1));
    EXPECT_EQ(0u, problemCount("corn_red", 6, 4, 1));
    EXPECT_EQ(1u, problemCount("corn_red", 7, 3, 1));
    // Labels the game does not know have no size rule.
    EXPECT_EQ(0u, problemCount("my_new_picture.txt", 200, 40, 1));
}

TEST(SpriteCheckRules, CharactersTheFontCannotShowAreReported) {
    Sprite sprite(1);
    sprite.setLabel("new.txt");
    sprite.setWidth(3);
    sprite.setHeight(2);
    sprite.addFrame(Frame(3, 2, "abcd\te"));
    const std::vector<std::string> problems = artProblems(sprite, 0, 0);
    ASSERT_EQ(1u, problems.size());
    EXPECT_EQ("frame 1 row 2 column 2 holds character code 9, which the game cannot show", problems[0]);
}

TEST(SpriteCheckPictures, FramesStandSideBySideInBorders) {
    Sprite sprite(2);
    sprite.setWidth(3);
    sprite.setHeight(1);
    sprite.addFrame(Frame(3, 1, "\\o/"));
    sprite.addFrame(Frame(3, 1, "/o\\"));
    Options options;
    std::ostringstream out;
    spritecheck::printFrames(sprite, options, out);
    EXPECT_EQ("  frame 1    frame 2\n"
              "  +---+      +---+\n"
              "  |\\o/|      |/o\\|\n"
              "  +---+      +---+\n",
              out.str());

    // Too narrow for two blocks: one per line.
    options.columns = 12;
    std::ostringstream narrow;
    spritecheck::printFrames(sprite, options, narrow);
    EXPECT_EQ("  frame 1\n  +---+\n  |\\o/|\n  +---+\n  frame 2\n  +---+\n  |/o\\|\n  +---+\n", narrow.str());

    // Colours wrap the picture only, never the border.
    options.color = true;
    sprite.setColor(vq::RED);
    std::ostringstream colored;
    spritecheck::printFrames(sprite, options, colored);
    EXPECT_NE(std::string::npos, colored.str().find("\x1b[31m\\o/\x1b[0m"));
}

// Runs the checker in a directory holding only the files given.
class SpriteCheckRun : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& wanted) {
        Options options;
        options.wanted = wanted;
        return spritecheck::run(options, out, err);
    }
    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SpriteCheckRun, ReportsTheEnginesMessagesAndTheRules) {
    dir.write("sprites/plot/empty.txt", "1\n3\n2\n1\nyellow\n...\n...");
    dir.write("sprites/pests/crow.txt", "1\n6\n1\n4\nwhite\n<(v)>>\n");
    EXPECT_EQ(4, run({"pest_crow", "sprites/pests/fly.txt"}));
    const std::string text = out.str();
    EXPECT_NE(std::string::npos, text.find("pest_crow  (sprites/pests/crow.txt)  6 x 1, 1 frame, slowdown 4, white"));
    EXPECT_NE(std::string::npos,
              text.find("problem: log: Expected end of sprite file 'sprites/pests/crow.txt' but found more lines"));
    EXPECT_NE(std::string::npos, text.find("problem: is 6 x 1, at most 5 x 2 fits"));
    EXPECT_NE(std::string::npos, text.find("problem: has 1 frame(s), needs at least 2 to move"));
    EXPECT_NE(std::string::npos, text.find("|<(v)>>|"));
    EXPECT_NE(std::string::npos, text.find("problem: log: Failed to open sprite file 'sprites/pests/fly.txt'"));
    EXPECT_EQ("", err.str());
    // The game's own log in the working directory is left alone.
    EXPECT_FALSE(TempDir::exists("velloq.log"));
}

TEST_F(SpriteCheckRun, UnknownNamesStopTheCheck) {
    EXPECT_EQ(-1, run({"no_such_label"}));
    EXPECT_NE(std::string::npos, err.str().find("'no_such_label'"));
}

TEST_F(SpriteCheckRun, ShippedDataHasNoProblems) {
    ASSERT_EQ(0, chdir(VQ_DATA_DIR));
    EXPECT_EQ(0, run({})) << out.str();
    EXPECT_NE(std::string::npos, out.str().find("checked 37 sprites, 13 sounds, 1 music: 0 problems"));
}

} // namespace
