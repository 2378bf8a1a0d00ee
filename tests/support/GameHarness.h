#ifndef VQ_TESTS_SUPPORT_GAMEHARNESS_H
#define VQ_TESTS_SUPPORT_GAMEHARNESS_H

// Drives the real engine (headless: VQ_HEADLESS=1) and game objects without a
// player, in a scratch directory linked to the game's data (shared with the
// children death tests re-execute) with the resource table loaded; tests give
// input, run loop steps, read the last frame as text and hear sounds by label.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/InputManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/Object.h>
#include <velloq/world/WorldManager.h>

#include "AudioOutput.h"
#include "common/MoneyManager.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "flow/ResourceTable.h"

namespace vqtest {

inline std::vector<std::string>& playedSounds() {
    static std::vector<std::string> sounds;
    return sounds;
}
inline int timesPlayed(const std::string& label) {
    return static_cast<int>(std::count(playedSounds().begin(), playedSounds().end(), label));
}

class EngineEnvironment : public ::testing::Environment {
    void SetUp() override {
        if (getenv("VQ_TEST_DIR") == nullptr) {
            char templ[] = "/tmp/vqgame-XXXXXX";
            ASSERT_NE(mkdtemp(templ), nullptr);
            for (const char* entry : {"sprites", "sounds", "music"})
                std::filesystem::create_symlink(VQ_DATA_DIR "/" + std::string(entry),
                                                templ + ("/" + std::string(entry)));
            setenv("VQ_TEST_DIR", templ, 1);
            m_owns_dir = true;
        }
        ASSERT_EQ(chdir(getenv("VQ_TEST_DIR")), 0);
        useSilentAudioOutput();
        vq::LogManager::getInstance().setLogLevel(1); // a long run at level 0 would flood the log
        vq::LogManager::getInstance().setFlush(true);
        ASSERT_EQ(vq::GameManager::getInstance().startUp(), 0)
            << "engine did not start (VQ_HEADLESS=1 needs no display)";
        ASSERT_TRUE(loadResources().empty());
        setSoundObserver([](const std::string& label) { playedSounds().push_back(label); });
    }
    void TearDown() override {
        vq::GameManager::getInstance().shutDown();
        if (m_owns_dir)
            std::filesystem::remove_all(getenv("VQ_TEST_DIR"));
    }
    bool m_owns_dir = false;
};
inline ::testing::Environment* const ENGINE_ENVIRONMENT = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

// Every object deleted, money and upgrades reset, sounds forgotten, the game's chance seeded.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override {
        if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic("lounge"))
            p_music->stop(); // the title and the shop start it
        clear();
    }
    static void clear() {
        const vq::ObjectList all = vq::WorldManager::getInstance().getAllObjects();
        for (int i = 0; i < all.getCount(); i++)
            vq::WorldManager::getInstance().markForDelete(all[i]);
        vq::WorldManager::getInstance().update();
        MoneyManager::getInstance().reset();
        UpgradeManager::getInstance().reset();
        playedSounds().clear();
        srand(1);
    }
};

inline void send(const vq::Event& e) { vq::WorldManager::getInstance().onEvent(&e); }
// Input as the player gives it, through the input manager, delivered at once.
inline vq::InputManager& input() { return vq::InputManager::getInstance(); }
inline void key(vq::Keyboard::Key k, vq::EventKeyboardAction action = vq::KEY_PRESSED) {
    input().injectKey(k, action);
    input().getInput();
}
inline void click(vq::Vector where) {
    input().injectClick(where);
    input().getInput();
}
inline void moveMouse(vq::Vector where) {
    input().injectMouseMove(where);
    input().getInput();
}

// Whole loop iterations: input, step event, world update, drawing, display.
inline void steps(int n = 1) {
    for (int i = 0; i < n; i++)
        vq::GameManager::getInstance().step();
}

inline std::string screenRow(int row) {
    return vq::DisplayManager::getInstance().lastFrameAsText().substr(static_cast<size_t>(row) * 81, 80);
}
inline std::string cells(int row, int first, int count) { return screenRow(row).substr(first, count); }
// Whether the last frame shows one of the sprite's frames centred on `centre`.
inline bool showsPicture(const std::string& label, vq::Vector centre) {
    const vq::Sprite* p = vq::ResourceManager::getInstance().getSprite(label);
    const int w = p->getWidth(), h = p->getHeight();
    // Drawn cells round half up to the grid.
    const int left = static_cast<int>(std::floor(centre.getX() - w / 2.0f + 0.5f));
    const int top = static_cast<int>(std::floor(centre.getY() - h / 2.0f + 0.5f));
    for (int f = 0; f < p->getFrameCount(); f++) {
        bool all = true;
        for (int y = 0; y < h && all; y++)
            all = cells(top + y, left, w) == p->getFrame(f).getString().substr(static_cast<size_t>(y * w), w);
        if (all)
            return true;
    }
    return false;
}

inline int countOf(const std::string& type) { return vq::WorldManager::getInstance().objectsOfType(type).getCount(); }
inline int objectCount() { return vq::WorldManager::getInstance().getAllObjects().getCount(); }
template <typename T> std::vector<T*> allOf(const std::string& type) {
    const vq::ObjectList found = vq::WorldManager::getInstance().objectsOfType(type);
    std::vector<T*> result(static_cast<size_t>(found.getCount()));
    for (size_t i = 0; i < result.size(); i++)
        result[i] = dynamic_cast<T*>(found[static_cast<int>(i)]);
    return result;
}
inline std::string spriteLabel(const vq::Object* p_o) { return p_o->getAnimation().getName(); }
inline int money() { return MoneyManager::getInstance().getMoney(); }

// Buys an upgrade as often as asked, with money handed over for the purpose.
inline bool buy(const std::string& name, int times = 1) {
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    bool bought = true;
    for (int i = 0; i < times; i++) {
        MoneyManager::getInstance().addMoney(upgrades.getUpgradePrice(upgrades.getShopUpgrade(name)));
        bought = upgrades.attemptPurchaseUpgrade(name) && bought;
        upgrades.updateUpgradeShop();
    }
    return bought;
}

} // namespace vqtest

#endif
