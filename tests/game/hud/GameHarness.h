#ifndef CORNFIELD_TESTS_GAMEHARNESS_H
#define CORNFIELD_TESTS_GAMEHARNESS_H

// Drives the real engine and game objects without a player: starts the engine
// once per test process in the data directory, loads the game's resources,
// and offers key presses, mouse events, whole steps and the text of the last
// frame. Used by the hud, shop and flow tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <string>
#include <vector>

#include <SFML/Window/Context.hpp>

#include "EngineProbes.h"
#include "SfmlTestCompat.h"
#include "common/MoneyManager.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "core/EventStep.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"
#include "flow/ResourceTable.h"
#include "input/EventKeyboard.h"
#include "input/EventMouse.h"
#include "input/InputManager.h"
#include "world/GameManager.h"
#include "world/Object.h"
#include "world/ObjectList.h"
#include "world/WorldManager.h"

namespace cftest {

// Every sound label the game asked for since the last clearSounds().
inline std::vector<std::string>& playedSounds() {
    static std::vector<std::string> sounds;
    return sounds;
}
inline void recordSound(const std::string& label) { playedSounds().push_back(label); }
inline void clearSounds() { playedSounds().clear(); }
inline int timesPlayed(const std::string& label) {
    int n = 0;
    for (const std::string& s : playedSounds())
        n += s == label ? 1 : 0;
    return n;
}

// The working directory of this test process and of the children it
// re-executes for death tests: links to the game's data, and a log of its
// own, not shared with test processes running beside it.
inline std::string privateDataDir() {
    if (const char* p_dir = getenv("CF_TEST_DIR"))
        return p_dir;
    char templ[] = "/tmp/cftest-XXXXXX";
    if (mkdtemp(templ) == nullptr)
        return VQ_DATA_DIR;
    for (const char* entry : {"vq-font.ttf", "sprites", "sounds", "music"})
        if (symlink((std::string(VQ_DATA_DIR) + "/" + entry).c_str(), (std::string(templ) + "/" + entry).c_str()) != 0)
            return VQ_DATA_DIR;
    setenv("CF_TEST_DIR", templ, 1);
    return templ;
}

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_owns_dir = getenv("CF_TEST_DIR") == nullptr;
        m_dir = privateDataDir();
        ASSERT_EQ(chdir(m_dir.c_str()), 0);
        // Test machines often have no sound card: a silent audio device keeps
        // sounds and music working (and quiet) instead of failing on every call.
        vqtest::useSilentAudioOutput();
        vq::LogManager& log = vq::LogManager::getInstance();
        // Only level-less lines: a long run at level 0 would flood the log.
        log.setLogLevel(1);
        log.setFlush(true);
        ASSERT_EQ(vq::GameManager::getInstance().startUp(), 0) << "engine did not start (no display?)";
        loadResources();
        setSoundObserver(recordSound);
        // Mesa's GL driver is unloaded with the last GL context at exit and
        // its one-time allocations then show up as leaks from an unnamed
        // module; a context that lives to the end keeps the driver loaded.
        static sf::Context* volatile p_held_context = nullptr;
        if (p_held_context == nullptr) {
            p_held_context = new sf::Context;
            static_cast<void>(p_held_context->setActive(false));
        }
    }
    void TearDown() override {
        setSoundObserver(nullptr);
        vq::GameManager::getInstance().shutDown();
        if (m_owns_dir && m_dir != VQ_DATA_DIR) {
            std::error_code ignored;
            std::filesystem::remove_all(m_dir, ignored);
        }
    }

private:
    std::string m_dir;
    bool m_owns_dir = false;
};

inline ::testing::Environment* const ENGINE_ENVIRONMENT =
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

// Deletes every object, resets money and upgrades, forgets sounds.
inline void clearGame() {
    vq::WorldManager& world = vq::WorldManager::getInstance();
    const vq::ObjectList all = world.getAllObjects();
    for (int i = 0; i < all.getCount(); i++)
        world.markForDelete(all[i]);
    world.update();
    MoneyManager::getInstance().reset();
    UpgradeManager::getInstance().reset();
    clearSounds();
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { clearGame(); }
    // The title screen and the shop start the lounge music; it must not
    // play on into the next test.
    void TearDown() override {
        vqtest::stopMusic("lounge");
        clearGame();
    }
};

inline void key(vq::Keyboard::Key k, vq::EventKeyboardAction action = vq::KEY_PRESSED) {
    vq::EventKeyboard e;
    e.setKey(k);
    e.setKeyboardAction(action);
    vq::WorldManager::getInstance().onEvent(&e);
}

inline void mouse(vq::Vector position, vq::EventMouseAction action) {
    vq::EventMouse e;
    e.setMouseAction(action);
    e.setMouseButton(vq::Mouse::LEFT);
    e.setMousePosition(position);
    vq::WorldManager::getInstance().onEvent(&e);
}
inline void click(vq::Vector position) { mouse(position, vq::CLICKED); }
inline void moveMouse(vq::Vector position) { mouse(position, vq::MOVED); }

// Whole loop iterations: input, step event, world update, draw, swap.
inline void steps(int n) {
    for (int i = 0; i < n; i++)
        vq::GameManager::getInstance().step();
}

// The same without drawing and showing the frame. Under a virtual screen
// showing a frame costs several times the rest of the step, so long runs
// draw only some of their steps.
inline void logicStep() {
    vq::InputManager::getInstance().getInput();
    const vq::EventStep step_event(vq::GameManager::getInstance().getStepCount());
    vq::WorldManager::getInstance().onEvent(&step_event);
    vq::WorldManager::getInstance().update();
}

inline std::string screen() { return vq::DisplayManager::getInstance().lastFrameAsText(); }
inline std::string screenRow(int row) {
    const std::string text = screen();
    const int width = vq::DisplayManager::getInstance().getHorizontal();
    return text.substr(static_cast<size_t>(row) * static_cast<size_t>(width + 1), static_cast<size_t>(width));
}

inline int countOfType(const std::string& type) {
    return vq::WorldManager::getInstance().objectsOfType(type).getCount();
}
inline int objectCount() { return vq::WorldManager::getInstance().getAllObjects().getCount(); }

template <typename T> T* firstOfType(const std::string& type) {
    const vq::ObjectList found = vq::WorldManager::getInstance().objectsOfType(type);
    return found.isEmpty() ? nullptr : dynamic_cast<T*>(found[0]);
}

template <typename T> std::vector<T*> allOfType(const std::string& type) {
    const vq::ObjectList found = vq::WorldManager::getInstance().objectsOfType(type);
    std::vector<T*> result;
    for (int i = 0; i < found.getCount(); i++)
        if (T* p = dynamic_cast<T*>(found[i]))
            result.push_back(p);
    return result;
}

} // namespace cftest

#endif
