#ifndef VQ_WORLD_WORLDMANAGER_H
#define VQ_WORLD_WORLDMANAGER_H

#include <string>

#include <velloq/core/Manager.h>
#include <velloq/core/Vector.h>
#include <velloq/world/ObjectList.h>

namespace vq {

class Object;

// Owns every object: moves them with collisions, deletes the ones marked for
// deletion and draws them by altitude.
class WorldManager : public Manager {
public:
    static WorldManager& getInstance();

    int startUp() override;
    // Deletes every object still in the world.
    int shutDown() override;

    // Called by the Object constructor and destructor only.
    int insertObject(Object* p_o);
    int removeObject(Object* p_o);

    ObjectList getAllObjects() const;
    ObjectList objectsOfType(std::string type) const;

    // Deleted at the start of the next update; marking twice is harmless.
    int markForDelete(Object* p_o);

    // Deletes marked objects, then moves every moving object.
    void update();
    // 0 when moved, -1 when a collision blocked the move.
    int moveObject(Object* p_o, Vector where);
    // Solid objects that p_o would touch at `where`.
    ObjectList getCollisions(const Object* p_o, Vector where) const;
    // Lowest altitude first; later objects over earlier ones.
    void draw();

private:
    WorldManager();

    ObjectList m_updates;
    ObjectList m_deletions;
};

} // namespace vq

#endif
