// Runs the real game loop (window included) for a number of steps and prints
// the mean, median and 99th percentile of the step period.
//   loop_pacing [steps]   (default 300; run from the repository root)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <velloq/core/Clock.h>
#include <velloq/core/EventStep.h>
#include <velloq/core/LogManager.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/Object.h>

namespace {

class PeriodRecorder : public vq::Object {
public:
    explicit PeriodRecorder(int steps) : m_steps(steps) { setSolidness(vq::GHOST); }
    int eventHandler(const vq::Event* p_e) override {
        if (p_e->getType() != vq::STEP_EVENT)
            return 0;
        const int64_t elapsed = m_clock.delta();
        if (m_seen++ > 0)
            periods.push_back(elapsed);
        if (m_seen > m_steps)
            vq::GameManager::getInstance().setGameOver(true);
        return 1;
    }
    int draw() override { return 0; }

    static std::vector<int64_t> periods;

private:
    vq::Clock m_clock;
    int m_steps;
    int m_seen = 0;
};

std::vector<int64_t> PeriodRecorder::periods;

} // namespace

int main(int argc, char** argv) {
    const int steps = argc > 1 ? atoi(argv[1]) : 300;
    if (steps < 2) {
        fprintf(stderr, "usage: loop_pacing [steps >= 2]\n");
        return 2;
    }
    vq::LogManager::getInstance().setLogLevel(0);
    vq::GameManager& game = vq::GameManager::getInstance();
    if (game.startUp() != 0) {
        fprintf(stderr, "cannot start the engine (run from the repository root, with a display)\n");
        return 1;
    }
    new PeriodRecorder(steps);
    game.run();

    std::vector<int64_t> sorted = PeriodRecorder::periods;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (int64_t p : sorted)
        sum += static_cast<double>(p);
    const double mean = sum / static_cast<double>(sorted.size());
    const auto percentile = [&sorted](double q) {
        return sorted[std::min(sorted.size() - 1, static_cast<size_t>(q * static_cast<double>(sorted.size())))];
    };
    printf("steps %zu  mean %.3f ms  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", sorted.size(), mean / 1000.0,
           static_cast<double>(percentile(0.5)) / 1000.0, static_cast<double>(percentile(0.99)) / 1000.0,
           static_cast<double>(sorted.back()) / 1000.0);
    return 0;
}
