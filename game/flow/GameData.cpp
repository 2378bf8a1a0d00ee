#include "flow/GameData.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <velloq/core/DataFolder.h>
#include <velloq/core/LogManager.h>
#include <velloq/resources/ResourceManager.h>

#include "flow/ResourceTable.h"

namespace {

const char* kindOf(const ResourceEntry* p_entry) {
    if (p_entry >= SPRITE_RESOURCES && p_entry < SPRITE_RESOURCES + SPRITE_RESOURCE_COUNT)
        return "a sprite";
    if (p_entry >= SOUND_RESOURCES && p_entry < SOUND_RESOURCES + SOUND_RESOURCE_COUNT)
        return "a sound";
    return "music";
}

} // namespace

int loadGameData() {
    // Without a log the game still plays; the log has said so on stderr.
    vq::LogManager::getInstance().startUp();
    if (vq::ResourceManager::getInstance().startUp() != 0)
        return -1;
    const std::vector<const ResourceEntry*> failed = loadResources();
    if (failed.empty())
        return 0;
    const vq::LogManager& log = vq::LogManager::getInstance();
    for (const ResourceEntry* p_entry : failed) {
        // Where the store read it: the data folder when the game is installed.
        const std::string file = vq::dataPath(p_entry->file);
        std::error_code ec;
        const std::string path = std::filesystem::absolute(file, ec).string();
        if (!std::filesystem::exists(file, ec))
            log.writeError("Data file %s is missing", path.c_str());
        else
            log.writeError("Data file %s is damaged: it cannot be read as %s", path.c_str(), kindOf(p_entry));
    }
    const std::size_t total = SPRITE_RESOURCE_COUNT + SOUND_RESOURCE_COUNT + MUSIC_RESOURCE_COUNT;
    log.writeError("The game's data is incomplete or damaged (%zu of its %zu files did not load): reinstall it",
                   failed.size(), total);
    return -1;
}
