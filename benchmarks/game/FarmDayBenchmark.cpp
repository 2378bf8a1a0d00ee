// One whole farm day of a late game in a real window: the objects main
// creates, 31 plots, both tools and both pests, the reticle following the
// mouse. Per step, the game logic with the drawing into the frame's batch is
// timed apart from showing the frame (the swap). Run under xvfb-run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>

#include <velloq/core/EventStep.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>
#include <velloq/input/InputManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/ObjectList.h>
#include <velloq/world/WorldManager.h>

#include "AudioOutput.h"
#include "common/MoneyManager.h"
#include "common/UpgradeManager.h"
#include "flow/DayKeeper.h"
#include "flow/ResourceTable.h"
#include "flow/RunObjects.h"

namespace {

using Clock = std::chrono::steady_clock;

void pressSpace() {
    vq::EventKeyboard space;
    space.setKey(vq::Keyboard::SPACE);
    space.setKeyboardAction(vq::KEY_PRESSED);
    vq::WorldManager::getInstance().onEvent(&space);
}

void buy(const std::string& name) {
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    MoneyManager::getInstance().addMoney(upgrades.getUpgradePrice(upgrades.getShopUpgrade(name)));
    upgrades.attemptPurchaseUpgrade(name);
    upgrades.updateUpgradeShop();
}

// Starts the engine and a game with 31 plots whose crops cycle by themselves.
DayKeeper* setUpGame() {
    if (chdir(VQ_DATA_DIR) != 0)
        return nullptr;
    // Without a sound card, a silent audio device instead of failing calls.
    vqtest::useSilentAudioOutput();
    vq::LogManager::getInstance().setLogLevel(1);
    if (vq::GameManager::getInstance().startUp() != 0)
        return nullptr;
    loadResources();
    srand(7);
    auto* p_keeper = createRunObjects();
    pressSpace();
    for (const char* name : {"Fertilizer", "Instant Scythe", "Seed Drill"})
        buy(name);
    // Seven Field Work purchases, three plots per switch back to the farm.
    for (int i = 0; i < 7; i++) {
        buy("Field Work");
        p_keeper->swapToFarm();
    }
    // Let the title screen go and the crops and pests get going.
    for (int i = 0; i < 900; i++)
        vq::GameManager::getInstance().step();
    return p_keeper;
}

void BM_FarmDay(benchmark::State& state) {
    DayKeeper* p_keeper = setUpGame();
    if (p_keeper == nullptr) {
        state.SkipWithError("engine did not start (no display?)");
        return;
    }
    vq::WorldManager& world = vq::WorldManager::getInstance();
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    const int plots = world.objectsOfType("Plot").getCount();

    double logic_seconds = 0;
    double swap_seconds = 0;
    long steps = 0;
    for (auto _ : state) {
        // Between days (not timed): leave the shop, keep the quota in reach.
        if (!p_keeper->isDayActive())
            pressSpace();
        MoneyManager::getInstance().addMoney(DayKeeper::quotaForDay(p_keeper->getDay() + 1));

        double day_logic = 0;
        for (int i = 0; i < DayKeeper::DAY_LENGTH; i++) {
            // The player moves the mouse in a slow circle over the field.
            vq::EventMouse move;
            move.setMouseAction(vq::MOVED);
            move.setMousePosition(vq::Vector(40 + 30 * std::cos(i / 60.0f), 12 + 8 * std::sin(i / 60.0f)));

            // The loop's work, as GameManager::step does it, timed in two parts.
            const Clock::time_point start = Clock::now();
            vq::InputManager::getInstance().getInput();
            world.onEvent(&move);
            const vq::EventStep step_event(vq::GameManager::getInstance().getStepCount());
            world.onEvent(&step_event);
            world.update();
            world.draw();
            const Clock::time_point drawn = Clock::now();
            display.swapBuffers();
            const Clock::time_point shown = Clock::now();

            day_logic += std::chrono::duration<double>(drawn - start).count();
            swap_seconds += std::chrono::duration<double>(shown - drawn).count();
            steps++;
        }
        logic_seconds += day_logic;
        state.SetIterationTime(day_logic);
    }
    const double per_step = 1000.0 / static_cast<double>(steps);
    state.counters["logic_and_batch_ms_per_step"] = logic_seconds * per_step;
    state.counters["swap_ms_per_step"] = swap_seconds * per_step;
    state.counters["whole_step_ms"] = (logic_seconds + swap_seconds) * per_step;
    state.counters["plots"] = plots;
    state.counters["objects"] = world.getAllObjects().getCount();
    vq::GameManager::getInstance().shutDown();
}
// Manual time: the logic and batch of one day; the swap is a counter.
BENCHMARK(BM_FarmDay)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
