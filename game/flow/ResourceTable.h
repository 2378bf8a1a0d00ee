#ifndef CORNFIELD_FLOW_RESOURCETABLE_H
#define CORNFIELD_FLOW_RESOURCETABLE_H

#include <cstddef>
#include <vector>

// One data file and the label the game knows it by.
struct ResourceEntry {
    const char* file; // relative to the working directory
    const char* label;
};

// Every picture, sound effect and music of the game, in loading order. Only
// this table names files; everything else uses the labels.
extern const ResourceEntry SPRITE_RESOURCES[];
extern const std::size_t SPRITE_RESOURCE_COUNT; // 37
extern const ResourceEntry SOUND_RESOURCES[];
extern const std::size_t SOUND_RESOURCE_COUNT; // 13
extern const ResourceEntry MUSIC_RESOURCES[];
extern const std::size_t MUSIC_RESOURCE_COUNT; // 1

// Hands every row of the tables to the resource store: sprites, then sounds,
// then music. Failures are logged by the store and skipped; the rows that
// failed are returned, in that order.
std::vector<const ResourceEntry*> loadResources();

#endif
