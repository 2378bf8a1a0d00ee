// Walker: an '@' walks through a room with the arrow keys and bumps into its
// walls. Everything the game does goes through the engine's managers.

#include <velloq/Version.h>
#include <velloq/core/LogManager.h>
#include <velloq/world/GameManager.h>

#include "Room.h"

int main() {
    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    // Lines of level 1 and up: level 0 is every step and every object drawn.
    log.setLogLevel(0);
    log.setFlush(true);

    // Starts the log, world, display, input and resources, in that order.
    vq::GameManager& game = vq::GameManager::getInstance();
    if (game.startUp() != 0) {
        log.writeLog("Walker: the engine did not start");
        game.shutDown();
        return 1;
    }
    log.writeLog("Walker: built with Velloq %s", VQ_VERSION_STRING);
    if (loadResources() != 0) {
        log.writeLog("Walker: a sprite or sound is missing");
        game.shutDown();
        return 1;
    }
    buildRoom();

    // About 30 steps a second until Q or the window's close button; then the
    // engine deletes every object and shuts down.
    game.run();
    return 0;
}
