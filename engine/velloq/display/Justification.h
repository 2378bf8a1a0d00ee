#ifndef VQ_DISPLAY_JUSTIFICATION_H
#define VQ_DISPLAY_JUSTIFICATION_H

namespace vq {

// Where a string stands relative to the position it is drawn at.
enum Justification {
    JUSTIFY_LEFT = 0,   // starts at the position
    JUSTIFY_CENTER = 1, // centred on it (odd lengths start half a cell left)
    JUSTIFY_RIGHT = 2,  // ends just before it
};

} // namespace vq

#endif
