#ifndef VQ_WORLD_EVENTCOLLISION_H
#define VQ_WORLD_EVENTCOLLISION_H

#include <string>

#include <velloq/core/Event.h>
#include <velloq/core/Vector.h>

namespace vq {

class Object;

// Given to both objects of a collision, the moving one first. Does not own
// the objects.
class EventCollision : public Event {
public:
    EventCollision();
    EventCollision(Object* p_o1, Object* p_o2, Vector p);

    void setObject1(Object* p_new_o1);
    Object* getObject1() const;
    void setObject2(Object* p_new_o2);
    Object* getObject2() const;
    void setPosition(Vector new_pos);
    Vector getPosition() const;

    // True when either participant has the given object type.
    bool isCollisionWith(std::string type) const;

private:
    Vector m_pos;
    Object* m_p_obj1;
    Object* m_p_obj2;
};

} // namespace vq

#endif
