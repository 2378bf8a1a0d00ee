// Key and button tables and event translation need no window; the start and
// stop rules and real X input need an X display (run under xvfb-run).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../display/DisplayTestSupport.h"
#include "SfmlTestCompat.h"
#include "display/DisplayManager.h"
#include "display/SfmlCompat.h"
#include "input/EventKeyboard.h"
#include "input/EventMouse.h"
#include "input/InputManager.h"
#include "input/KeyTranslation.h"
#include "world/GameManager.h"
#include "world/Object.h"

namespace {

using SK = sf::Keyboard::Key;
namespace K = vq::Keyboard;

struct Seen {
    std::string type;
    int key_or_button;
    int action;
    vq::Vector position;
};

// Joins the world and records every keyboard and mouse event delivered.
class Recorder : public vq::Object {
public:
    int eventHandler(const vq::Event* p_e) override {
        if (const auto* p_key = dynamic_cast<const vq::EventKeyboard*>(p_e))
            seen.push_back({p_e->getType(), p_key->getKey(), p_key->getKeyboardAction(), vq::Vector()});
        else if (const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e))
            seen.push_back(
                {p_e->getType(), p_mouse->getMouseButton(), p_mouse->getMouseAction(), p_mouse->getMousePosition()});
        else
            return 0;
        return 1;
    }
    std::vector<Seen> seen;
};

TEST(KeyTranslation, EveryKeyCodeMapsAsTheTableSays) {
    std::map<SK, K::Key> table = {
        {SK::Space, K::SPACE},         {SK::Enter, K::ENTER},          {SK::Escape, K::ESCAPE},
        {SK::Tab, K::TAB},             {SK::Left, K::LEFT_ARROW},      {SK::Right, K::RIGHT_ARROW},
        {SK::Up, K::UP_ARROW},         {SK::Down, K::DOWN_ARROW},      {SK::Pause, K::PAUSE},
        {SK::Subtract, K::KEYPAD_MINUS}, {SK::Add, K::KEYPAD_PLUS},    {vq::priv::KEY_GRAVE, K::GRAVE},
        {SK::Period, K::PERIOD},       {SK::Comma, K::COMMA},          {SK::Slash, K::SLASH},
        {SK::LControl, K::LEFT_CONTROL}, {SK::RControl, K::RIGHT_CONTROL}, {SK::LShift, K::LEFT_SHIFT},
        {SK::RShift, K::RIGHT_SHIFT},  {SK::Num0, K::NUM0},
    };
    auto run = [&](SK first_sfml, K::Key first_engine, int length) {
        for (int i = 0; i < length; i++)
            table[static_cast<SK>(static_cast<int>(first_sfml) + i)] = static_cast<K::Key>(first_engine + i);
    };
    run(SK::F1, K::F1, 12);
    run(SK::A, K::A, 26);
    run(SK::Num1, K::NUM1, 9);
    ASSERT_EQ(table.size(), 67u); // every engine key once

    // Every code SFML has, and codes beyond its range at both ends (as far as
    // an SFML 2 key can hold: its enum spans -128 .. 127).
    for (int code = -3; code <= 127; code++) {
        const auto found = table.find(static_cast<SK>(code));
        EXPECT_EQ(vq::toEngineKey(static_cast<SK>(code)), found != table.end() ? found->second : K::UNDEFINED_KEY)
            << "SFML key code " << code;
    }
    // The ones people get wrong.
    EXPECT_EQ(vq::toEngineKey(SK::Q), 47);
    EXPECT_EQ(vq::toEngineKey(SK::Num1), 57);
    EXPECT_EQ(vq::toEngineKey(SK::Num0), 66);
    EXPECT_EQ(vq::toEngineKey(SK::Hyphen), K::UNDEFINED_KEY);
    EXPECT_EQ(vq::toEngineKey(vq::priv::KEY_APOSTROPHE), K::UNDEFINED_KEY);
}

TEST(KeyTranslation, OnlyLeftRightAndMiddleButtonsAreKnown) {
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Left), vq::Mouse::LEFT);
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Right), vq::Mouse::RIGHT);
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Middle), vq::Mouse::MIDDLE);
    for (int code : {3, 4, 99, -1})
        EXPECT_EQ(vq::toEngineButton(static_cast<sf::Mouse::Button>(code)), vq::Mouse::UNDEFINED_MOUSE_BUTTON);
}

TEST(HandleEvent, KeysAndMouseArriveInEngineTerms) {
    Recorder* p_recorder = new Recorder;
    const vq::InputManager& input = vq::InputManager::getInstance();
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(false, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Hyphen)); // unmapped keys still arrive
    input.handleEvent(vq::priv::makeMouseMovedEvent(512, 384));
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, sf::Mouse::Button::Right, 100, 50));
    input.handleEvent(vq::priv::makeMouseButtonEvent(false, sf::Mouse::Button::Right, 100, 50)); // ignored
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, static_cast<sf::Mouse::Button>(3), 0, 0));
    input.handleEvent(vq::priv::makeFocusLostEvent()); // ignored
    const std::vector<Seen> seen = p_recorder->seen;
    delete p_recorder;

    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].type, "vq::keyboard");
    EXPECT_EQ(seen[0].key_or_button, 47);
    EXPECT_EQ(seen[0].action, vq::KEY_PRESSED);
    EXPECT_EQ(seen[1].key_or_button, 47);
    EXPECT_EQ(seen[1].action, vq::KEY_RELEASED);
    EXPECT_EQ(seen[2].key_or_button, K::UNDEFINED_KEY);
    EXPECT_EQ(seen[3].type, "vq::mouse");
    EXPECT_EQ(seen[3].action, vq::MOVED);
    EXPECT_EQ(seen[3].key_or_button, vq::Mouse::UNDEFINED_MOUSE_BUTTON);
    EXPECT_EQ(seen[3].position, vq::Vector(40, 12));
    EXPECT_EQ(seen[4].action, vq::CLICKED);
    EXPECT_EQ(seen[4].key_or_button, vq::Mouse::RIGHT);
    EXPECT_EQ(seen[4].position, vq::Vector(7.8125f, 1.5625f));
    EXPECT_EQ(seen[5].action, vq::CLICKED);
    EXPECT_EQ(seen[5].key_or_button, vq::Mouse::UNDEFINED_MOUSE_BUTTON);
}

TEST(HandleEvent, CloseEndsTheGameWithoutAnEvent) {
    Recorder* p_recorder = new Recorder;
    vq::GameManager::getInstance().setGameOver(false);
    vq::InputManager::getInstance().handleEvent(vq::priv::makeClosedEvent());
    EXPECT_TRUE(vq::GameManager::getInstance().getGameOver());
    EXPECT_TRUE(p_recorder->seen.empty());
    delete p_recorder;
}

TEST(InputLifecycle, NeedsAStartedDisplay) {
    vqtest::TempDir dir;
    vqtest::LogSession log;
    vq::InputManager& input = vq::InputManager::getInstance();
    EXPECT_EQ(input.startUp(), -1);
    EXPECT_FALSE(input.isStarted());
    EXPECT_EQ(input.shutDown(), -1);
    EXPECT_EQ(vqtest::logText(), "Cannot start InputManager before DisplayManager\n"
                                 "Cannot shut down InputManager after DisplayManager\n");
}

class InputWithWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vqtest::copyFontInto(dir);
        ASSERT_EQ(vq::DisplayManager::getInstance().startUp(), 0);
        ASSERT_EQ(input.startUp(), 0);
    }
    void TearDown() override {
        if (input.isStarted())
            input.shutDown();
        vq::DisplayManager::getInstance().shutDown();
    }

    vqtest::TempDir dir;
    vqtest::LogSession log;
    vq::InputManager& input = vq::InputManager::getInstance();
};

TEST_F(InputWithWindow, StopsOnlyWhileTheDisplayIsStarted) {
    vq::DisplayManager::getInstance().shutDown();
    EXPECT_EQ(input.shutDown(), -1);
    EXPECT_TRUE(input.isStarted());
    const std::string text = vqtest::logText();
    EXPECT_NE(text.find("InputManager started\n"), std::string::npos);
    EXPECT_NE(text.find("Cannot shut down InputManager after DisplayManager\n"), std::string::npos);
    EXPECT_EQ(text.find("InputManager shut down"), std::string::npos);
}

// Holding a key gives one press however long it is held (key repeat is
// off), a click gives no release, and a quiet window gives nothing.
TEST_F(InputWithWindow, RealKeysAndClicksFromTheXServer) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool is not installed";
    const std::string id = std::to_string(vqtest::windowId(*vq::DisplayManager::getInstance().getWindow()));
    // A fresh X connection is now and then refused for a moment: retry.
    auto xdotool = [](const std::string& args) {
        for (int attempt = 0; attempt < 5; attempt++, usleep(50000))
            if (std::system(("xdotool " + args + " 2> /dev/null").c_str()) == 0)
                return true;
        return false;
    };
    auto pump = [&](int milliseconds) {
        for (int waited = 0; waited < milliseconds; waited += 10, usleep(10000))
            input.getInput();
    };
    Recorder* p_recorder = new Recorder;
    ASSERT_TRUE(xdotool("windowfocus --sync " + id));
    pump(300);
    EXPECT_TRUE(p_recorder->seen.empty());
    ASSERT_TRUE(xdotool("keydown q"));
    pump(1500); // well past the X server's auto-repeat delay
    ASSERT_TRUE(xdotool("keyup q"));
    ASSERT_TRUE(xdotool("mousemove --window " + id + " 512 384"));
    ASSERT_TRUE(xdotool("click 3"));
    pump(300);
    const std::vector<Seen> seen = p_recorder->seen;
    delete p_recorder;

    std::vector<Seen> keys, clicks;
    const Seen* p_last_move = nullptr;
    for (const Seen& s : seen) {
        if (s.type == vq::KEYBOARD_EVENT)
            keys.push_back(s);
        else if (s.action == vq::MOVED)
            p_last_move = &s;
        else
            clicks.push_back(s);
    }
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key_or_button, K::Q);
    EXPECT_EQ(keys[0].action, vq::KEY_PRESSED);
    EXPECT_EQ(keys[1].action, vq::KEY_RELEASED);
    ASSERT_NE(p_last_move, nullptr);
    EXPECT_EQ(p_last_move->position, vq::Vector(40, 12));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].key_or_button, vq::Mouse::RIGHT);
}

} // namespace
