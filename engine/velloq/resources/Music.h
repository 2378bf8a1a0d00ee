#ifndef VQ_RESOURCES_MUSIC_H
#define VQ_RESOURCES_MUSIC_H

#include <memory>
#include <string>

namespace sf {
class Music;
}

namespace vq {

// A music stream read from its file while it plays. A copy is a new stream
// that is not open and has no label.
class Music {
public:
    Music();
    ~Music();
    Music(const Music&);
    Music& operator=(const Music&);

    // 0, or -1 (logged) when the file cannot be opened.
    int loadMusic(std::string filename);
    void setLabel(std::string new_label);
    std::string getLabel() const;

    // Plays once unless asked to loop, as a sound does.
    void play(bool loop = false);
    void stop();
    void pause();

    sf::Music* getMusic();

private:
    std::unique_ptr<sf::Music> m_p_music;
    std::string m_label;
};

} // namespace vq

#endif
