#include <velloq/world/Object.h>

#include <velloq/core/LogManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/WorldManager.h>

namespace vq {

namespace {
// Identifiers are never reused within a run.
int next_object_id = 0;
} // namespace

Object::Object()
    : m_id(next_object_id++), m_type(), m_position(), m_altitude(2), m_direction(), m_speed(0), m_solidness(HARD),
      m_no_soft(false), m_animation(), m_box(Vector(-0.5f, -0.5f), 0.99f, 0.99f) {
    if (WorldManager::getInstance().insertObject(this) != 0)
        LogManager::getInstance().writeLog(1, "Failed to add object to WorldManager");
}

Object::~Object() {
    if (WorldManager::getInstance().removeObject(this) != 0)
        LogManager::getInstance().writeLog(1, "Failed to remove object from WorldManager");
}

int Object::eventHandler(const Event*) { return 0; }

int Object::draw() { return m_animation.draw(m_position); }

void Object::setId(int new_id) { m_id = new_id; }
int Object::getId() const { return m_id; }
void Object::setType(std::string new_type) { m_type = std::move(new_type); }
std::string Object::getType() const { return m_type; }
void Object::setPosition(Vector new_pos) { m_position = new_pos; }

void Object::setAltitude(int new_altitude) {
    if (new_altitude < 0 || new_altitude > MAX_ALTITUDE) {
        LogManager::getInstance().writeLog(1, "Cannot set altitude out of range");
        return;
    }
    m_altitude = new_altitude;
}

int Object::getAltitude() const { return m_altitude; }

void Object::setSpeed(float new_speed) { m_speed = new_speed; }
float Object::getSpeed() const { return m_speed; }
void Object::setDirection(Vector new_direction) { m_direction = new_direction; }
Vector Object::getDirection() const { return m_direction; }

void Object::setVelocity(Vector new_velocity) {
    m_speed = new_velocity.getMagnitude();
    new_velocity.normalize();
    m_direction = new_velocity;
}

Vector Object::getVelocity() const {
    Vector velocity = m_direction;
    velocity.scale(m_speed);
    return velocity;
}

Vector Object::predictPosition() { return m_position + getVelocity(); }

int Object::setSolidness(Solidness new_solid) {
    if (new_solid != HARD && new_solid != SOFT && new_solid != GHOST)
        return -1;
    m_solidness = new_solid;
    return 0;
}

void Object::setNoSoft(bool new_no_soft) { m_no_soft = new_no_soft; }
bool Object::getNoSoft() const { return m_no_soft; }

int Object::setSprite(std::string sprite_label) {
    Sprite* p_sprite = ResourceManager::getInstance().getSprite(sprite_label);
    if (p_sprite == nullptr) {
        LogManager::getInstance().writeLog(1, "Failed to set sprite, sprite with label '%s' is not loaded",
                                           sprite_label.c_str());
        return -1;
    }
    m_animation.setSprite(p_sprite);
    m_box = m_animation.getBox();
    return 0;
}

void Object::setAnimation(Animation new_animation) { m_animation = new_animation; }
Animation Object::getAnimation() const { return m_animation; }
void Object::setBox(Box new_box) { m_box = new_box; }

Box getWorldBox(const Object* p_o) { return getWorldBox(p_o, p_o->getPosition()); }

Box getWorldBox(const Object* p_o, Vector where) {
    Box box = p_o->getBox();
    box.setCorner(box.getCorner() + where);
    return box;
}

} // namespace vq
