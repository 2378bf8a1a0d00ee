// Plays the built game in a real window as a person would, and listens to it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include <velloq/display/DisplayManager.h>

#include "ExpectedScreen.h"
#include "GameProcess.h"
#include "TempDir.h"
#include "WavCapture.h"

using e2e::ExpectedScreen;
using e2e::GameProcess;
using vq::Vector;

namespace {

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

TEST(PlayedForReal, TitleDayOnePlantingAndQuit) {
    GameProcess game;
    ASSERT_TRUE(game.start()) << game.error();
    EXPECT_EQ("Velloq", e2e::capture("xdotool getwindowname " + game.window()));
    EXPECT_NE(std::string::npos, e2e::capture("xdotool getwindowgeometry " + game.window()).find("1024x768"));
    EXPECT_EQ(game.window(), e2e::capture("xdotool search --onlyvisible --name '^Velloq$'")) << "one window";

    // The title picture, in either of its frames, with the music playing.
    e2e::sleepSeconds(2.0);
    const sf::Image title_shot = game.screenshot();
    ExpectedScreen title[2];
    for (int frame = 0; frame < 2; frame++)
        title[frame].drawSprite("sprites/text/title.txt", frame, Vector(40, 12));
    EXPECT_LT(std::min(title[0].mismatch(title_shot), title[1].mismatch(title_shot)), 0.02) << "title not on screen";
    vqtest::WavCapture sound;
    ASSERT_TRUE(sound.read(game.wavPath())) << "no sound captured";
    EXPECT_GT(sound.rms(sound.frames() - sound.rate(), sound.rate()), 0.01) << "no music at the title";

    // SPACE starts day 1: the day, the money against the quota and the
    // seconds left, counting down.
    game.pressKey("space");
    e2e::sleepSeconds(0.6);
    sf::Image shot = game.screenshot();
    for (const auto& text : {std::make_pair(Vector(8, 1), "Day 1"), std::make_pair(Vector(40, 1), "$0 / $50")})
        EXPECT_LT(e2e::borderedTextMismatch(shot, text.first, text.second), 0.02) << text.second << " not shown";
    const int seconds_before = e2e::readNumber(shot, Vector(72, 1), 50, 60);
    EXPECT_GE(seconds_before, 58);

    // The farm is quiet once the music stops; a click on the first plot
    // plants it, with its picture and its sound at that moment.
    e2e::sleepSeconds(0.8);
    ASSERT_TRUE(sound.read(game.wavPath()));
    const long before_click = sound.frames();
    const double quiet = sound.rms(before_click - sound.rate() / 2, sound.rate() / 2);
    EXPECT_LT(quiet, 0.005) << "the music should stop when the day starts";
    const Vector plot = vq::spacesToPixels(Vector(4, 6));
    game.moveMouse(static_cast<int>(plot.getX()), static_cast<int>(plot.getY()));
    game.click();
    e2e::sleepSeconds(0.8);
    shot = game.screenshot();
    ExpectedScreen planted, unplanted;
    for (ExpectedScreen* p : {&planted, &unplanted})
        p->drawSprite("sprites/plot/empty.txt", 0, Vector(4, 6));
    planted.drawSprite("sprites/corn/seeds.txt", 0, Vector(4, 6));
    EXPECT_LT(planted.mismatch(shot), 0.06) << "the planted plot does not show seeds";
    EXPECT_GT(unplanted.mismatch(shot), planted.mismatch(shot));
    ASSERT_TRUE(sound.read(game.wavPath()));
    EXPECT_GT(sound.rms(before_click, sound.frames() - before_click), 4 * quiet + 0.002) << "no planting sound";
    const int seconds_after = e2e::readNumber(game.screenshot(), Vector(72, 1), 40, 60);
    EXPECT_TRUE(seconds_after > 0 && seconds_after < seconds_before) << "the time left does not count down";

    // Q ends the process at once, with status 0.
    game.pressKey("q");
    EXPECT_EQ(0, game.waitForExit(3));
}

// Missing and broken data is reported and the game still plays; closing the
// window ends it cleanly, and the next run appends to the log. (Without its
// font or a resource folder the game does not start at all: the package
// checks in scripts/ try that.)
TEST(PlayedForReal, BrokenDataClosingTheWindowASecondRunAndABrokenFont) {
    GameProcess game;
    std::filesystem::remove(game.path("sprites/pumpkin.txt"));
    std::ofstream(game.path("sprites/pests/fly.txt")) << "2\n3\n1\n4\nsparkly\n(o)\n(-)";
    std::filesystem::remove(game.path("sounds/crop_plant.wav"));
    std::ofstream(game.path("music/pumpkin_lounge.mp3")) << "this is not music";
    ASSERT_TRUE(game.start()) << game.error();
    e2e::sleepSeconds(1.0);
    game.pressKey("space");
    e2e::sleepSeconds(0.6);
    EXPECT_LT(e2e::borderedTextMismatch(game.screenshot(), Vector(8, 1), "Day 1"), 0.02) << "the day did not start";
    game.closeWindow();
    EXPECT_EQ(0, game.waitForExit(5));
    ASSERT_TRUE(game.start()) << game.error();
    game.pressKey("q");
    ASSERT_EQ(0, game.waitForExit(3));

    const std::string log = vqtest::TempDir::read(game.path("velloq.log"));
    for (const char* line : {"Failed to open sprite file 'sprites/pumpkin.txt'",
                             "Failed to parse color in sprite file 'sprites/pests/fly.txt'",
                             "Failed to load sound from file 'sounds/crop_plant.wav'",
                             "Failed to load music from file 'music/pumpkin_lounge.mp3'"})
        EXPECT_EQ(2, countOf(log, line)) << line;
    EXPECT_EQ(2, countOf(log, "GameManager started"));
    // Closing the window lets the loop end and shut the managers down in order.
    EXPECT_EQ(1, countOf(log, "Game over"));
    EXPECT_LT(log.find("ResourceManager shut down"), log.find("DisplayManager shut down"));
    EXPECT_LT(log.find("DisplayManager shut down"), log.find("WorldManager shut down"));

    // With a font that cannot be read the window cannot open: status 1, the
    // reason in the log, and neither objects nor resources made after it.
    std::filesystem::remove(game.path("velloq.log"));
    std::ofstream(game.path("vq-font.ttf")) << "not a font";
    EXPECT_FALSE(game.start());
    EXPECT_EQ(1, game.waitForExit(10));
    const std::string failed = vqtest::TempDir::read(game.path("velloq.log"));
    EXPECT_NE(failed.find("Failed to load font"), std::string::npos) << failed;
    EXPECT_NE(failed.find("Error starting game manager!\n"), std::string::npos) << failed;
    EXPECT_EQ(failed.find("Adding object"), std::string::npos);
    EXPECT_EQ(failed.find("Failed to open sprite file"), std::string::npos);
    EXPECT_TRUE(std::regex_search(failed, std::regex("^(\\d\\d:\\d\\d:\\d\\d\t\\d+\t[^\n]*\n)+$")))
        << "every line carries the time of day and the step";
}

} // namespace
