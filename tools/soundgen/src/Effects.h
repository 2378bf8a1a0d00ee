#pragma once

#include "Audio.h"
#include "Script.h"

namespace soundgen {

// Renders one effect to mono: voices mixed, echoed, DC removed, faded to silence
// at the very end and scaled to the effect's peak.
Audio renderEffect(const Sound& sound);

// Length in seconds renderEffect will produce.
double effectLength(const Sound& sound);

} // namespace soundgen
