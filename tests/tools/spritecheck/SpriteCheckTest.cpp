#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <velloq/resources/Sprite.h>

#include "SpriteCheck.h"
#include "TempDir.h"

using spritecheck::Options;
using vq::Frame;
using vq::Sprite;

namespace {

// Problems of a sprite of that label, size and frame count, all 'x', beside a 7 x 5 plot.
size_t problems(const std::string& label, int width, int height, int frames) {
    Sprite sprite(frames);
    sprite.setLabel(label);
    sprite.setWidth(width);
    sprite.setHeight(height);
    for (int i = 0; i < frames; i++)
        sprite.addFrame(Frame(width, height, std::string(static_cast<size_t>(width * height), 'x')));
    return spritecheck::artProblems(sprite, 7, 5).size();
}

TEST(SpriteCheckRules, SizesAndFrameCountsFollowTheGame) {
    const struct {
        const char* label;
        int width, height, frames;
        size_t problems;
    } cases[] = {
        {"pest_crow", 5, 2, 2, 0},         {"pest_crow", 6, 2, 2, 1},    {"pest_crow", 5, 2, 1, 1},
        {"pest_crow_damaged", 5, 2, 1, 0}, {"pest_fly", 3, 2, 2, 1},     {"upg-bug_net", 8, 4, 1, 0},
        {"upg-bug_net", 8, 5, 1, 1},       {"watering_can", 6, 3, 1, 1}, {"pumpkin", 24, 14, 1, 0},
        {"text_title", 79, 10, 1, 1},      {"plot_watered", 7, 5, 1, 0}, {"plot_watered", 6, 5, 1, 1},
        {"corn_red", 6, 4, 1, 0},          {"corn_red", 7, 3, 1, 1},     {"my_new_picture.txt", 200, 40, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(problems(c.label, c.width, c.height, c.frames), c.problems)
            << c.label << " " << c.width << " x " << c.height << ", " << c.frames << " frames";

    Sprite sprite(1);
    sprite.setWidth(3);
    sprite.setHeight(2);
    sprite.addFrame(Frame(3, 2, "abcd\te"));
    EXPECT_EQ(spritecheck::artProblems(sprite, 0, 0),
              std::vector<std::string>{"frame 1 row 2 column 2 holds character code 9, which the game cannot show"});
}

TEST(SpriteCheckRun, ShippedDataHasNoProblems) {
    ASSERT_EQ(0, chdir(VQ_DATA_DIR));
    std::ostringstream out, err;
    EXPECT_EQ(0, spritecheck::run(Options(), out, err)) << out.str();
    EXPECT_NE(out.str().find("checked 37 sprites, 13 sounds, 1 music: 0 problems"), std::string::npos);
}

} // namespace
