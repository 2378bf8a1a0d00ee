// The peer of BM_FrameBatched: the same full 80 x 24 screens of random
// characters in random colours, drawn through libtcod's OpenGL 2 renderer
// with the same font at 13 x 32 pixel tiles in a 1024 x 768 window. Each
// frame clears the console, fills every cell and presents it. Prints one
// line, "peer frame: <ms> ms (<n> frames)". Needs an X display. libtcod
// dropped that renderer in 1.23; where it is missing this says so and fails.
// Usage: peer_frames [font-file] [seconds]
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

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

const int COLUMNS = 80;
const int ROWS = 24;
const int CELLS = COLUMNS * ROWS;

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

} // namespace

int main(int argc, char** argv) {
    const char* font = argc > 1 ? argv[1] : "vq-font.ttf";
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    TCOD_Tileset* tileset = TCOD_load_truetype_font_(font, 13, 32);
    if (tileset == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", font, TCOD_get_error());
        return 1;
    }
    TCOD_ContextParams params{};
    params.tcod_version = TCOD_COMPILEDVERSION;
    params.pixel_width = 1024;
    params.pixel_height = 768;
    params.columns = COLUMNS;
    params.rows = ROWS;
    params.renderer_type = TCOD_RENDERER_OPENGL2;
    params.tileset = tileset;
    params.vsync = 1; // as the engine's window asks
    params.window_title = "peer";
    TCOD_Context* context = nullptr;
    if (TCOD_context_new(&params, &context) < 0 || TCOD_context_get_renderer_type(context) != TCOD_RENDERER_OPENGL2) {
        std::fprintf(stderr, "libtcod %s offers no OpenGL 2 renderer here: %s\n", TCOD_STRVERSION, TCOD_get_error());
        if (context != nullptr)
            TCOD_context_delete(context);
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

    using Clock = std::chrono::steady_clock;
    for (std::size_t n = 0; n < 20; n++) // shaders compiled, caches warm
        if (frame(n) < 0) {
            std::fprintf(stderr, "present failed: %s\n", TCOD_get_error());
            return 1;
        }
    std::size_t frames = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0;
    while (elapsed < seconds) {
        frame(frames++);
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::printf("peer frame: %.3f ms (%zu frames)\n", elapsed * 1e3 / static_cast<double>(frames), frames);
    TCOD_console_delete(console);
    TCOD_context_delete(context);
    TCOD_tileset_delete(tileset);
    return 0;
}
