#ifndef VQ_RESOURCES_SOUND_H
#define VQ_RESOURCES_SOUND_H

#include <memory>
#include <string>

namespace sf {
class Sound;
}

namespace vq {

// A decoded sound effect with one playback object, so it never overlaps
// itself. The audio library stays behind this class.
class Sound {
public:
    Sound();
    ~Sound();
    Sound(Sound&& other) noexcept;
    Sound& operator=(Sound&& other) noexcept;

    // 0, or -1 (logged) when the file cannot be decoded.
    int loadSound(std::string filename);
    void setLabel(std::string new_label);
    std::string getLabel() const;

    void play(bool loop = false);
    void stop();
    void pause();

    // A copy of the playback object; needs the audio library's headers.
    sf::Sound getSound() const;
    // True once a file has been loaded into this slot.
    bool isLoaded() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p_impl;
    std::string m_label;
};

} // namespace vq

#endif
