// DisplayBox and DisplayText as they appear on screen.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "hud/DisplayBox.h"
#include "hud/DisplayText.h"
#include "hud/FloatingText.h"

using cftest::screenRow;
using cftest::steps;

namespace {

class BoxAndTextTest : public cftest::GameTest {};

TEST_F(BoxAndTextTest, BoxOutlineCoversItsCellsAndHidesWhatLiesBelow) {
    // Altitude 2, so the box (altitude 3) is drawn over it.
    auto* p_below = new DisplayText("XXXXXXXX", vq::Vector(50, 12), false);
    p_below->setAltitude(2);
    new DisplayBox(vq::Vector(50, 13), 10, 6);
    steps(1);

    EXPECT_EQ(screenRow(10).substr(45, 10), "+--------+");
    for (int row = 11; row <= 14; row++)
        EXPECT_EQ(screenRow(row).substr(45, 10), "|        |") << "row " << row;
    EXPECT_EQ(screenRow(15).substr(45, 10), "+--------+");
    // Nothing outside the box.
    EXPECT_EQ(screenRow(9).find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(screenRow(16).find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(screenRow(13)[44], ' ');
    EXPECT_EQ(screenRow(13)[55], ' ');
}

TEST_F(BoxAndTextTest, DegenerateBoxes) {
    new DisplayBox(vq::Vector(10, 5), 1, 1);
    new DisplayBox(vq::Vector(20, 10), 1, 3);
    new DisplayBox(vq::Vector(30, 10), 0, 4);
    new DisplayBox(vq::Vector(40, 10), 5, 0);
    steps(1);

    // 1 x 1 sits half a cell off the grid: its corner is (9.5, 4.5).
    const auto& frame = vq::DisplayManager::getInstance().getLastFrame();
    ASSERT_EQ(frame.size(), 4u) << "a one-cell box draws one character, a 1 x 3 box three, empty boxes none";
    EXPECT_EQ(frame[0].ch, '+');
    EXPECT_FLOAT_EQ(frame[0].position.getX(), 9.5f);
    EXPECT_FLOAT_EQ(frame[0].position.getY(), 4.5f);
    EXPECT_EQ(std::string({frame[1].ch, frame[2].ch, frame[3].ch}), "+|+");
    EXPECT_FLOAT_EQ(frame[1].position.getY(), 8.5f);
    EXPECT_FLOAT_EQ(frame[3].position.getY(), 10.5f);
}

TEST_F(BoxAndTextTest, TextIsCentredAndFramedByEightDashes) {
    auto* p_framed = new DisplayText("Hello, farm", vq::Vector(40, 6), true);
    auto* p_plain = new DisplayText("abc", vq::Vector(10, 15), false);
    steps(1);

    EXPECT_EQ(screenRow(5).substr(36, 8), "--------");
    EXPECT_EQ(screenRow(7).substr(36, 8), "--------");
    EXPECT_NE(screenRow(6).find("Hello, farm"), std::string::npos);
    EXPECT_EQ(screenRow(14).find_first_not_of(' '), std::string::npos) << "no border without the flag";
    EXPECT_EQ(screenRow(16).find_first_not_of(' '), std::string::npos);

    // Odd length: starts half a cell left of centre.
    std::vector<float> xs;
    for (const vq::DrawnCharacter& c : vq::DisplayManager::getInstance().getLastFrame())
        if (c.position.getY() == 15.0f)
            xs.push_back(c.position.getX());
    EXPECT_EQ(xs, (std::vector<float>{8.5f, 9.5f, 10.5f}));

    EXPECT_EQ(p_framed->draw(), 0);
    p_plain->setText("");
    const size_t before = vq::DisplayManager::getInstance().getCurrentFrame().size();
    EXPECT_EQ(p_plain->draw(), 0) << "an empty text draws nothing and still succeeds";
    EXPECT_EQ(vq::DisplayManager::getInstance().getCurrentFrame().size(), before);
}

TEST_F(BoxAndTextTest, FloatingTextRisesAndGoesAfterFifteenSteps) {
    auto* p_text = new FloatingText;
    p_text->setText("+$10");
    p_text->setPosition(vq::Vector(20, 12));
    steps(1);
    EXPECT_FLOAT_EQ(p_text->getPosition().getY(), 11.75f);
    EXPECT_NE(screenRow(12).find("+$10"), std::string::npos) << "drawn where it stood after the move";

    steps(13);
    ASSERT_EQ(cftest::countOfType("FloatingText"), 1) << "still there after 14 steps";
    EXPECT_FLOAT_EQ(p_text->getPosition().getY(), 12.0f - 14 * 0.25f);
    steps(1);
    EXPECT_EQ(cftest::countOfType("FloatingText"), 0) << "removed on the 15th step";
}

} // namespace
