#ifndef CORNFIELD_FIELD_RANDOMFIELDPOSITION_H
#define CORNFIELD_FIELD_RANDOMFIELDPOSITION_H

#include <velloq/core/Vector.h>

// A random whole-cell place on the field, clear of the status texts at the
// top: x in 4 .. width - 5, then y in 8 .. height - 5, each from one rand().
// Where tools show up and pests come out.
vq::Vector randomFieldPosition();

#endif
