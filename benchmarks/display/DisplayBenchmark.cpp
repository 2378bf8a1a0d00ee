// Full 80 x 24 frames of random coloured characters, drawn as one batch and
// drawn one rectangle and text at a time, the same screen shown again, plus
// the CPU cost of queueing a character. Needs an X display (run under
// xvfb-run). Targets here: batched at most what libtcod takes for the same
// grids (scripts/display-vs-peer.sh) and >= 3x faster than per-character,
// a screen unchanged from the frame before <= 1.5 ms, queueing <= 1 us.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <velloq/display/CharacterBatch.h>
#include <velloq/display/ConvertColor.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/SfmlCompat.h>

#include "ReferenceCharacter.h"

namespace {

const int COLUMNS = 80;
const int ROWS = 24;
const int CELLS = COLUMNS * ROWS;

struct Cell {
    char ch;
    vq::Color color;
};

// A few different random screens, cycled frame by frame.
std::vector<std::vector<Cell>> makeScreens() {
    std::mt19937 rng(12345);
    std::vector<std::vector<Cell>> screens(4);
    for (auto& screen : screens)
        for (int i = 0; i < CELLS; i++)
            screen.push_back({static_cast<char>(33 + rng() % 94), static_cast<vq::Color>(rng() % 8)});
    return screens;
}

const std::vector<std::vector<Cell>>& screens() {
    static const std::vector<std::vector<Cell>> all = makeScreens();
    return all;
}

void drawScreenThroughDisplay(const std::vector<Cell>& screen) {
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    for (int i = 0; i < CELLS; i++)
        display.drawCh(vq::Vector(static_cast<float>(i % COLUMNS), static_cast<float>(i / COLUMNS)), screen[i].ch,
                       screen[i].color);
}

// drawCh and swapBuffers as the game loop calls them: the frame is queued,
// drawn in one call, shown and cleared.
void BM_FrameBatched(benchmark::State& state) {
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    std::size_t frame = 0;
    for (auto _ : state) {
        drawScreenThroughDisplay(screens()[frame++ % screens().size()]);
        display.swapBuffers();
    }
    state.SetItemsProcessed(state.iterations() * CELLS);
}
BENCHMARK(BM_FrameBatched)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same full screen in every frame: shown again from the kept copy.
void BM_FrameUnchanged(benchmark::State& state) {
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    for (auto _ : state) {
        drawScreenThroughDisplay(screens()[0]);
        display.swapBuffers();
    }
    state.SetItemsProcessed(state.iterations() * CELLS);
}
BENCHMARK(BM_FrameUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same frames with every character drawn at once as its own rectangle
// and text, then shown and cleared the same way.
void BM_FramePerCharacter(benchmark::State& state) {
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    sf::RenderWindow& window = *display.getWindow();
    sf::Font font;
    if (!vq::priv::openFont(font, vq::FONT_FILE_DEFAULT)) {
        state.SkipWithError("cannot open the font");
        return;
    }
    const sf::Color background = vq::convertColor(vq::BLACK);
    std::size_t frame = 0;
    for (auto _ : state) {
        const std::vector<Cell>& screen = screens()[frame++ % screens().size()];
        for (int i = 0; i < CELLS; i++) {
            const vq::Vector p =
                vq::spacesToPixels(vq::Vector(static_cast<float>(i % COLUMNS), static_cast<float>(i / COLUMNS)));
            vqtest::drawReferenceCharacter(window, font, p.getX(), p.getY(), screen[i].ch,
                                           vq::convertColor(screen[i].color), background);
        }
        window.display();
        window.clear(background);
    }
    state.SetItemsProcessed(state.iterations() * CELLS);
}
BENCHMARK(BM_FramePerCharacter)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// CPU time of queueing one character through drawCh (conversion, the
// screen-as-text record and the batch's quads); drawing is not timed.
void BM_QueueCharacter(benchmark::State& state) {
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    std::size_t frame = 0;
    for (auto _ : state) {
        drawScreenThroughDisplay(screens()[frame++ % screens().size()]);
        state.PauseTiming();
        display.swapBuffers();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * CELLS);
}
BENCHMARK(BM_QueueCharacter)->Unit(benchmark::kMicrosecond);

// The batch alone: quads for one frame, then emptied.
void BM_BuildBatch(benchmark::State& state) {
    sf::Font font;
    if (!vq::priv::openFont(font, vq::FONT_FILE_DEFAULT)) {
        state.SkipWithError("cannot open the font");
        return;
    }
    vq::priv::CharacterBatch batch;
    batch.setFont(&font, static_cast<unsigned>(2 * vq::charWidth()));
    batch.setCellSize(vq::charWidth(), vq::charHeight());
    batch.setTargetSize(1024, 768);
    std::size_t frame = 0;
    for (auto _ : state) {
        batch.startFrame(sf::Color::Black);
        const std::vector<Cell>& screen = screens()[frame++ % screens().size()];
        for (int i = 0; i < CELLS; i++) {
            const vq::Vector p =
                vq::spacesToPixels(vq::Vector(static_cast<float>(i % COLUMNS), static_cast<float>(i / COLUMNS)));
            batch.add(p.getX(), p.getY(), screen[i].ch, vq::convertColor(screen[i].color), sf::Color::Black);
        }
        benchmark::DoNotOptimize(batch.frame().quads.size());
    }
    state.SetItemsProcessed(state.iterations() * CELLS);
}
BENCHMARK(BM_BuildBatch)->Unit(benchmark::kMicrosecond);

// Whether a run ended in an error. Google Benchmark 1.8 replaced the
// error flag with a skip state; the overload taking int wins where the
// newer member exists.
template <typename Run> auto runFailed(const Run& run, int) -> decltype(static_cast<bool>(run.skipped)) {
    return static_cast<bool>(run.skipped);
}
template <typename Run> bool runFailed(const Run& run, long) { return run.error_occurred; }

// Prints the usual table, then the figures the targets are stated in.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (runFailed(run, 0) || run.iterations == 0)
                continue;
            const double iterations = static_cast<double>(run.iterations);
            m_real_ms[run.benchmark_name()] = run.real_accumulated_time / iterations * 1e3;
            m_cpu_us_per_char[run.benchmark_name()] = run.cpu_accumulated_time / iterations / CELLS * 1e6;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto batched = find(m_real_ms, "BM_FrameBatched");
        const auto unchanged = find(m_real_ms, "BM_FrameUnchanged");
        const auto per_char = find(m_real_ms, "BM_FramePerCharacter");
        std::printf("\nSummary (80 x 24 random characters)\n");
        if (batched > 0)
            std::printf("  batched frame, drawCh + swapBuffers:   %8.2f ms\n", batched);
        if (unchanged > 0)
            std::printf("  the same frame again:                  %8.2f ms\n", unchanged);
        if (per_char > 0)
            std::printf("  per-character frame, with display():   %8.2f ms\n", per_char);
        if (batched > 0 && per_char > 0)
            std::printf("  per-character / batched:               %8.2fx\n", per_char / batched);
        const auto queue = find(m_cpu_us_per_char, "BM_QueueCharacter");
        const auto build = find(m_cpu_us_per_char, "BM_BuildBatch");
        if (queue > 0)
            std::printf("  drawCh CPU per character:              %8.3f us\n", queue);
        if (build > 0)
            std::printf("  batch building CPU per character:      %8.3f us\n", build);
    }

private:
    static double find(const std::map<std::string, double>& m, const std::string& prefix) {
        for (const auto& entry : m)
            if (entry.first.compare(0, prefix.size(), prefix) == 0)
                return entry.second;
        return -1;
    }
    std::map<std::string, double> m_real_ms;
    std::map<std::string, double> m_cpu_us_per_char;
};

} // namespace

int main(int argc, char** argv) {
    // The font is looked up in the working directory, as the game does.
    if (access(vq::FONT_FILE_DEFAULT, R_OK) != 0 && chdir(VQ_DATA_DIR) != 0) {
        std::fprintf(stderr, "cannot find %s\n", vq::FONT_FILE_DEFAULT);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    vq::DisplayManager& display = vq::DisplayManager::getInstance();
    if (display.startUp() != 0) {
        std::fprintf(stderr, "cannot open the window (is there an X display?)\n");
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    display.shutDown();
    benchmark::Shutdown();
    return 0;
}
