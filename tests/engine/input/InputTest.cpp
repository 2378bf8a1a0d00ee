// Key and button tables and event translation run without a window; the
// start/stop rules and real X input need an X display (run under xvfb-run).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../display/DisplayTestSupport.h"
#include "core/GameManager.h"
#include "core/Object.h"
#include "display/DisplayManager.h"
#include "display/SfmlCompat.h"
#include "input/EventKeyboard.h"
#include "input/EventMouse.h"
#include "input/InputManager.h"
#include "input/KeyTranslation.h"

namespace {

using SK = sf::Keyboard::Key;
namespace K = vq::Keyboard;

// Records every keyboard and mouse event delivered to the world.
class Recorder : public vq::Object {
public:
    struct Seen {
        std::string type;
        int key_or_button;
        int action;
        vq::Vector position;
    };

    int eventHandler(const vq::Event* p_e) override {
        if (const auto* p_key = dynamic_cast<const vq::EventKeyboard*>(p_e)) {
            seen.push_back({p_e->getType(), p_key->getKey(), p_key->getKeyboardAction(), vq::Vector()});
            return 1;
        }
        if (const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e)) {
            seen.push_back(
                {p_e->getType(), p_mouse->getMouseButton(), p_mouse->getMouseAction(), p_mouse->getMousePosition()});
            return 1;
        }
        return 0;
    }

    std::vector<Seen> seen;
};

// Objects join the world on construction and leave it when deleted.
struct RecorderInWorld {
    Recorder* p = new Recorder;
    ~RecorderInWorld() { delete p; }
};

// ------------------------------------------------------------------- tables

TEST(KeyTranslation, EveryKeyCodeMapsAsTheTableSays) {
    std::map<int, K::Key> table = {
        {static_cast<int>(SK::Space), K::SPACE},         {static_cast<int>(SK::Enter), K::ENTER},
        {static_cast<int>(SK::Escape), K::ESCAPE},       {static_cast<int>(SK::Tab), K::TAB},
        {static_cast<int>(SK::Left), K::LEFT_ARROW},     {static_cast<int>(SK::Right), K::RIGHT_ARROW},
        {static_cast<int>(SK::Up), K::UP_ARROW},         {static_cast<int>(SK::Down), K::DOWN_ARROW},
        {static_cast<int>(SK::Pause), K::PAUSE},         {static_cast<int>(SK::Subtract), K::KEYPAD_MINUS},
        {static_cast<int>(SK::Add), K::KEYPAD_PLUS},     {static_cast<int>(vq::priv::KEY_GRAVE), K::GRAVE},
        {static_cast<int>(SK::Period), K::PERIOD},       {static_cast<int>(SK::Comma), K::COMMA},
        {static_cast<int>(SK::Slash), K::SLASH},         {static_cast<int>(SK::LControl), K::LEFT_CONTROL},
        {static_cast<int>(SK::RControl), K::RIGHT_CONTROL}, {static_cast<int>(SK::LShift), K::LEFT_SHIFT},
        {static_cast<int>(SK::RShift), K::RIGHT_SHIFT},  {static_cast<int>(SK::Num0), K::NUM0},
    };
    for (int i = 0; i < 12; i++)
        table[static_cast<int>(SK::F1) + i] = static_cast<K::Key>(K::F1 + i);
    for (int i = 0; i < 26; i++)
        table[static_cast<int>(SK::A) + i] = static_cast<K::Key>(K::A + i);
    for (int i = 0; i < 9; i++)
        table[static_cast<int>(SK::Num1) + i] = static_cast<K::Key>(K::NUM1 + i);
    ASSERT_EQ(table.size(), 67u); // every engine key once

    // Every code SFML has, and codes beyond its range at both ends.
    for (int code = -3; code <= 130; code++) {
        const auto found = table.find(code);
        const K::Key expected = found != table.end() ? found->second : K::UNDEFINED_KEY;
        EXPECT_EQ(vq::toEngineKey(static_cast<SK>(code)), expected) << "SFML key code " << code;
    }
    EXPECT_EQ(vq::toEngineKey(static_cast<SK>(100000)), K::UNDEFINED_KEY);

    // The cases people get wrong.
    EXPECT_EQ(vq::toEngineKey(SK::Q), 47);
    EXPECT_EQ(vq::toEngineKey(SK::Z), 56);
    EXPECT_EQ(vq::toEngineKey(SK::Num1), 57);
    EXPECT_EQ(vq::toEngineKey(SK::Num9), 65);
    EXPECT_EQ(vq::toEngineKey(SK::Num0), 66);
    EXPECT_EQ(vq::toEngineKey(SK::Hyphen), K::UNDEFINED_KEY);
    EXPECT_EQ(vq::toEngineKey(SK::Numpad0), K::UNDEFINED_KEY);
    EXPECT_EQ(vq::toEngineKey(SK::F13), K::UNDEFINED_KEY);
    EXPECT_EQ(vq::toEngineKey(vq::priv::KEY_APOSTROPHE), K::UNDEFINED_KEY);
    EXPECT_EQ(vq::toEngineKey(SK::Unknown), K::UNDEFINED_KEY);
}

TEST(KeyTranslation, OnlyLeftRightAndMiddleButtonsAreKnown) {
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Left), vq::Mouse::LEFT);
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Right), vq::Mouse::RIGHT);
    EXPECT_EQ(vq::toEngineButton(sf::Mouse::Button::Middle), vq::Mouse::MIDDLE);
    for (int code : {3, 4, 5, 99, -1})
        EXPECT_EQ(vq::toEngineButton(static_cast<sf::Mouse::Button>(code)), vq::Mouse::UNDEFINED_MOUSE_BUTTON)
            << code;
}

TEST(InputEvents, StartUndefinedWithTheirTypeNames) {
    const vq::EventKeyboard keyboard;
    EXPECT_EQ(keyboard.getType(), vq::KEYBOARD_EVENT);
    EXPECT_EQ(keyboard.getKey(), K::UNDEFINED_KEY);
    EXPECT_EQ(keyboard.getKeyboardAction(), vq::UNDEFINED_KEYBOARD_ACTION);
    const vq::EventMouse mouse;
    EXPECT_EQ(mouse.getType(), "vq::mouse");
    EXPECT_EQ(mouse.getType(), vq::MSE_EVENT);
    EXPECT_EQ(mouse.getMouseButton(), vq::Mouse::UNDEFINED_MOUSE_BUTTON);
    EXPECT_EQ(mouse.getMouseAction(), vq::UNDEFINED_MOUSE_ACTION);
    EXPECT_EQ(mouse.getMousePosition(), vq::Vector(0, 0));
}

// ----------------------------------------------------- translating events

TEST(HandleEvent, KeysArriveInTheEngineNumbering) {
    RecorderInWorld world;
    const vq::InputManager& input = vq::InputManager::getInstance();
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(false, SK::Q));
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Num0));
    input.handleEvent(vq::priv::makeKeyEvent(true, SK::Hyphen));
    const auto& seen = world.p->seen;
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].type, vq::KEYBOARD_EVENT);
    EXPECT_EQ(seen[0].key_or_button, 47);
    EXPECT_EQ(seen[0].action, vq::KEY_PRESSED);
    EXPECT_EQ(seen[1].key_or_button, 47);
    EXPECT_EQ(seen[1].action, vq::KEY_RELEASED);
    EXPECT_EQ(seen[2].key_or_button, K::NUM0);
    EXPECT_EQ(seen[3].key_or_button, K::UNDEFINED_KEY); // unmapped keys still arrive
}

TEST(HandleEvent, MouseMovesAndPressesArriveInCells) {
    RecorderInWorld world;
    const vq::InputManager& input = vq::InputManager::getInstance();
    input.handleEvent(vq::priv::makeMouseMovedEvent(512, 384));
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, sf::Mouse::Button::Right, 100, 50));
    input.handleEvent(vq::priv::makeMouseButtonEvent(false, sf::Mouse::Button::Right, 100, 50));
    input.handleEvent(vq::priv::makeMouseButtonEvent(true, static_cast<sf::Mouse::Button>(3), 0, 0));
    const auto& seen = world.p->seen;
    ASSERT_EQ(seen.size(), 3u); // the release is not passed on
    EXPECT_EQ(seen[0].type, vq::MOUSE_EVENT);
    EXPECT_EQ(seen[0].action, vq::MOVED);
    EXPECT_EQ(seen[0].key_or_button, vq::Mouse::UNDEFINED_MOUSE_BUTTON);
    EXPECT_EQ(seen[0].position, vq::Vector(40, 12));
    EXPECT_EQ(seen[1].action, vq::CLICKED);
    EXPECT_EQ(seen[1].key_or_button, vq::Mouse::RIGHT);
    EXPECT_FLOAT_EQ(seen[1].position.getX(), 7.8125f);
    EXPECT_FLOAT_EQ(seen[1].position.getY(), 1.5625f);
    EXPECT_EQ(seen[2].action, vq::CLICKED);
    EXPECT_EQ(seen[2].key_or_button, vq::Mouse::UNDEFINED_MOUSE_BUTTON);
}

TEST(HandleEvent, CloseEndsTheGameAndOtherEventsAreIgnored) {
    RecorderInWorld world;
    const vq::InputManager& input = vq::InputManager::getInstance();
    vq::GameManager::getInstance().setGameOver(false);
    input.handleEvent(vq::priv::makeFocusLostEvent());
    EXPECT_FALSE(vq::GameManager::getInstance().getGameOver());
    input.handleEvent(vq::priv::makeClosedEvent());
    EXPECT_TRUE(vq::GameManager::getInstance().getGameOver());
    EXPECT_TRUE(world.p->seen.empty());
}

// ---------------------------------------------------- start and stop rules

TEST(InputLifecycle, NeedsAStartedDisplay) {
    vqtest::TempDir dir;
    vqtest::LogSession log;
    ASSERT_TRUE(log.started());
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
        ASSERT_TRUE(log.started());
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
    EXPECT_TRUE(input.isStarted());
    vq::DisplayManager::getInstance().shutDown();
    EXPECT_EQ(input.shutDown(), -1);
    EXPECT_TRUE(input.isStarted());
    const std::string text = vqtest::logText();
    EXPECT_NE(text.find("InputManager started\n"), std::string::npos);
    EXPECT_NE(text.find("Cannot shut down InputManager after DisplayManager\n"), std::string::npos);
    EXPECT_EQ(text.find("InputManager shut down"), std::string::npos);
}

TEST_F(InputWithWindow, QuietWindowDeliversNothing) {
    // Whatever the window reported on opening (focus and the like) is not
    // passed on, and once drained nothing more arrives.
    for (int i = 0; i < 5; i++)
        input.getInput();
    RecorderInWorld world;
    input.getInput();
    EXPECT_TRUE(world.p->seen.empty());
}

// Real X input through xdotool: holding a key must give one press, however
// long it is held, and a click no release.
TEST_F(InputWithWindow, RealKeysAndClicksFromTheXServer) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool is not installed";
    sf::RenderWindow* p_window = vq::DisplayManager::getInstance().getWindow();
    const std::string id = std::to_string(static_cast<unsigned long>(p_window->getSystemHandle()));
    RecorderInWorld world;
    // A fresh X connection is now and then refused for a moment: retry.
    auto xdotool = [](const std::string& args) {
        for (int attempt = 0; attempt < 5; attempt++) {
            if (std::system(("xdotool " + args + " 2> /dev/null").c_str()) == 0)
                return true;
            usleep(50000);
        }
        return false;
    };
    auto pump = [&](int milliseconds) {
        for (int waited = 0; waited < milliseconds; waited += 10) {
            input.getInput();
            usleep(10000);
        }
    };
    pump(200);
    world.p->seen.clear();
    ASSERT_TRUE(xdotool("windowfocus --sync " + id));
    pump(100);
    ASSERT_TRUE(xdotool("keydown q"));
    pump(1500); // well past the X server's auto-repeat delay
    ASSERT_TRUE(xdotool("keyup q"));
    ASSERT_TRUE(xdotool("mousemove --window " + id + " 512 384"));
    ASSERT_TRUE(xdotool("click 3"));
    pump(300);

    std::vector<Recorder::Seen> keys, moves, clicks;
    for (const auto& s : world.p->seen) {
        if (s.type == vq::KEYBOARD_EVENT)
            keys.push_back(s);
        else if (s.action == vq::MOVED)
            moves.push_back(s);
        else
            clicks.push_back(s);
    }
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key_or_button, vq::Keyboard::Q);
    EXPECT_EQ(keys[0].action, vq::KEY_PRESSED);
    EXPECT_EQ(keys[1].key_or_button, vq::Keyboard::Q);
    EXPECT_EQ(keys[1].action, vq::KEY_RELEASED);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().position, vq::Vector(40, 12));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].key_or_button, vq::Mouse::RIGHT);
    EXPECT_EQ(clicks[0].position, vq::Vector(40, 12));
}

} // namespace
