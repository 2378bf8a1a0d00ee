// Walker's own test: the real room and hero on a headless display (no
// window, no font, no X server needed), played with injected keys and read
// back from the screen as text. CTest runs it: ctest --test-dir <build>.

#include <cstdio>
#include <string>

#include <velloq/display/DisplayManager.h>
#include <velloq/input/InputManager.h>
#include <velloq/world/GameManager.h>

#include "Room.h"

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "walker_test: expected %s\n", what);
        failures++;
    }
}

// `count` cells of a row of the last frame shown, from column `col` on.
std::string screen(int row, int col, int count) {
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    const int line = display.getHorizontal() + 1; // lines end in '\n'
    return display.lastFrameAsText().substr(static_cast<std::size_t>(row * line + col),
                                            static_cast<std::size_t>(count));
}

} // namespace

int main() {
    vq::DisplayManager::getInstance().setHeadless(true); // before start-up
    vq::GameManager& game = vq::GameManager::getInstance();
    if (game.startUp() != 0 || loadResources() != 0) {
        std::fprintf(stderr, "walker_test: the engine did not start, see velloq.log\n");
        return 1;
    }
    buildRoom();
    vq::InputManager& input = vq::InputManager::getInstance();

    game.step(); // input, step event, moves, drawing: one whole step
    expect(screen(ROOM_TOP + 2, ROOM_LEFT, 6) == "#  @ #", "the hero two cells left of a wall");
    expect(screen(1, 34, 12) == "  Bumps: 0  ", "no bumps yet");

    input.injectKey(vq::Keyboard::RIGHT_ARROW); // delivered by the next step
    game.step();
    expect(screen(ROOM_TOP + 2, ROOM_LEFT, 6) == "#   @#", "one step to the right");
    input.injectKey(vq::Keyboard::RIGHT_ARROW);
    game.step();
    expect(screen(ROOM_TOP + 2, ROOM_LEFT, 6) == "#   @#", "the wall in the way");
    expect(screen(1, 34, 12) == "  Bumps: 1  ", "the bump counted");

    input.injectKey(vq::Keyboard::Q);
    game.step();
    expect(game.getGameOver(), "Q to end the game");
    game.shutDown();
    return failures == 0 ? 0 : 1;
}
