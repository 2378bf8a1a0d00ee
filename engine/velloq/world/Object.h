#ifndef VQ_WORLD_OBJECT_H
#define VQ_WORLD_OBJECT_H

#include <string>

#include <velloq/core/Box.h>
#include <velloq/core/Vector.h>
#include <velloq/resources/Animation.h>

namespace vq {

class Event;

const int MAX_ALTITUDE = 4;

enum Solidness {
    HARD,  // collides, and blocks other HARD movers
    SOFT,  // collides but never blocks, except movers with the no-soft flag
    GHOST, // never collides
};

// Base of everything in the game world. Objects are created on the heap, join
// the world in their constructor and are deleted only by the world.
class Object {
public:
    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // 1 when the event was acted on, 0 when ignored.
    virtual int eventHandler(const Event* p_e);
    // Draws the animation at the position; non-zero on failure.
    virtual int draw();

    void setId(int new_id);
    int getId() const;
    void setType(std::string new_type);
    std::string getType() const;
    void setPosition(Vector new_pos);
    Vector getPosition() const { return m_position; }

    // Accepts 0..MAX_ALTITUDE; anything else is logged and ignored.
    void setAltitude(int new_altitude);
    int getAltitude() const;

    void setSpeed(float new_speed);
    float getSpeed() const;
    void setDirection(Vector new_direction);
    Vector getDirection() const;
    // Stores the unit direction and the length as the speed.
    void setVelocity(Vector new_velocity);
    Vector getVelocity() const;
    // Where the next world update will try to move the object.
    Vector predictPosition();

    bool isSolid() const { return m_solidness != GHOST; }
    // 0, or -1 for a value that is not a Solidness.
    int setSolidness(Solidness new_solid);
    Solidness getSolidness() const { return m_solidness; }
    void setNoSoft(bool new_no_soft = true);
    bool getNoSoft() const;

    // Looks the sprite up by label and takes its box; -1 when not loaded.
    int setSprite(std::string sprite_label);
    void setAnimation(Animation new_animation);
    Animation getAnimation() const;
    void setBox(Box new_box);
    Box getBox() const { return m_box; }

private:
    int m_id;
    std::string m_type;
    Vector m_position;
    int m_altitude;
    Vector m_direction;
    float m_speed;
    Solidness m_solidness;
    bool m_no_soft;
    Animation m_animation;
    Box m_box;
};

// The object's box in world coordinates, at its position or at `where`.
Box getWorldBox(const Object* p_o);
Box getWorldBox(const Object* p_o, Vector where);

} // namespace vq

#endif
