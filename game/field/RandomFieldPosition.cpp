#include "field/RandomFieldPosition.h"

#include <algorithm>
#include <cstdlib>

#include <velloq/display/DisplayManager.h>

vq::Vector randomFieldPosition() {
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    // Guarded so a tiny display cannot divide by zero.
    const int x_range = std::max(1, display.getHorizontal() - 8);
    const int y_range = std::max(1, display.getVertical() - 12);
    const int x = rand() % x_range + 4;
    const int y = rand() % y_range + 8;
    return vq::Vector(static_cast<float>(x), static_cast<float>(y));
}
