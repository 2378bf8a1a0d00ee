#ifndef VQ_DISPLAY_COLOR_H
#define VQ_DISPLAY_COLOR_H

namespace vq {

// The eight colours characters are drawn in. Any other value draws white.
enum Color {
    BLACK = 0,
    RED,
    GREEN,
    YELLOW,
    BLUE,
    MAGENTA,
    CYAN,
    WHITE,
};

const Color COLOR_DEFAULT = WHITE;

} // namespace vq

#endif
