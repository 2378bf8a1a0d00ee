// Walker: an '@' walks through a room with the arrow keys and bumps into its
// walls. Everything the game does goes through the engine's managers.

#include <velloq/core/LogManager.h>
#include <velloq/core/Vector.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/GameManager.h>

#include "Hero.h"
#include "Wall.h"

namespace {

// The room as it stands on screen: '#' a wall, '@' where the hero starts.
const char* const ROOM[] = {
    "########################################", "#                                      #",
    "#  @ #                                 #", "#    #          ######                 #",
    "#    #                       #         #", "#    ########                #         #",
    "#                            #         #", "#           ####             ######    #",
    "#              #                       #", "#              #                       #",
    "#                                      #", "########################################",
};
// Where the room's top-left cell sits in the 80 x 24 grid.
const int ROOM_LEFT = 20;
const int ROOM_TOP = 5;

// Objects join the world when they are made; the world owns and deletes them.
void buildRoom() {
    const int rows = static_cast<int>(sizeof(ROOM) / sizeof(ROOM[0]));
    for (int row = 0; row < rows; row++) {
        for (int col = 0; ROOM[row][col] != '\0'; col++) {
            // A one-cell picture is centred on its position: the middle of
            // the cell is half a cell right of and below its corner.
            const vq::Vector cell(static_cast<float>(ROOM_LEFT + col) + 0.5f,
                                  static_cast<float>(ROOM_TOP + row) + 0.5f);
            if (ROOM[row][col] == '#')
                new Wall(cell);
            else if (ROOM[row][col] == '@')
                new Hero(cell);
        }
    }
}

int loadResources() {
    vq::ResourceManager& resources = vq::ResourceManager::getInstance();
    if (resources.loadSprite("sprites/hero.txt", "hero") != 0 ||
        resources.loadSprite("sprites/wall.txt", "wall") != 0 || resources.loadSound("sounds/bump.wav", "bump") != 0)
        return -1;
    return 0;
}

} // namespace

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
