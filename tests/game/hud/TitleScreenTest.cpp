// The title screen: picture, game-over countdown, SPACE and the music.

#include <gtest/gtest.h>

#include <SFML/Audio/Music.hpp>

#include "GameHarness.h"
#include "hud/TitleScreen.h"
#include "resources/ResourceManager.h"

using cftest::key;
using cftest::steps;
using vqtest::spriteLabel;

namespace {

class TitleScreenTest : public cftest::GameTest {
protected:
    static vq::Music* lounge() { return vq::ResourceManager::getInstance().getMusic("lounge"); }
    static bool musicPlaying() {
        vq::Music* p = lounge();
        return p != nullptr && p->getMusic() != nullptr &&
               p->getMusic()->getStatus() == sf::SoundSource::Status::Playing;
    }
};

TEST_F(TitleScreenTest, WithoutMoneyTheTitleShowsAtOnceWithMusic) {
    ASSERT_NE(lounge(), nullptr) << "the music is part of the resource table";
    auto* p_title = new TitleScreen;
    EXPECT_EQ(spriteLabel(p_title), "text_title");
    EXPECT_FLOAT_EQ(p_title->getPosition().getX(), 40.0f);
    EXPECT_FLOAT_EQ(p_title->getPosition().getY(), 12.0f);
    EXPECT_EQ(p_title->getSolidness(), vq::GHOST);
    EXPECT_EQ(p_title->getAltitude(), 3);
    EXPECT_TRUE(musicPlaying());

    steps(200);
    EXPECT_EQ(spriteLabel(p_title), "text_title");
    EXPECT_NE(cftest::screen().find_first_not_of(" \n"), std::string::npos) << "the picture is drawn";
}

TEST_F(TitleScreenTest, AfterALostGameTheGameOverPictureComesFirstForNinetySteps) {
    MoneyManager::getInstance().addMoney(35);
    auto* p_title = new TitleScreen;
    EXPECT_EQ(spriteLabel(p_title), "text_gameover");
    EXPECT_TRUE(musicPlaying());
    const std::string game_over_screen = (steps(1), cftest::screen());

    steps(88);
    EXPECT_EQ(spriteLabel(p_title), "text_gameover") << "89 steps";
    steps(1);
    EXPECT_EQ(spriteLabel(p_title), "text_title") << "90 steps";
    steps(1);
    EXPECT_NE(cftest::screen(), game_over_screen);
}

TEST_F(TitleScreenTest, OnlyASpacePressRemovesItAndStopsTheMusic) {
    MoneyManager::getInstance().addMoney(5);
    auto* p_title = new TitleScreen;

    key(vq::Keyboard::SPACE, vq::KEY_RELEASED);
    key(vq::Keyboard::ENTER);
    key(vq::Keyboard::A);
    cftest::click(vq::Vector(40, 12));
    cftest::moveMouse(vq::Vector(41, 12));
    steps(1);
    ASSERT_EQ(cftest::countOfType("TitleScreen"), 1) << "releases, other keys and the mouse do nothing";
    EXPECT_TRUE(musicPlaying());

    // During the game-over picture: no waiting for the countdown.
    vq::EventKeyboard space;
    space.setKey(vq::Keyboard::SPACE);
    space.setKeyboardAction(vq::KEY_PRESSED);
    EXPECT_EQ(p_title->eventHandler(&space), 0) << "the day keeper answers for the key, not the title";
    EXPECT_FALSE(musicPlaying());
    steps(1);
    EXPECT_EQ(cftest::objectCount(), 0);

    key(vq::Keyboard::SPACE);
    EXPECT_FALSE(musicPlaying()) << "SPACE with no title screen changes nothing";
}

} // namespace
