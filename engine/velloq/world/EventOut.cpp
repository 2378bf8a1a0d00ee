#include <velloq/world/EventOut.h>

namespace vq {

EventOut::EventOut() { setType(OUT_EVENT); }

} // namespace vq
