#include <velloq/world/WorldManager.h>

#include <velloq/core/Geometry.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/world/EventCollision.h>
#include <velloq/world/EventOut.h>
#include <velloq/world/Object.h>

namespace vq {

namespace {
int deliverToAllObjects(const Event* p_event) {
    // A snapshot: objects created by handlers do not receive this event.
    const ObjectList objects = WorldManager::getInstance().getAllObjects();
    int handled = 0;
    for (int i = 0; i < objects.getCount(); i++)
        handled += objects[i]->eventHandler(p_event);
    return handled;
}
} // namespace

WorldManager::WorldManager() {
    setType("WorldManager");
    setEventDelivery(&deliverToAllObjects);
}

WorldManager& WorldManager::getInstance() {
    static WorldManager instance;
    return instance;
}

int WorldManager::startUp() { return Manager::startUp(); }

int WorldManager::shutDown() {
    // Each destructor removes its object from the live list; the copy keeps
    // this loop stable.
    const ObjectList all = m_updates;
    for (int i = 0; i < all.getCount(); i++)
        delete all[i];
    m_deletions.clear();
    return Manager::shutDown();
}

int WorldManager::insertObject(Object* p_o) {
    for (int i = 0; i < m_updates.getCount(); i++) {
        if (m_updates[i] == p_o) {
            LogManager::getInstance().writeLog(1, "Object is already in world");
            return -1;
        }
    }
    LogManager::getInstance().writeLog(1, "Adding object %i to world", p_o->getId());
    return m_updates.insert(p_o);
}

int WorldManager::removeObject(Object* p_o) {
    LogManager::getInstance().writeLog(1, "Removing object %i from world", p_o->getId());
    // An object deleted some other way must not stay queued for deletion.
    m_deletions.remove(p_o);
    return m_updates.remove(p_o);
}

ObjectList WorldManager::getAllObjects() const { return m_updates; }

ObjectList WorldManager::objectsOfType(std::string type) const {
    ObjectList matches;
    for (int i = 0; i < m_updates.getCount(); i++)
        if (m_updates[i]->getType() == type)
            matches.insert(m_updates[i]);
    return matches;
}

int WorldManager::markForDelete(Object* p_o) {
    LogManager::getInstance().writeLog(0, "Marking object %i for deletion", p_o->getId());
    for (int i = 0; i < m_deletions.getCount(); i++)
        if (m_deletions[i] == p_o)
            return 0;
    return m_deletions.insert(p_o);
}

void WorldManager::update() {
    // Each destructor takes its object off the list (removeObject), and may
    // mark more objects, which are appended and deleted in this same pass.
    while (!m_deletions.isEmpty()) {
        Object* p_o = m_deletions[0];
        LogManager::getInstance().writeLog(0, "Deleting object %i", p_o->getId());
        delete p_o;
    }

    // Objects created during this pass are appended and moved in it too.
    for (int i = 0; i < m_updates.getCount(); i++) {
        Object* p_o = m_updates[i];
        const Vector new_pos = p_o->predictPosition();
        if (new_pos != p_o->getPosition())
            moveObject(p_o, new_pos);
    }
}

int WorldManager::moveObject(Object* p_o, Vector where) {
    if (p_o->isSolid()) {
        const ObjectList collisions = getCollisions(p_o, where);
        if (!collisions.isEmpty()) {
            bool do_move = true;
            for (int i = 0; i < collisions.getCount(); i++) {
                Object* p_other = collisions[i];
                LogManager::getInstance().writeLog(1, "Collision detected between objects %i and %i", p_o->getId(),
                                                   p_other->getId());
                const EventCollision c(p_o, p_other, where);
                p_o->eventHandler(&c);
                p_other->eventHandler(&c);
                if (p_o->getSolidness() == HARD && p_other->getSolidness() == HARD)
                    do_move = false;
                if (p_o->getNoSoft() && p_other->getSolidness() == SOFT)
                    do_move = false;
            }
            if (!do_move)
                return -1;
        }
    }

    p_o->setPosition(where);

    const DisplayManager& display = DisplayManager::getInstance();
    if (where.getX() < 0 || where.getY() < 0 || where.getX() > static_cast<float>(display.getHorizontal()) ||
        where.getY() > static_cast<float>(display.getVertical())) {
        const EventOut out;
        p_o->eventHandler(&out);
    }
    return 0;
}

ObjectList WorldManager::getCollisions(const Object* p_o, Vector where) const {
    ObjectList collisions;
    const Box moved_box = getWorldBox(p_o, where);
    for (int i = 0; i < m_updates.getCount(); i++) {
        Object* p_other = m_updates[i];
        if (p_other == p_o)
            continue;
        if (!p_other->isSolid())
            continue;
        // The other's world box, built inline: this loop runs for every pair.
        Box other_box = p_other->getBox();
        other_box.setCorner(other_box.getCorner() + p_other->getPosition());
        if (boxIntersectsBox(moved_box, other_box) && collisions.insert(p_other) != 0)
            break;
    }
    return collisions;
}

void WorldManager::draw() {
    for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
        for (int i = 0; i < m_updates.getCount(); i++) {
            Object* p_o = m_updates[i];
            if (p_o->getAltitude() != altitude)
                continue;
            LogManager::getInstance().writeLog(0, "Drawing object %i", p_o->getId());
            if (p_o->draw() != 0)
                LogManager::getInstance().writeLog(0, "Error drawing object %i", p_o->getId());
        }
    }
}

} // namespace vq
