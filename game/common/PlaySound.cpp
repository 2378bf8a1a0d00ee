#include "common/PlaySound.h"

#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sound.h>

namespace {
SoundObserver sound_observer = nullptr;
} // namespace

void playSound(const std::string& label) {
    if (sound_observer != nullptr)
        sound_observer(label);
    vq::Sound* p_sound = vq::ResourceManager::getInstance().getSound(label);
    if (p_sound != nullptr)
        p_sound->play(false);
}

void setSoundObserver(SoundObserver observer) { sound_observer = observer; }
