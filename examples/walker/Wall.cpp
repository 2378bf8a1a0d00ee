#include "Wall.h"

Wall::Wall(vq::Vector position) {
    setType("Wall");
    setSprite("wall");
    setPosition(position);
    setSolidness(vq::HARD);
}
