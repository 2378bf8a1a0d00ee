// Measures the game as a player meets it, in a real window (run it from the
// repository root, under xvfb-run where there is no display):
//   - start-up: engine, all resources and the first objects, to the first frame shown;
//   - frame work per scene (title, a farm of 31 plots with both pests out, the
//     shop): game logic, building the frame's batch, and showing it, and how
//     many frames were drawn whole, brought up to date or shown again;
//   - resident memory while playing;
//   - given a number of seconds, the CPU time the process uses per second of
//     play in each scene, the game loop's step paced to its 33 ms.
//   scene_frames [frames] [cpu-seconds]   (default 300 frames, no CPU time)
// Prints tables; nothing here is asserted.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include <velloq/core/EventStep.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/display/FrameCapture.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/input/EventMouse.h>
#include <velloq/input/InputManager.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/WorldManager.h>

#include "common/MoneyManager.h"
#include "field/Plot.h"
#include "flow/DayKeeper.h"
#include "flow/ResourceTable.h"
#include "flow/RunObjects.h"
#include "pests/Pest.h"

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Sample {
    double logic, batch, show;
};

// One loop iteration split into its parts, as GameManager::step runs them.
Sample frame() {
    Sample s{};
    vq::WorldManager& world = vq::WorldManager::getInstance();
    auto t = Clock::now();
    vq::InputManager::getInstance().getInput();
    const vq::EventStep step(vq::GameManager::getInstance().getStepCount());
    world.onEvent(&step);
    world.update();
    s.logic = microsecondsSince(t);
    t = Clock::now();
    world.draw();
    s.batch = microsecondsSince(t);
    t = Clock::now();
    vq::DisplayManager::getInstance().swapBuffers();
    s.show = microsecondsSince(t);
    return s;
}

double percentile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size())))];
}

void measureScene(const char* name, int frames) {
    const vq::priv::FrameCounts before = vq::priv::frameCounts();
    std::vector<double> logic, batch, show, total;
    for (int i = 0; i < frames; i++) {
        const Sample s = frame();
        logic.push_back(s.logic);
        batch.push_back(s.batch);
        show.push_back(s.show);
        total.push_back(s.logic + s.batch + s.show);
    }
    const auto mean = [](const std::vector<double>& v) {
        double sum = 0;
        for (double x : v)
            sum += x;
        return sum / static_cast<double>(v.size());
    };
    const vq::priv::FrameCounts after = vq::priv::frameCounts();
    printf("| %-6s | %5d | %9.1f | %9.1f | %9.3f | %9.3f | %9.3f | %4zu / %4zu / %4zu |\n", name, frames, mean(logic),
           mean(batch), mean(show) / 1000, mean(total) / 1000, percentile(total, 0.99) / 1000,
           after.drawn - before.drawn, after.updated - before.updated, after.reused - before.reused);
}

double cpuSeconds() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time (every thread of the process, the GL driver's included) per
// second of the game loop: one step, then a sleep to the start of the next
// period, as the loop paces itself.
double cpuMillisecondsPerSecond(double seconds) {
    if (seconds <= 0)
        return 0;
    const double cpu_start = cpuSeconds();
    const Clock::time_point start = Clock::now();
    const auto period = std::chrono::milliseconds(vq::GameManager::getInstance().getFrameTime());
    Clock::time_point next = start;
    while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
        vq::GameManager::getInstance().step();
        next += period;
        std::this_thread::sleep_until(next);
    }
    return (cpuSeconds() - cpu_start) * 1e3 / std::chrono::duration<double>(Clock::now() - start).count();
}

long residentKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return atol(line.c_str() + strlen(field));
    return -1;
}

void press(vq::Keyboard::Key key) {
    vq::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(vq::KEY_PRESSED);
    vq::WorldManager::getInstance().onEvent(&event);
}

void clickAt(vq::Vector where) {
    vq::EventMouse event;
    event.setMouseAction(vq::CLICKED);
    event.setMouseButton(vq::Mouse::LEFT);
    event.setMousePosition(where);
    vq::WorldManager::getInstance().onEvent(&event);
}

bool bothPestsOut() {
    int out = 0;
    const vq::ObjectList all = vq::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++)
        if (auto* p_pest = dynamic_cast<Pest*>(all[i]))
            out += p_pest->getSpawned() ? 1 : 0;
    return out == 2;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? atoi(argv[1]) : 300;
    const double cpu_seconds = argc > 2 ? atof(argv[2]) : 0;
    srand(7);
    vq::LogManager::getInstance().setLogLevel(0);

    // Start-up as the game's entry does it, to the first frame on screen.
    const auto start = Clock::now();
    const double cpu_start = cpuSeconds();
    if (vq::GameManager::getInstance().startUp() != 0) {
        fprintf(stderr, "cannot start the engine (run from the repository root, with a display)\n");
        return 1;
    }
    const long rss_engine = residentKilobytes("VmRSS:");
    loadResources();
    const long rss_resources = residentKilobytes("VmRSS:");
    auto* p_keeper = createRunObjects();
    vq::GameManager::getInstance().step();
    const double startup_ms = microsecondsSince(start) / 1000;
    const double startup_cpu_ms = (cpuSeconds() - cpu_start) * 1e3; // every thread's

    printf("start-up to the first frame: %.1f ms (CPU time %.1f ms)\n\n", startup_ms, startup_cpu_ms);
    printf("| scene  | frames | logic us | batch us | show ms | total ms | p99 ms | whole / updated / again |\n");
    printf("|--------|-------:|---------:|---------:|--------:|---------:|-------:|------------------------:|\n");
    measureScene("title", frames);
    const double cpu_title = cpuMillisecondsPerSecond(cpu_seconds);

    // A farm of 31 plots, every one planted, with both pests out.
    press(vq::Keyboard::SPACE);
    for (int i = 0; i < 21; i++)
        new Plot;
    const vq::ObjectList plots = vq::WorldManager::getInstance().objectsOfType("Plot");
    for (int i = 0; i < plots.getCount(); i++)
        clickAt(plots[i]->getPosition());
    for (int i = 0; i < 1100 && !bothPestsOut(); i++) {
        const vq::EventStep step(i);
        vq::WorldManager::getInstance().onEvent(&step);
        vq::WorldManager::getInstance().update();
    }
    if (!bothPestsOut())
        fprintf(stderr, "note: the pests did not both come out\n");
    p_keeper->startDay(); // a whole day ahead again
    measureScene("farm", std::min(frames, p_keeper->getTicksLeft() - 1));
    const long rss_playing = residentKilobytes("VmRSS:");
    const double cpu_farm = cpuMillisecondsPerSecond(std::min(cpu_seconds, (p_keeper->getTicksLeft() - 1) / 30.0));

    MoneyManager::getInstance().addMoney(1000);
    p_keeper->swapToShop();
    measureScene("shop", frames);
    const double cpu_shop = cpuMillisecondsPerSecond(cpu_seconds);

    printf("\nresident memory: %.1f MB with the engine started, %.1f MB with resources loaded, "
           "%.1f MB while playing (peak %.1f MB)\n",
           static_cast<double>(rss_engine) / 1024, static_cast<double>(rss_resources) / 1024,
           static_cast<double>(rss_playing) / 1024, static_cast<double>(residentKilobytes("VmHWM:")) / 1024);
    if (cpu_seconds > 0)
        printf("CPU time per second of play (%.0f s each, 30 steps a second): title %.1f ms, farm %.1f ms, "
               "shop %.1f ms\n",
               cpu_seconds, cpu_title, cpu_farm, cpu_shop);
    vq::GameManager::getInstance().shutDown();
    return 0;
}
