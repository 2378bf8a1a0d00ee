#ifndef VQ_TESTS_SUPPORT_ENGINEPROBES_H
#define VQ_TESTS_SUPPORT_ENGINEPROBES_H

// Small looks into and pokes at engine state that tests of several folders
// share. Header-only, so tests that do not link the engine can still use the
// rest of the support library.

#include <string>

#include "resources/Music.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"
#include "world/Object.h"

namespace vqtest {

// The label of the sprite an object shows; empty without one.
inline std::string spriteLabel(const vq::Object* p_o) {
    const vq::Sprite* p_sprite = p_o->getAnimation().getSprite();
    return p_sprite == nullptr ? std::string() : p_sprite->getLabel();
}

// Stops a loaded music, so a stream started by one test does not play on
// through the next; an unknown label is ignored.
inline void stopMusic(const std::string& label) {
    if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic(label))
        p_music->stop();
}

} // namespace vqtest

#endif
