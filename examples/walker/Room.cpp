#include "Room.h"

#include <velloq/core/Vector.h>
#include <velloq/resources/ResourceManager.h>

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

} // namespace

int loadResources() {
    vq::ResourceManager& resources = vq::ResourceManager::getInstance();
    if (resources.loadSprite("sprites/hero.txt", "hero") != 0 ||
        resources.loadSprite("sprites/wall.txt", "wall") != 0 || resources.loadSound("sounds/bump.wav", "bump") != 0)
        return -1;
    return 0;
}

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
