#ifndef VQ_CORE_GEOMETRY_H
#define VQ_CORE_GEOMETRY_H

#include "core/Box.h"
#include "core/Vector.h"

namespace vq {

class Object;

// Positions within one cell of each other on both axes.
bool positionsIntersect(Vector p1, Vector p2);
// Boxes overlap or touch on both axes (bounds inclusive).
bool boxIntersectsBox(Box a, Box b);
// The object's box in world coordinates, at its position or at `where`.
Box getWorldBox(const Object* p_o);
Box getWorldBox(const Object* p_o, Vector where);
bool valueInRange(float value, float min, float max);
// Inclusive of all four edges.
bool boxContainsPosition(Box b, Vector p);
// True when `a` lies inside `b`.
bool boxContainsBox(Box a, Box b);
float distance(Vector p1, Vector p2);

} // namespace vq

#endif
