#ifndef VQ_RESOURCES_ANIMATION_H
#define VQ_RESOURCES_ANIMATION_H

#include <string>

#include <velloq/core/Box.h>
#include <velloq/core/Vector.h>
#include <velloq/resources/Transform.h>

namespace vq {

class Sprite;

// Playback state of a sprite for one object; copies share the sprite.
class Animation {
public:
    Animation();

    // Shows frame 0 of the sprite next; slowdown count and transform stay.
    void setSprite(Sprite* p_new_sprite);
    Sprite* getSprite() const;
    void setName(std::string new_name);
    std::string getName() const;
    void setIndex(int new_index);
    int getIndex() const;
    // -1 freezes the animation on its current frame.
    void setSlowdownCount(int new_slowdown_count);
    int getSlowdownCount() const;
    void setTransform(Transform new_transform);
    Transform getTransform() const;

    // Draws the current frame, then advances; -1 without a sprite (logged
    // the first time only, not every step).
    int draw(Vector position);
    // The sprite's size centred on the position, or just inside one cell.
    Box getBox() const;

private:
    Sprite* m_p_sprite;
    std::string m_name;
    int m_index;
    int m_slowdown_count;
    Transform m_transform;
    bool m_no_sprite_said;
};

} // namespace vq

#endif
