// The peer of BM_FrameBatched: the same full 80 x 24 screens of random
// characters in random colours, drawn through libtcod with the same font at
// 13 x 32 pixel tiles in a 1024 x 768 window. Each frame clears the console,
// fills every cell and presents it. libtcod draws through its OpenGL 2
// renderer where it still has one (before 1.23), else through its SDL2
// renderer, the one its current users get; either can be asked for.
//
//   peer_frames [font-file] [seconds] [auto|opengl2|sdl2] [fps]
//
// Prints "peer frame: <ms> ms (<n> frames, libtcod <version>, <renderer>
// renderer)". Given frames a second, it instead paces its loop to that rate,
// first showing one screen over and over, then a new screen every frame,
// `seconds` each, and prints the CPU time the process used per second of
// each. Needs an X display.
//
// The C interface only: the C++ wrappers of newer libtcod versions use
// parts of it they deprecate.
#include <libtcod/console.h>
#include <libtcod/console_types.h>
#include <libtcod/context.h>
#include <libtcod/context_init.h>
#include <libtcod/error.h>
#include <libtcod/tileset.h>
#include <libtcod/tileset_truetype.h>
#include <libtcod/version.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

const int COLUMNS = 80;
const int ROWS = 24;
const int CELLS = COLUMNS * ROWS;

using Clock = std::chrono::steady_clock;

struct Cell {
    int ch;
    int color; // 0..7, as the engine's colours
};

// The screens BM_FrameBatched cycles: same generator, seed and draws.
std::vector<std::vector<Cell>> makeScreens() {
    std::mt19937 rng(12345);
    std::vector<std::vector<Cell>> screens(4);
    for (auto& screen : screens)
        for (int i = 0; i < CELLS; i++) {
            const int ch = static_cast<int>(33 + rng() % 94);
            screen.push_back({ch, static_cast<int>(rng() % 8)});
        }
    return screens;
}

// The engine's eight colours.
TCOD_color_t engineColor(int index) {
    static const TCOD_color_t colors[] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                          {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    return colors[index & 7];
}

const char* rendererName(int type) {
    return type == TCOD_RENDERER_OPENGL2 ? "OpenGL 2" : type == TCOD_RENDERER_SDL2 ? "SDL2" : "other";
}

// A context drawing through `renderer`, or null (with the reason printed
// unless quiet) when libtcod cannot or draws through another one.
TCOD_Context* openContext(TCOD_Tileset* tileset, int renderer, bool quiet) {
    TCOD_ContextParams params{};
    params.tcod_version = TCOD_COMPILEDVERSION;
    params.pixel_width = 1024;
    params.pixel_height = 768;
    params.columns = COLUMNS;
    params.rows = ROWS;
    params.renderer_type = renderer;
    params.tileset = tileset;
    params.vsync = 1; // as the engine's window asks
    params.window_title = "peer";
    TCOD_Context* context = nullptr;
    if (TCOD_context_new(&params, &context) < 0 || TCOD_context_get_renderer_type(context) != renderer) {
        if (!quiet)
            std::fprintf(stderr, "libtcod %s offers no %s renderer here: %s\n", TCOD_STRVERSION, rendererName(renderer),
                         TCOD_get_error());
        if (context != nullptr)
            TCOD_context_delete(context);
        return nullptr;
    }
    return context;
}

double cpuSeconds() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const char* font = argc > 1 ? argv[1] : "vq-font.ttf";
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    const char* asked = argc > 3 ? argv[3] : "auto";
    const double fps = argc > 4 ? std::atof(argv[4]) : 0;
    TCOD_Tileset* tileset = TCOD_load_truetype_font_(font, 13, 32);
    if (tileset == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", font, TCOD_get_error());
        return 1;
    }
    TCOD_Context* context = nullptr;
    const bool automatic = std::strcmp(asked, "auto") == 0;
    if (automatic || std::strcmp(asked, "opengl2") == 0)
        context = openContext(tileset, TCOD_RENDERER_OPENGL2, automatic);
    if (context == nullptr && (automatic || std::strcmp(asked, "sdl2") == 0))
        context = openContext(tileset, TCOD_RENDERER_SDL2, false);
    if (context == nullptr) {
        TCOD_tileset_delete(tileset);
        return 1;
    }
    TCOD_Console* console = TCOD_console_new(COLUMNS, ROWS);
    const std::vector<std::vector<Cell>> screens = makeScreens();
    const TCOD_color_t black = engineColor(0);

    auto frame = [&](std::size_t n) {
        const std::vector<Cell>& screen = screens[n % screens.size()];
        TCOD_console_clear(console);
        for (int i = 0; i < CELLS; i++)
            TCOD_console_put_char_ex(console, i % COLUMNS, i / COLUMNS, screen[i].ch, engineColor(screen[i].color),
                                     black);
        return TCOD_context_present(context, console, nullptr);
    };

    int status = 0;
    for (std::size_t n = 0; n < 20; n++) // shaders compiled, caches warm
        if (frame(n) < 0) {
            std::fprintf(stderr, "present failed: %s\n", TCOD_get_error());
            status = 1;
        }
    const char* renderer = rendererName(TCOD_context_get_renderer_type(context));
    if (status == 0 && fps <= 0) {
        std::size_t frames = 0;
        const Clock::time_point start = Clock::now();
        double elapsed = 0;
        while (elapsed < seconds) {
            frame(frames++);
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        }
        std::printf("peer frame: %.3f ms (%zu frames, libtcod %s, %s renderer)\n",
                    elapsed * 1e3 / static_cast<double>(frames), frames, TCOD_STRVERSION, renderer);
    } else if (status == 0) {
        // Paced as a game loop is: each frame starts a period after the last.
        const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / fps));
        for (int changing = 0; changing < 2; changing++) {
            const double cpu_start = cpuSeconds();
            const Clock::time_point start = Clock::now();
            Clock::time_point next = start;
            for (std::size_t n = 0; Clock::now() - start < std::chrono::duration<double>(seconds); n++) {
                frame(changing ? n : 0);
                next += period;
                std::this_thread::sleep_until(next);
            }
            const double wall = std::chrono::duration<double>(Clock::now() - start).count();
            std::printf("peer CPU at %.0f frames a second, %s: %.1f ms per second (libtcod %s, %s renderer)\n", fps,
                        changing ? "a new screen every frame" : "one screen held",
                        (cpuSeconds() - cpu_start) * 1e3 / wall, TCOD_STRVERSION, renderer);
        }
    }
    TCOD_console_delete(console);
    TCOD_context_delete(context);
    TCOD_tileset_delete(tileset);
    return status;
}
