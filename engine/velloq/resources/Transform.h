#ifndef VQ_RESOURCES_TRANSFORM_H
#define VQ_RESOURCES_TRANSFORM_H

namespace vq {

// How a frame is mirrored when drawn.
enum Transform {
    TRANSFORM_NONE = 0,
    TRANSFORM_FLIP_VERTICAL = 1,   // rows reversed
    TRANSFORM_FLIP_HORIZONTAL = 2, // columns reversed
    TRANSFORM_FLIP_BOTH = 3,       // a half turn
};

} // namespace vq

#endif
