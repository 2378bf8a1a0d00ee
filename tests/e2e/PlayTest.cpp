// Plays the built game in a real window as a person would, and listens to it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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
    const auto stopping = std::chrono::steady_clock::now();
    const int seconds_after = e2e::readNumber(game.screenshot(), Vector(72, 1), 40, 60);
    EXPECT_TRUE(seconds_after > 0 && seconds_after < seconds_before) << "the time left does not count down";

    // Stopped for 4 s (a suspended laptop) and continued, the day goes on:
    // nothing of the stop is caught up, the time left falls as the game ran.
    game.signal(SIGSTOP);
    e2e::sleepSeconds(4);
    game.signal(SIGCONT);
    e2e::sleepSeconds(1);
    const int left = e2e::readNumber(game.screenshot(), Vector(72, 1), 30, 60);
    const double ran = std::chrono::duration<double>(std::chrono::steady_clock::now() - stopping).count() - 4;
    EXPECT_TRUE(left > 0 && seconds_after - left <= ran + 1)
        << seconds_after << " s, then " << left << " after " << ran;

    // Q ends the process at once, with status 0.
    game.pressKey("q");
    EXPECT_EQ(0, game.waitForExit(3));
}

// Closing the window and SIGTERM both end the game cleanly, each run
// appending to the log. An unreadable font or a damaged install is refused
// before any window opens, with the reasons on stderr and in the log.
TEST(PlayedForReal, ClosedOrTerminatedCleanlyNoFontAndDamagedDataRefused) {
    GameProcess game;
    const auto said = [&game] { return vqtest::TempDir::read(game.path("stderr.txt")); };
    const auto refused = [&game] { return !game.start() && game.waitForExit(10) == 1; };
    ASSERT_TRUE(game.start()) << game.error();
    game.closeWindow();
    EXPECT_EQ(0, game.waitForExit(5));
    ASSERT_TRUE(game.start()) << game.error();
    game.signal(SIGTERM);
    EXPECT_EQ(0, game.waitForExit(5));
    std::string log = vqtest::TempDir::read(game.path("velloq.log"));
    EXPECT_EQ(2, countOf(log, "\tGame over\n"));
    EXPECT_EQ(1, countOf(log, "\tEnding on SIGTERM\n"));
    EXPECT_EQ(0, countOf(said(), "cornfield: ")) << "nothing to report";

    // A font that cannot be read: status 1, the reason on stderr and in the
    // log, no objects. (Without any font the folder holds no data at all.)
    std::filesystem::rename(game.path("vq-font.ttf"), game.path("font.bak"));
    std::ofstream(game.path("vq-font.ttf")) << "not a font";
    EXPECT_TRUE(refused()) << "status 1, no window";
    EXPECT_EQ(1, countOf(said(), "cornfield: Failed to load font " + game.path("vq-font.ttf") +
                                     ": not a font that can be read"));
    log = vqtest::TempDir::read(game.path("velloq.log"));
    EXPECT_EQ(1, countOf(log, "\tError starting game manager!\n"));
    EXPECT_EQ(2 * 6, countOf(log, "Adding object")) << "none after the first two runs";

    // Damaged data: every failing file named, before the engine starts.
    std::filesystem::rename(game.path("font.bak"), game.path("vq-font.ttf"));
    std::filesystem::remove(game.path("sprites/pumpkin.txt"));
    std::ofstream(game.path("sprites/pests/fly.txt")) << "2\n3\n1\n4\nsparkly\n(o)\n(-)";
    std::filesystem::remove(game.path("sounds/crop_plant.wav"));
    std::ofstream(game.path("music/pumpkin_lounge.mp3")) << "this is not music";
    EXPECT_TRUE(refused()) << "status 1, no window";
    log = vqtest::TempDir::read(game.path("velloq.log"));
    for (const std::string line :
         {"sprites/pumpkin.txt is missing", "sprites/pests/fly.txt is damaged: it cannot be read as a sprite",
          "sounds/crop_plant.wav is missing", "music/pumpkin_lounge.mp3 is damaged: it cannot be read as music",
          "(4 of its 51 files did not load): reinstall it"}) {
        EXPECT_EQ(1, countOf(log, line + "\n")) << line;
        EXPECT_EQ(1, countOf(said(), line + "\n")) << line;
    }
    EXPECT_EQ(3, countOf(log, "WorldManager started")) << "refused before the engine started";
    EXPECT_TRUE(std::regex_search(log, std::regex("^(\\d\\d:\\d\\d:\\d\\d\t\\d+\t[^\n]*\n)+$")))
        << "every line carries the time of day and the step";
}

} // namespace
