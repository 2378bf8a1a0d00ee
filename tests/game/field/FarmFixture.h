#ifndef CORNFIELD_TESTS_FARMFIXTURE_H
#define CORNFIELD_TESTS_FARMFIXTURE_H

// Runs farm objects without a window: the farm sprites come from the
// repository, sounds are recorded instead of played, and the world is driven
// with events and updates the way the game loop does.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "common/MoneyManager.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "core/EventStep.h"
#include "input/EventMouse.h"
#include "resources/ResourceManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace farmtest {

inline std::vector<std::string>& soundLog() {
    static std::vector<std::string> sounds;
    return sounds;
}
inline int timesPlayed(const std::string& label) {
    return static_cast<int>(std::count(soundLog().begin(), soundLog().end(), label));
}

inline void broadcast(const vq::Event& e) { vq::WorldManager::getInstance().onEvent(&e); }

// The step event, then the world's deletions and moves.
inline void step(int n = 1) {
    for (int i = 0; i < n; i++) {
        broadcast(vq::EventStep(i));
        vq::WorldManager::getInstance().update();
    }
}

inline void mouse(vq::Vector where, vq::EventMouseAction action) {
    vq::EventMouse e;
    e.setMouseAction(action);
    e.setMousePosition(where);
    broadcast(e);
}
inline void click(vq::Vector where) { mouse(where, vq::CLICKED); }
inline void hover(vq::Vector where) { mouse(where, vq::MOVED); }

inline void announceTool(PlotModifierType type) {
    EventModifierChange e;
    e.setModifierType(type);
    broadcast(e);
}
inline void newDay(int day) { broadcast(EventNewDay(day)); }
inline void setFarm(bool farm) {
    EventStateChange e;
    e.setFarm(farm);
    broadcast(e);
}

// Buys an upgrade with money handed over for the purpose.
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

inline std::string spriteOf(const vq::Object* p_o) { return p_o->getAnimation().getName(); }
inline const vq::Sprite* sprite(const std::string& label) {
    return vq::ResourceManager::getInstance().getSprite(label);
}

class FarmTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Also when the whole binary runs in one process.
        MoneyManager::getInstance().reset();
        UpgradeManager::getInstance().reset();
        soundLog().clear();
        srand(1);
        const char* const files[] = {
            "plot/empty plot_empty", "plot/watered plot_watered", "plot/fertile plot_fertile",
            "plot/watered_fertile plot_watered_fertile", "modifiers/fertilizer fertilizer",
            "modifiers/watering_can watering_can", "corn/growing corn_growing", "corn/seeds corn_seeds",
            "corn/sprouts corn_sprouts", "corn/yellow corn_yellow", "corn/red corn_red", "pests/crow pest_crow",
            "pests/fly pest_fly", "pests/crow_damage pest_crow_damaged", "pests/fly_damage pest_fly_damaged"};
        for (const std::string entry : files) {
            const size_t space = entry.find(' ');
            vq::ResourceManager::getInstance().loadSprite(
                std::string(VQ_DATA_DIR) + "/sprites/" + entry.substr(0, space) + ".txt", entry.substr(space + 1));
        }
        setSoundObserver([](const std::string& label) { soundLog().push_back(label); });
    }
    void TearDown() override {
        setSoundObserver(nullptr);
        vq::WorldManager::getInstance().shutDown();
        vq::ResourceManager::getInstance().shutDown();
    }
};

} // namespace farmtest

#endif
