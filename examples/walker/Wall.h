#ifndef WALKER_WALL_H
#define WALKER_WALL_H

#include <velloq/core/Vector.h>
#include <velloq/world/Object.h>

// One '#' of the room. Walls are HARD, so the world refuses to move another
// HARD object into them and tells both with a collision event instead.
class Wall : public vq::Object {
public:
    explicit Wall(vq::Vector position);
};

#endif
