#include <velloq/resources/Music.h>

#include <utility>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>

#include <velloq/core/LogManager.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/resources/AudioDevice.h>

namespace vq {

Music::Music() = default;

Music::~Music() = default;

// Streams cannot be shared or duplicated: a copy starts closed and unlabelled.
Music::Music(const Music&) : m_p_music(), m_label() {}

Music& Music::operator=(const Music& other) {
    if (this != &other) {
        m_p_music.reset();
        m_label.clear();
    }
    return *this;
}

int Music::loadMusic(std::string filename) {
    // A fresh stream per load: a failed open must not disturb one that plays.
    // Some damaged files open with no channels or no rate; a music stream on
    // such a file divides by zero inside the audio library as soon as it is
    // played or even destroyed, so the file is looked at before a stream is
    // made for it.
    {
        sf::InputSoundFile probe;
        if (!probe.openFromFile(filename) || probe.getChannelCount() == 0 || probe.getSampleRate() == 0) {
            LogManager::getInstance().writeLog(1, "Failed to load music from file '%s'", filename.c_str());
            return -1;
        }
    }
    auto p_music = std::make_unique<sf::Music>();
    if (!p_music->openFromFile(filename)) {
        LogManager::getInstance().writeLog(1, "Failed to load music from file '%s'", filename.c_str());
        return -1;
    }
    m_p_music = std::move(p_music);
    return 0;
}

void Music::setLabel(std::string new_label) { m_label = std::move(new_label); }
std::string Music::getLabel() const { return m_label; }

void Music::play(bool loop) {
    if (m_p_music == nullptr || !audioCanPlay())
        return;
    priv::setLooping(*m_p_music, loop);
    m_p_music->play();
}

void Music::stop() {
    if (m_p_music != nullptr)
        m_p_music->stop();
}

void Music::pause() {
    if (m_p_music != nullptr)
        m_p_music->pause();
}

sf::Music* Music::getMusic() {
    // Callers get a usable (closed) stream even before anything was loaded.
    if (m_p_music == nullptr)
        m_p_music = std::make_unique<sf::Music>();
    return m_p_music.get();
}

} // namespace vq
