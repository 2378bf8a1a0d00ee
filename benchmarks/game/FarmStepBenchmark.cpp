// One farm step of a late game: 31 plots, both tools and both pests, with the
// upgrades that make plots harvest and replant themselves. No window: the step
// event is broadcast and the world updated, as the game loop does.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <velloq/core/EventStep.h>
#include <velloq/input/EventMouse.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/WorldManager.h>

#include "common/EventNewDay.h"
#include "common/MoneyManager.h"
#include "common/UpgradeManager.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "field/Reticle.h"
#include "pests/Crow.h"
#include "pests/Fly.h"

namespace {

void loadSprites() {
    const char* const files[][2] = {
        // clang-format off
        {"plot/empty.txt", "plot_empty"},          {"plot/watered.txt", "plot_watered"},
        {"plot/fertile.txt", "plot_fertile"},      {"plot/watered_fertile.txt", "plot_watered_fertile"},
        {"modifiers/fertilizer.txt", "fertilizer"}, {"modifiers/watering_can.txt", "watering_can"},
        {"corn/growing.txt", "corn_growing"},      {"corn/seeds.txt", "corn_seeds"},
        {"corn/sprouts.txt", "corn_sprouts"},      {"corn/yellow.txt", "corn_yellow"},
        {"pests/crow.txt", "pest_crow"},           {"pests/fly.txt", "pest_fly"},
        {"pests/crow_damage.txt", "pest_crow_damaged"}, {"pests/fly_damage.txt", "pest_fly_damaged"},
    };
    // clang-format on
    for (const auto& entry : files)
        vq::ResourceManager::getInstance().loadSprite(std::string(VQ_DATA_DIR) + "/sprites/" + entry[0], entry[1]);
}

void buy(const std::string& name) {
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    MoneyManager::getInstance().addMoney(upgrades.getUpgradePrice(upgrades.getShopUpgrade(name)));
    upgrades.attemptPurchaseUpgrade(name);
    upgrades.updateUpgradeShop();
}

void step(vq::WorldManager& world) {
    const vq::EventStep e;
    world.onEvent(&e);
    world.update();
}

void BM_FarmStep(benchmark::State& state) {
    srand(1);
    loadSprites();
    for (const char* name : {"Fertilizer", "Instant Scythe", "Seed Drill", "Fresher Water", "Stuffed Bags"})
        buy(name);

    vq::WorldManager& world = vq::WorldManager::getInstance();
    new Reticle();
    for (int i = 0; i < 31; i++)
        (new Plot())->reset();
    new PlotModifier(WATERING_CAN);
    new PlotModifier(FERTILIZER);
    Pest* pests[] = {new Crow(), new Fly()};
    const EventNewDay day(12);
    world.onEvent(&day);

    // Long enough for both pests to be out and the crops to cycle.
    for (int i = 0; i < 1100; i++)
        step(world);

    long pests_out = 0;
    for (auto _ : state) {
        step(world);
        pests_out += pests[0]->getSpawned() + pests[1]->getSpawned();
    }

    // Share of steps each pest spent out on the field.
    state.counters["pest_out_share"] = static_cast<double>(pests_out) / (2.0 * static_cast<double>(state.iterations()));
    state.counters["objects"] = world.getAllObjects().getCount();
    world.shutDown();
    vq::ResourceManager::getInstance().shutDown();
}
BENCHMARK(BM_FarmStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
