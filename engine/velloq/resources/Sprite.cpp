#include <velloq/resources/Sprite.h>

#include <utility>

#include <velloq/core/LogManager.h>

namespace vq {

Sprite::Sprite(int max_frames)
    : m_width(0), m_height(0), m_max_frame_count(max_frames > 0 ? max_frames : 0), m_frame_count(0),
      m_color(COLOR_DEFAULT), m_slowdown(1), m_frame(nullptr), m_label() {
    // A slowdown of 1 lets a sprite built in code advance on every draw.
    if (m_max_frame_count > 0)
        m_frame = new Frame[m_max_frame_count];
}

Sprite::~Sprite() { delete[] m_frame; }

void Sprite::setWidth(int new_width) { m_width = new_width; }
int Sprite::getWidth() const { return m_width; }
void Sprite::setHeight(int new_height) { m_height = new_height; }
int Sprite::getHeight() const { return m_height; }
void Sprite::setColor(Color new_color) { m_color = new_color; }
Color Sprite::getColor() const { return m_color; }
void Sprite::setSlowdown(int new_sprite_slowdown) { m_slowdown = new_sprite_slowdown; }
int Sprite::getSlowdown() const { return m_slowdown; }
void Sprite::setLabel(std::string new_label) { m_label = std::move(new_label); }
std::string Sprite::getLabel() const { return m_label; }
int Sprite::getFrameCount() const { return m_frame_count; }

int Sprite::addFrame(Frame new_frame) {
    if (m_frame_count >= m_max_frame_count) {
        LogManager::getInstance().writeLog(1, "Failed to add frame, frame array is full");
        return -1;
    }
    m_frame[m_frame_count] = std::move(new_frame);
    m_frame_count++;
    return 0;
}

Frame Sprite::getFrame(int frame_number) const {
    if (frame_number < 0 || frame_number >= m_frame_count)
        return Frame();
    return m_frame[frame_number];
}

void Sprite::setTransparency(char transparency) {
    for (int i = 0; i < m_frame_count; i++)
        m_frame[i].setTransparency(transparency);
}

int Sprite::draw(int frame_number, Vector position) const { return draw(frame_number, position, TRANSFORM_NONE); }

int Sprite::draw(int frame_number, Vector position, Transform transform) const {
    if (frame_number < 0 || frame_number >= m_frame_count) {
        LogManager::getInstance().writeLog("Frame number %i out of range", frame_number);
        return -1;
    }
    return m_frame[frame_number].draw(position, m_color, transform);
}

} // namespace vq
