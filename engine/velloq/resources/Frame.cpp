#include <velloq/resources/Frame.h>

#include <cstddef>
#include <utility>

#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>

namespace vq {

Frame::Frame() : m_width(0), m_height(0), m_frame_str(), m_transparency(0) {}

Frame::Frame(int new_width, int new_height, std::string frame_str)
    : m_width(new_width), m_height(new_height), m_frame_str(std::move(frame_str)), m_transparency(0) {}

Frame::Frame(int new_width, int new_height, std::string frame_str, char new_transparency)
    : m_width(new_width), m_height(new_height), m_frame_str(std::move(frame_str)), m_transparency(new_transparency) {}

void Frame::setWidth(int new_width) { m_width = new_width; }
int Frame::getWidth() const { return m_width; }
void Frame::setHeight(int new_height) { m_height = new_height; }
int Frame::getHeight() const { return m_height; }
void Frame::setString(std::string new_frame_str) { m_frame_str = std::move(new_frame_str); }
std::string Frame::getString() const { return m_frame_str; }
void Frame::setTransparency(char new_transparency) { m_transparency = new_transparency; }
char Frame::getTransparency() const { return m_transparency; }

int Frame::draw(Vector position, Color color) const { return draw(position, color, TRANSFORM_NONE); }

int Frame::draw(Vector position, Color color, Transform transform) const {
    const LogManager& log = LogManager::getInstance();
    if (m_frame_str.empty()) {
        log.writeLog(1, "Cannot draw empty frame");
        return -1;
    }
    if (m_width < 1) {
        log.writeLog(1, "Cannot draw frame with width <= 0");
        return -1;
    }
    if (m_height < 1) {
        log.writeLog(1, "Cannot draw frame with height <= 0");
        return -1;
    }

    // Real-number offsets centre odd sizes on the position (5 wide -> 2.5).
    const float x_offset = static_cast<float>(m_width) / 2.0f;
    const float y_offset = static_cast<float>(m_height) / 2.0f;
    const bool flip_rows = transform == TRANSFORM_FLIP_VERTICAL || transform == TRANSFORM_FLIP_BOTH;
    const bool flip_cols = transform == TRANSFORM_FLIP_HORIZONTAL || transform == TRANSFORM_FLIP_BOTH;
    const std::size_t width = static_cast<std::size_t>(m_width);
    const DisplayManager& display = DisplayManager::getInstance();

    for (int y = 0; y < m_height; y++) {
        const std::size_t row = static_cast<std::size_t>(flip_rows ? m_height - 1 - y : y);
        for (int x = 0; x < m_width; x++) {
            const std::size_t col = static_cast<std::size_t>(flip_cols ? m_width - 1 - x : x);
            const std::size_t index = row * width + col;
            // A frame built by hand may hold fewer characters than its size
            // claims; the missing cells are simply not drawn.
            if (index >= m_frame_str.size())
                continue;
            const char ch = m_frame_str[index];
            if (ch == m_transparency)
                continue;
            const Vector cell(position.getX() + static_cast<float>(x) - x_offset,
                              position.getY() + static_cast<float>(y) - y_offset);
            if (display.drawCh(cell, ch, color) != 0)
                return -1;
        }
    }
    return 0;
}

} // namespace vq
