#include <velloq/resources/Animation.h>

#include <utility>

#include <velloq/core/LogManager.h>
#include <velloq/resources/Sprite.h>

namespace vq {

Animation::Animation()
    : m_p_sprite(nullptr), m_name(), m_index(0), m_slowdown_count(0), m_transform(TRANSFORM_NONE),
      m_no_sprite_said(false) {}

void Animation::setSprite(Sprite* p_new_sprite) {
    m_p_sprite = p_new_sprite;
    m_no_sprite_said = false;
    // A null sprite empties the animation rather than keeping a stale name.
    m_name = p_new_sprite != nullptr ? p_new_sprite->getLabel() : std::string();
    m_index = 0;
}

Sprite* Animation::getSprite() const { return m_p_sprite; }
void Animation::setName(std::string new_name) { m_name = std::move(new_name); }
std::string Animation::getName() const { return m_name; }
void Animation::setIndex(int new_index) { m_index = new_index; }
int Animation::getIndex() const { return m_index; }
void Animation::setSlowdownCount(int new_slowdown_count) { m_slowdown_count = new_slowdown_count; }
int Animation::getSlowdownCount() const { return m_slowdown_count; }
void Animation::setTransform(Transform new_transform) { m_transform = new_transform; }
Transform Animation::getTransform() const { return m_transform; }

int Animation::draw(Vector position) {
    if (m_p_sprite == nullptr) {
        if (!m_no_sprite_said)
            LogManager::getInstance().writeLog(1, "No sprite assigned, cannot draw");
        m_no_sprite_said = true;
        return -1;
    }
    // A failed draw is already logged; the animation still advances.
    m_p_sprite->draw(m_index, position, m_transform);

    if (m_slowdown_count == -1)
        return 0;
    m_slowdown_count++;
    if (m_slowdown_count >= m_p_sprite->getSlowdown()) {
        m_slowdown_count = 0;
        m_index++;
        if (m_index >= m_p_sprite->getFrameCount())
            m_index = 0;
    }
    return 0;
}

Box Animation::getBox() const {
    if (m_p_sprite == nullptr)
        return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    const float width = static_cast<float>(m_p_sprite->getWidth());
    const float height = static_cast<float>(m_p_sprite->getHeight());
    return Box(Vector(-width / 2.0f, -height / 2.0f), width, height);
}

} // namespace vq
