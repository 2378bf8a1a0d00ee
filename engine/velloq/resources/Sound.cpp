#include <velloq/resources/Sound.h>

#include <utility>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <velloq/core/LogManager.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/resources/AudioDevice.h>

namespace vq {

// Buffer and playback object live together on the heap, so moving a Sound
// between slots never unbinds the playback object from its samples.
// Members are destroyed in reverse order: the sound before its buffer.
struct Sound::Impl {
    sf::SoundBuffer buffer;
    std::unique_ptr<sf::Sound> p_sound;
};

Sound::Sound() = default;

Sound::~Sound() = default;

Sound::Sound(Sound&& other) noexcept = default;

Sound& Sound::operator=(Sound&& other) noexcept = default;

int Sound::loadSound(std::string filename) {
    // Decode into a fresh buffer so a failed load leaves a loaded slot as it
    // was; audio objects are only created here, never for empty slots.
    auto p_impl = std::make_unique<Impl>();
    // A buffer without channels or rate cannot be played; damaged files can
    // produce one.
    if (!p_impl->buffer.loadFromFile(filename) || p_impl->buffer.getChannelCount() == 0 ||
        p_impl->buffer.getSampleRate() == 0) {
        LogManager::getInstance().writeLog(1, "Failed to load sound from file '%s'", filename.c_str());
        return -1;
    }
    p_impl->p_sound = std::make_unique<sf::Sound>(p_impl->buffer);
    m_p_impl = std::move(p_impl);
    return 0;
}

void Sound::setLabel(std::string new_label) { m_label = std::move(new_label); }
std::string Sound::getLabel() const { return m_label; }

bool Sound::isLoaded() const { return m_p_impl != nullptr && m_p_impl->p_sound != nullptr; }

void Sound::play(bool loop) {
    if (!isLoaded()) {
        LogManager::getInstance().writeLog(1, "Cannot play sound before it is loaded.");
        return;
    }
    if (!audioCanPlay())
        return;
    priv::setLooping(*m_p_impl->p_sound, loop);
    m_p_impl->p_sound->play();
}

void Sound::stop() {
    if (!isLoaded()) {
        LogManager::getInstance().writeLog(1, "Cannot stop sound before it is loaded.");
        return;
    }
    m_p_impl->p_sound->stop();
}

void Sound::pause() {
    if (!isLoaded()) {
        LogManager::getInstance().writeLog(1, "Cannot pause sound before it is loaded.");
        return;
    }
    m_p_impl->p_sound->pause();
}

sf::Sound Sound::getSound() const {
    if (!isLoaded()) {
        // A playback object needs a buffer to be made at all.
        static const sf::SoundBuffer no_samples;
        return sf::Sound(no_samples);
    }
    return *m_p_impl->p_sound;
}

} // namespace vq
