#ifndef VQ_RESOURCES_RESOURCEMANAGER_H
#define VQ_RESOURCES_RESOURCEMANAGER_H

#include <string>

#include <velloq/core/Manager.h>
#include <velloq/resources/Music.h>
#include <velloq/resources/Sound.h>

namespace vq {

class Sprite;

const int MAX_SPRITES = 500;
const int MAX_SOUNDS = 50;
const int MAX_MUSICS = 50;

// Removes one trailing carriage return in place and returns a copy, so files
// with CR LF line ends read like files with LF.
std::string discardCR(std::string& str);

// Stores sprites, sounds and music under unique labels. Relative file names
// are read from the data folder (core/DataFolder.h), the working directory
// unless set; the log's messages name the file as read.
class ResourceManager : public Manager {
public:
    static ResourceManager& getInstance();
    ~ResourceManager() override;

    int startUp() override;
    int shutDown() override;

    // Reads a sprite text file; 0, or -1 with the reason in the log.
    int loadSprite(std::string filename, std::string label);
    int unloadSprite(std::string label);
    Sprite* getSprite(std::string label) const;

    int loadSound(std::string filename, std::string label);
    int unloadSound(std::string label);
    Sound* getSound(std::string label);

    int loadMusic(std::string filename, std::string label);
    // Clears the slot's label; the slot is not reused.
    int unloadMusic(std::string label);
    Music* getMusic(std::string label);

private:
    ResourceManager();

    Sprite* m_p_sprite[MAX_SPRITES];
    int m_sprite_count;
    Sound m_sound[MAX_SOUNDS];
    int m_sound_count;
    Music m_music[MAX_MUSICS];
    int m_music_count;
};

} // namespace vq

#endif
