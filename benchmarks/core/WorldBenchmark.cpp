// World update cost with a full world, and the cost of a suppressed log line.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include <velloq/core/LogManager.h>
#include <velloq/world/Object.h>
#include <velloq/world/WorldManager.h>

namespace {

// 1000 solid objects spread over the 80 x 24 grid; every other one wanders
// and turns back at the edges, so collisions and out events both happen.
void BM_WorldUpdateThousandObjects(benchmark::State& state) {
    srand(1);
    std::vector<vq::Object*> objects;
    for (int i = 0; i < vq::MAX_OBJECTS; i++) {
        auto* p_o = new vq::Object;
        p_o->setPosition(vq::Vector(static_cast<float>(i % 40) * 2.0f, static_cast<float>(i / 40) * 0.96f));
        if (i % 2 == 0) {
            p_o->setSolidness(vq::SOFT);
            p_o->setVelocity(vq::Vector((rand() % 200 - 100) / 400.0f, (rand() % 200 - 100) / 400.0f));
        }
        objects.push_back(p_o);
    }
    vq::WorldManager& world = vq::WorldManager::getInstance();
    for (auto _ : state)
        world.update();
    world.shutDown();
}
BENCHMARK(BM_WorldUpdateThousandObjects)->Unit(benchmark::kMillisecond);

void BM_SuppressedLogLine(benchmark::State& state) {
    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogLevel(0);
    int step = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(log.writeLog(0, "Step %i", step++));
}
BENCHMARK(BM_SuppressedLogLine);

} // namespace

BENCHMARK_MAIN();
