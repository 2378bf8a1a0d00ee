#include "pests/Pest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <velloq/core/EventStep.h>
#include <velloq/core/Geometry.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/EventMouse.h>
#include <velloq/world/EventCollision.h>
#include <velloq/world/EventOut.h>

#include "common/EventNewDay.h"
#include "common/PlaySound.h"
#include "field/Plot.h"
#include "field/RandomFieldPosition.h"

namespace {
const int LIFETIME = 1800;
const int HURT_DURATION = 20;

// The plot taking part in a collision, or nullptr.
Plot* plotOf(const vq::EventCollision* p_collision) {
    vq::Object* p_candidate = nullptr;
    if (p_collision->getObject1() != nullptr && p_collision->getObject1()->getType() == "Plot")
        p_candidate = p_collision->getObject1();
    else if (p_collision->getObject2() != nullptr && p_collision->getObject2()->getType() == "Plot")
        p_candidate = p_collision->getObject2();
    return dynamic_cast<Plot*>(p_candidate);
}
} // namespace

int randomWait(int base) {
    // A non-positive base has no random part (and must not divide by zero).
    if (base <= 0)
        return base;
    return static_cast<int>(base + (rand() % base) / 2.0);
}

Pest::Pest()
    : m_hovered(false), m_spawned(false), m_delay(700), m_spawn_countdown(0), m_jitter(200), m_jitter_countdown(200),
      m_max_health(1), m_hurt_countdown(0), m_lifetime(0), m_health(1), m_day(0) {
    setSolidness(vq::SOFT);
    assignDelay();
    setAltitude(3);
    m_spawn_countdown = randomWait(m_delay);
}

int Pest::eventHandler(const vq::Event* p_e) {
    const std::string type = p_e->getType();
    if (type == NEW_DAY_EVENT) {
        const auto* p_day = dynamic_cast<const EventNewDay*>(p_e);
        if (p_day == nullptr)
            return 0;
        m_day = p_day->getDay();
        assignDelay();
        return 1;
    }
    if (!getActive())
        return FarmObject::eventHandler(p_e);

    if (type == vq::OUT_EVENT) {
        bounce();
        return 1;
    }
    if (type == vq::MSE_EVENT && m_spawned) {
        const auto* p_mouse = dynamic_cast<const vq::EventMouse*>(p_e);
        if (p_mouse == nullptr)
            return 0;
        m_hovered = vq::boxContainsPosition(vq::getWorldBox(this), p_mouse->getMousePosition());
        if (p_mouse->getMouseAction() == vq::CLICKED && m_hovered && m_hurt_countdown == 0)
            takeDamage();
        return 1;
    }
    if (type == vq::STEP_EVENT) {
        step();
        return 1;
    }
    if (type == vq::COLLISION_EVENT && m_spawned) {
        const auto* p_collision = dynamic_cast<const vq::EventCollision*>(p_e);
        if (p_collision == nullptr)
            return 0;
        Plot* p_plot = plotOf(p_collision);
        if (p_plot != nullptr && m_hurt_countdown == 0)
            damagePlot(p_plot);
        return 1;
    }
    return FarmObject::eventHandler(p_e);
}

void Pest::step() {
    if (m_spawn_countdown > 0) {
        m_spawn_countdown--;
        if (m_spawn_countdown == 0)
            comeOut();
    }

    // Counts on while hidden, so it cannot hit 0 again before the next outing.
    m_lifetime--;
    if (m_lifetime == 0)
        hide();

    m_jitter_countdown--;
    if (m_jitter_countdown == 0) {
        m_jitter_countdown = randomWait(m_jitter);
        turnRandomly();
    }

    if (m_hurt_countdown > 0) {
        m_hurt_countdown--;
        if (m_hurt_countdown == 0) {
            setSpeed(getSpeed() / 2);
            setSprite(m_sprite_name);
        }
    }
}

void Pest::comeOut() {
    m_spawned = true;
    m_health = m_max_health;
    m_lifetime = LIFETIME;
    setPosition(randomFieldPosition());
}

void Pest::hide() {
    m_spawned = false;
    m_spawn_countdown = randomWait(m_delay);
}

void Pest::turnRandomly() {
    // The angle is used as radians as it stands.
    const double a = rand() % 360;
    setDirection(vq::Vector(static_cast<float>(std::sin(a)), static_cast<float>(std::cos(a))));
}

int Pest::draw() {
    if (getActive() && m_spawned)
        vq::Object::draw();
    return 0;
}

void Pest::takeDamage() {
    m_health--;
    playSound("pest_hurt");
    if (m_health <= 0)
        hide();
    m_hurt_countdown = HURT_DURATION;
    setSpeed(getSpeed() * 2);
    setSprite(m_damaged_sprite_name);
    turnRandomly();
}

void Pest::assignDelay() {}

void Pest::damagePlot(Plot*) { playSound("pest_plot_hit"); }

void Pest::bounce() {
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    vq::Vector v = getVelocity();
    vq::Vector position = getPosition();
    if (position.getX() < 0 || position.getX() > static_cast<float>(display.getHorizontal())) {
        v.setX(0 - v.getX());
        position = position + v + v;
    }
    if (position.getY() < 0 || position.getY() > static_cast<float>(display.getVertical())) {
        v.setY(0 - v.getY());
        position = position + v + v;
    }
    setPosition(position);
    setVelocity(v);
}

int Pest::getDelay() const { return m_delay; }
void Pest::setDelay(int new_delay) { m_delay = new_delay; }
int Pest::getJitter() const { return m_jitter; }
void Pest::setJitter(int new_jitter) { m_jitter = new_jitter; }
int Pest::getMaxHealth() const { return m_max_health; }
void Pest::setMaxHealth(int new_max_health) { m_max_health = new_max_health; }

bool Pest::getHovered() const { return m_hovered; }
bool Pest::getSpawned() const { return m_spawned; }
int Pest::getSpawnCountdown() const { return m_spawn_countdown; }
int Pest::getJitterCountdown() const { return m_jitter_countdown; }
int Pest::getHurtCountdown() const { return m_hurt_countdown; }
int Pest::getLifetime() const { return m_lifetime; }
int Pest::getHealth() const { return m_health; }
int Pest::getDay() const { return m_day; }
std::string Pest::getSpriteName() const { return m_sprite_name; }
std::string Pest::getDamagedSpriteName() const { return m_damaged_sprite_name; }

void Pest::setHealth(int new_health) { m_health = new_health; }
void Pest::setSpriteName(std::string name) { m_sprite_name = std::move(name); }
void Pest::setDamagedSpriteName(std::string name) { m_damaged_sprite_name = std::move(name); }
