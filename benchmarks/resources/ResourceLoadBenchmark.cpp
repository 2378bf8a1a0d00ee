// Loading the game's 51 resources as main() does (target: 150 ms or less).
// Run from anywhere: the data is read from the repository root and the log
// is written to a temporary directory. Audio goes to an output that goes
// nowhere.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <velloq/core/LogManager.h>
#include <velloq/resources/ResourceManager.h>

#include "AudioOutput.h"
#include "flow/ResourceTable.h"

namespace {

namespace fs = std::filesystem;

// Log and store started once, like the game: log level 0, flush on.
void startEngineOnce() {
    static bool started = false;
    if (started)
        return;
    started = true;
    std::string dir = (fs::temp_directory_path() / "vq-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr)
        std::abort();
    vqtest::useSilentAudioOutput();
    if (chdir(dir.c_str()) != 0)
        std::abort();
    vq::LogManager& log = vq::LogManager::getInstance();
    log.startUp();
    log.setLogLevel(0);
    log.setFlush(true);
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    if (chdir(VQ_DATA_DIR) != 0)
        std::abort();
}

// The store emptied between runs, so each run loads into fresh slots.
void restartStore() {
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    if (store.isStarted())
        store.shutDown();
    store.startUp();
}

void BM_LoadAllResources(benchmark::State& state) {
    startEngineOnce();
    for (auto _ : state) {
        state.PauseTiming();
        restartStore();
        state.ResumeTiming();
        loadResources();
    }
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    if (store.getSprite("text_title") == nullptr || store.getSound("success") == nullptr ||
        store.getMusic("lounge") == nullptr)
        state.SkipWithError("a resource did not load");
}
BENCHMARK(BM_LoadAllResources)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadSprites(benchmark::State& state) {
    startEngineOnce();
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    for (auto _ : state) {
        state.PauseTiming();
        restartStore();
        state.ResumeTiming();
        for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
            store.loadSprite(SPRITE_RESOURCES[i].file, SPRITE_RESOURCES[i].label);
    }
}
BENCHMARK(BM_LoadSprites)->Unit(benchmark::kMillisecond);

void BM_LoadSounds(benchmark::State& state) {
    startEngineOnce();
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    for (auto _ : state) {
        state.PauseTiming();
        restartStore();
        state.ResumeTiming();
        for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++)
            store.loadSound(SOUND_RESOURCES[i].file, SOUND_RESOURCES[i].label);
    }
}
BENCHMARK(BM_LoadSounds)->Unit(benchmark::kMillisecond);

// Opening the MP3 scans its frames once for the exact length.
void BM_OpenMusic(benchmark::State& state) {
    startEngineOnce();
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    for (auto _ : state) {
        state.PauseTiming();
        restartStore();
        state.ResumeTiming();
        store.loadMusic(MUSIC_RESOURCES[0].file, MUSIC_RESOURCES[0].label);
    }
}
BENCHMARK(BM_OpenMusic)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
