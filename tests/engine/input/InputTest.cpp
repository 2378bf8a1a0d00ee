#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <velloq/display/DisplayManager.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>
#include <velloq/input/InputManager.h>
#include <velloq/input/KeyTranslation.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/Object.h>

#include "LogCapture.h"

namespace {

using SK = sf::Keyboard::Key;
using vqtest::LogCapture;

// Joins the world and records every keyboard and mouse event as
// "key <key> <action>" or "mouse <button> <action> <x>,<y>".
class Recorder : public vq::Object {
public:
    int eventHandler(const vq::Event* p_e) override {
        if (const auto* p_key = dynamic_cast<const vq::EventKeyboard*>(p_e))
            seen.push_back("key " + std::to_string(p_key->getKey()) + " " + std::to_string(p_key->getKeyboardAction()));
        else if (const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e))
            seen.push_back("mouse " + std::to_string(p_mouse->getMouseButton()) + " " +
                           std::to_string(p_mouse->getMouseAction()) + " " +
                           std::to_string(p_mouse->getMousePosition().getX()) + "," +
                           std::to_string(p_mouse->getMousePosition().getY()));
        return 1;
    }
    std::vector<std::string> seen;
};

TEST(KeyTranslation, TheEngineNumbersEveryKeyItsOwnWay) {
    std::map<int, int> table = {
        {int(SK::Space), 0},     {int(SK::Enter), 1},    {int(SK::Escape), 2},  {int(SK::Tab), 3},
        {int(SK::Left), 4},      {int(SK::Right), 5},    {int(SK::Up), 6},      {int(SK::Down), 7},
        {int(SK::Pause), 8},     {int(SK::Subtract), 9}, {int(SK::Add), 10},    {int(vq::priv::KEY_GRAVE), 11},
        {int(SK::Period), 12},   {int(SK::Comma), 13},   {int(SK::Slash), 14},  {int(SK::LControl), 15},
        {int(SK::RControl), 16}, {int(SK::LShift), 17},  {int(SK::RShift), 18}, {int(SK::Num0), 66}};
    // In order: F1..F12 are 19..30, A..Z 31..56, the digits 1..9 57..65.
    for (const auto& run : {std::vector<int>{int(SK::F1), 12, 19}, {int(SK::A), 26, 31}, {int(SK::Num1), 9, 57}})
        for (int i = 0; i < run[1]; i++)
            table[run[0] + i] = run[2] + i;
    ASSERT_EQ(table.size(), 67u);
    EXPECT_EQ(table[int(SK::Q)], 47);
    // Every code SFML has, and beyond its range at both ends (an SFML 2 key spans -128..127).
    for (int code = -3; code <= 127; code++) {
        const auto found = table.find(code);
        EXPECT_EQ(int(vq::toEngineKey(static_cast<SK>(code))), found != table.end() ? found->second : -1) << code;
    }
    for (SK unknown : {SK::Hyphen, vq::priv::KEY_APOSTROPHE, SK::Numpad0, SK::F13, SK::LAlt, SK::Delete})
        EXPECT_EQ(int(vq::toEngineKey(unknown)), -1) << int(unknown);
    for (int code : {0, 1, 2, 3, 4, 99, -1}) // left, right, middle; the rest unknown
        EXPECT_EQ(int(vq::toEngineButton(static_cast<sf::Mouse::Button>(code))), code >= 0 && code < 3 ? code : -1);
}

// Window events and injected input arrive alike, in engine terms; injected
// input waits for the next getInput(), which every step of the loop calls.
// All of it on a headless display, which needs neither a font nor X and
// shows strings justified around their position as text.
TEST(Input, WindowEventsAndInjectedInputArriveAlikeOnAHeadlessDisplay) {
    vqtest::TempDir dir;
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    display.setHeadless(true);
    vq::GameManager& game = vq::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    Recorder recorder;
    vq::InputManager& input = vq::InputManager::getInstance();
    input.injectKey(vq::Keyboard::Q);
    input.injectKey(vq::Keyboard::Q, vq::KEY_RELEASED);
    input.injectKey(vq::Keyboard::UNDEFINED_KEY);
    input.injectMouseMove(vq::Vector(40, 12));
    input.injectClick(vq::Vector(7.8125f, 1.5625f), vq::Mouse::RIGHT);
    input.injectClick(vq::Vector(0, 0), vq::Mouse::UNDEFINED_MOUSE_BUTTON);
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(false, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Hyphen)); // unmapped keys still arrive
    input.handleEvent(vq::priv::makeMouseMovedEvent(512, 384));
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, sf::Mouse::Button::Right, 100, 50));
    input.handleEvent(vq::priv::makeMouseButtonEvent(false, sf::Mouse::Button::Right, 100, 50)); // ignored
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, static_cast<sf::Mouse::Button>(3), 0, 0));
    input.handleEvent(vq::priv::makeFocusLostEvent()); // ignored
    const std::vector<std::string> expected({"key 47 0", "key 47 1", "key -1 0", "mouse -1 1 40.000000,12.000000",
                                             "mouse 1 0 7.812500,1.562500", "mouse -1 0 0.000000,0.000000"});
    EXPECT_EQ(recorder.seen, expected) << "the window's at once, the injected queued until the next step";
    display.drawString(vq::Vector(10, 2), "abc", vq::JUSTIFY_CENTER, vq::WHITE);
    display.drawString(vq::Vector(10, 4), "wxyz", vq::JUSTIFY_RIGHT, vq::CYAN);
    display.drawString(vq::Vector(10, 6), "left", vq::JUSTIFY_LEFT, vq::RED);
    display.drawString(vq::Vector(10, 8), "odd", static_cast<vq::Justification>(7), vq::RED);
    EXPECT_EQ(display.getCurrentFrame()[3].color, vq::CYAN);
    recorder.seen.clear();
    game.step();
    EXPECT_EQ(recorder.seen, expected);
    std::string shown;
    for (int row : {2, 4, 6, 8}) // 8.5 .. 10.5 round up to columns 9 .. 11
        shown += display.lastFrameAsText().substr(static_cast<std::size_t>(row) * 81 + 5, 10) + "|";
    EXPECT_EQ(shown, "    abc   | wxyz     |     left |     odd  |");
    recorder.seen.clear();
    input.injectClose();
    input.getInput();
    EXPECT_TRUE(game.getGameOver());
    game.setGameOver(false);
    input.handleEvent(vq::priv::makeClosedEvent());
    EXPECT_TRUE(game.getGameOver() && recorder.seen.empty()) << "closing ends the game and sends no event";
    input.injectKey(vq::Keyboard::SPACE);
    ASSERT_TRUE(input.shutDown() == 0 && input.startUp() == 0);
    input.getInput();
    EXPECT_TRUE(recorder.seen.empty()) << "a shut-down forgets what was not delivered";
}

// Holding a key gives one press and one release however long it is held:
// key repeat is off. (Real clicks are the played-for-real test's.)
TEST(InputWithWindow, AKeyHeldDownOnTheXServerIsPressedOnce) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool is not installed";
    vqtest::TempDir dir;
    dir.copyFont();
    LogCapture log;
    vq::InputManager& input = vq::InputManager::getInstance();
    ASSERT_TRUE(vq::DisplayManager::getInstance().startUp() == 0 && input.startUp() == 0);
    const std::string id = std::to_string(vq::priv::nativeWindowId(*vq::DisplayManager::getInstance().getWindow()));
    Recorder recorder;
    // Each command, then input read well past the X server's auto-repeat
    // delay; a fresh X connection is now and then refused for a moment.
    for (const std::string& command : {"windowfocus --sync " + id, std::string("keydown q"), std::string("keyup q")}) {
        bool done = false;
        for (int attempt = 0; attempt < 5 && !done; attempt++, usleep(50000))
            done = std::system(("xdotool " + command + " 2> /dev/null").c_str()) == 0;
        ASSERT_TRUE(done) << command;
        for (int waited = 0; waited < 1000; waited += 10, usleep(10000))
            input.getInput();
    }
    std::vector<std::string> keys;
    std::copy_if(recorder.seen.begin(), recorder.seen.end(), std::back_inserter(keys),
                 [](const std::string& s) { return s.rfind("key ", 0) == 0; });
    EXPECT_EQ(keys, (std::vector<std::string>{"key 47 0", "key 47 1"}));
    input.shutDown();
    vq::DisplayManager::getInstance().shutDown();
}

} // namespace
