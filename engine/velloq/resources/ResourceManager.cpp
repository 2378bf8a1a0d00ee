#include <velloq/resources/ResourceManager.h>

#include <cctype>
#include <climits>
#include <fstream>
#include <utility>

#include <SFML/System/Err.hpp>

#include <velloq/core/DataFolder.h>
#include <velloq/core/LogManager.h>
#include <velloq/resources/Mp3Reader.h>
#include <velloq/resources/Sprite.h>
#include <velloq/resources/SpriteReader.h>

namespace vq {

namespace sprite_file {

int parseNumber(const std::string& line) {
    std::size_t pos = 0;
    while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
        pos++;
    bool negative = false;
    if (pos < line.size() && (line[pos] == '+' || line[pos] == '-')) {
        negative = line[pos] == '-';
        pos++;
    }
    long long value = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; pos++) {
        value = value * 10 + (line[pos] - '0');
        // Saturate early: an absurd header must not overflow on its way in.
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value < INT_MIN ? INT_MIN : -value);
    return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

namespace {
const char* const COLOR_NAMES[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
const int COLOR_NAME_COUNT = 8;
} // namespace

bool parseColor(const std::string& line, Color& color) {
    for (int i = 0; i < COLOR_NAME_COUNT; i++) {
        if (line == COLOR_NAMES[i]) {
            color = static_cast<Color>(i);
            return true;
        }
    }
    return false;
}

const char* colorName(Color color) {
    const int index = static_cast<int>(color);
    if (index < 0 || index >= COLOR_NAME_COUNT)
        return "white";
    return COLOR_NAMES[index];
}

} // namespace sprite_file

std::string discardCR(std::string& str) {
    if (!str.empty() && str.back() == '\r')
        str.pop_back();
    return str;
}

ResourceManager::ResourceManager() : m_p_sprite(), m_sprite_count(0), m_sound_count(0), m_music_count(0) {
    setType("ResourceManager");
    // Must happen before the first sound or music is opened.
    registerMp3Reader();
    // The audio library reports through a stream created on first use. The
    // sounds and music in this store may report while being destroyed at
    // exit, so that stream must be created first to be destroyed after.
    static_cast<void>(sf::err());
}

ResourceManager& ResourceManager::getInstance() {
    static ResourceManager instance;
    return instance;
}

ResourceManager::~ResourceManager() {
    for (int i = 0; i < m_sprite_count; i++) {
        delete m_p_sprite[i];
        m_p_sprite[i] = nullptr;
    }
    m_sprite_count = 0;
}

int ResourceManager::startUp() {
    // Sprites still held from an earlier run would become unreachable.
    for (int i = 0; i < m_sprite_count; i++) {
        delete m_p_sprite[i];
        m_p_sprite[i] = nullptr;
    }
    m_sprite_count = 0;
    m_sound_count = 0;
    m_music_count = 0;
    return Manager::startUp();
}

int ResourceManager::shutDown() {
    for (int i = 0; i < m_sprite_count; i++) {
        delete m_p_sprite[i];
        m_p_sprite[i] = nullptr;
    }
    m_sprite_count = 0;
    // Sound buffers and streams stay in their slots until reused or until
    // the store itself goes away; only the counts forget them.
    m_sound_count = 0;
    m_music_count = 0;
    return Manager::shutDown();
}

namespace {

// One line without its line feed and without one trailing carriage return.
void readLine(std::istream& in, std::string& line) {
    std::getline(in, line);
    discardCR(line);
}

} // namespace

int ResourceManager::loadSprite(std::string filename, std::string label) {
    const LogManager& log = LogManager::getInstance();
    // Messages name the file actually read.
    filename = dataPath(filename);
    const char* const file = filename.c_str();

    if (m_sprite_count >= MAX_SPRITES) {
        log.writeLog("Failed to add sprite, sprite array is full");
        return -1;
    }
    for (int i = 0; i < m_sprite_count; i++) {
        if (m_p_sprite[i]->getLabel() == label) {
            log.writeLog("Failed to add sprite with label '%s', a sprite already exists with that label",
                         label.c_str());
            return -1;
        }
    }

    std::ifstream in(filename);
    if (!in.is_open() || !in.good()) {
        log.writeLog("Failed to open sprite file '%s'", file);
        return -1;
    }

    std::string line;
    readLine(in, line);
    // Each further header line needs the one before it to have ended with a
    // line feed.
    const auto read_header = [&in, &line, &log, file]() {
        if (!in.good()) {
            log.writeLog("Failed to parse headers in sprite file '%s' - expected another line but got EOF", file);
            return false;
        }
        readLine(in, line);
        return true;
    };
    // A sprite holds no negative number of frames, rows or columns, so
    // anything below 1 is refused like 0.
    const int frame_count = sprite_file::parseNumber(line);
    if (frame_count <= 0) {
        log.writeLog("Failed to parse frame count in sprite file '%s'", file);
        return -1;
    }

    if (!read_header())
        return -1;
    const int width = sprite_file::parseNumber(line);
    if (width <= 0) {
        log.writeLog("Failed to parse frame width in sprite file '%s'", file);
        return -1;
    }

    if (!read_header())
        return -1;
    const int height = sprite_file::parseNumber(line);
    if (height <= 0) {
        log.writeLog("Failed to parse frame height in sprite file '%s'", file);
        return -1;
    }

    if (!read_header())
        return -1;
    // A negative slowdown is legal: it advances the frame on every draw.
    const int slowdown = sprite_file::parseNumber(line);
    if (slowdown == 0) {
        log.writeLog("Failed to parse frame slowdown in sprite file '%s'", file);
        return -1;
    }

    if (!read_header())
        return -1;
    Color color = COLOR_DEFAULT;
    if (!sprite_file::parseColor(line, color)) {
        log.writeLog("Failed to parse color in sprite file '%s'", file);
        return -1;
    }

    log.writeLog(0, "Read headers in sprite file '%s': Frames: %i, Width: %i, Height: %i, Slowdown: %i, Color: %s",
                 file, frame_count, width, height, slowdown, sprite_file::colorName(color));

    // The headers are only claims: nothing is allocated from them. Rows are
    // collected as they are read, so memory follows what the file holds and
    // a huge frame count simply runs into the end of the file.
    const std::size_t row_width = static_cast<std::size_t>(width);
    std::string pixels;
    for (int i = 0; i < frame_count; i++) {
        for (int j = 0; j < height; j++) {
            if (!in.good()) {
                log.writeLog("Failed to read line in sprite file '%s' frame %i row %i - expected another line but "
                             "got EOF",
                             file, i + 1, j + 1);
                return -1;
            }
            readLine(in, line);
            if (line.size() != row_width) {
                log.writeLog("Failed to read line in sprite file '%s' frame %i row %i - line length does not match "
                             "sprite width",
                             file, i + 1, j + 1);
                return -1;
            }
            pixels += line;
        }
        log.writeLog(0, "Read frame %i in sprite file '%s'", i + 1, file);
    }

    if (in.good())
        log.writeLog(1, "Expected end of sprite file '%s' but found more lines", file);

    // Every frame is in memory, so the frame count is now backed by data.
    const std::size_t frame_size = row_width * static_cast<std::size_t>(height);
    auto p_sprite = std::make_unique<Sprite>(frame_count);
    p_sprite->setWidth(width);
    p_sprite->setHeight(height);
    p_sprite->setSlowdown(slowdown);
    p_sprite->setColor(color);
    for (int i = 0; i < frame_count; i++) {
        if (p_sprite->addFrame(
                Frame(width, height, pixels.substr(static_cast<std::size_t>(i) * frame_size, frame_size))) != 0)
            return -1;
    }
    p_sprite->setLabel(label);

    m_p_sprite[m_sprite_count] = p_sprite.release();
    m_sprite_count++;
    return 0;
}

int ResourceManager::unloadSprite(std::string label) {
    for (int i = 0; i < m_sprite_count; i++) {
        if (m_p_sprite[i]->getLabel() != label)
            continue;
        delete m_p_sprite[i];
        for (int j = i; j < m_sprite_count - 1; j++)
            m_p_sprite[j] = m_p_sprite[j + 1];
        m_sprite_count--;
        m_p_sprite[m_sprite_count] = nullptr;
        return 0;
    }
    LogManager::getInstance().writeLog(1, "Failed to find sprite with label '%s' to unload", label.c_str());
    return -1;
}

Sprite* ResourceManager::getSprite(std::string label) const {
    for (int i = 0; i < m_sprite_count; i++) {
        if (m_p_sprite[i]->getLabel() == label)
            return m_p_sprite[i];
    }
    return nullptr;
}

int ResourceManager::loadSound(std::string filename, std::string label) {
    const LogManager& log = LogManager::getInstance();
    if (m_sound_count >= MAX_SOUNDS) {
        log.writeLog("Failed to add sound, sounds array is full");
        return -1;
    }
    for (int i = 0; i < m_sound_count; i++) {
        if (m_sound[i].getLabel() == label) {
            log.writeLog("Failed to add sound with label '%s', a sound already exists with that label", label.c_str());
            return -1;
        }
    }
    if (m_sound[m_sound_count].loadSound(dataPath(filename)) != 0)
        return -1;
    m_sound[m_sound_count].setLabel(label);
    m_sound_count++;
    return 0;
}

int ResourceManager::unloadSound(std::string label) {
    for (int i = 0; i < m_sound_count; i++) {
        if (m_sound[i].getLabel() != label)
            continue;
        // Each Sound carries its buffer and playback object together, so a
        // moved sound still plays its own samples.
        for (int j = i; j < m_sound_count - 1; j++)
            m_sound[j] = std::move(m_sound[j + 1]);
        m_sound[m_sound_count - 1] = Sound();
        m_sound_count--;
        return 0;
    }
    LogManager::getInstance().writeLog(1, "Failed to find sound with label '%s' to unload", label.c_str());
    return -1;
}

Sound* ResourceManager::getSound(std::string label) {
    for (int i = 0; i < m_sound_count; i++) {
        if (m_sound[i].getLabel() == label)
            return &m_sound[i];
    }
    return nullptr;
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
    const LogManager& log = LogManager::getInstance();
    if (m_music_count >= MAX_MUSICS) {
        log.writeLog("Failed to add music, musics array is full");
        return -1;
    }
    if (label.empty()) {
        log.writeLog(1, "Music label cannot be empty string");
        return -1;
    }
    for (int i = 0; i < m_music_count; i++) {
        if (m_music[i].getLabel() == label) {
            log.writeLog("Failed to add music with label '%s', a music already exists with that label", label.c_str());
            return -1;
        }
    }
    if (m_music[m_music_count].loadMusic(dataPath(filename)) != 0)
        return -1;
    m_music[m_music_count].setLabel(label);
    m_music_count++;
    return 0;
}

int ResourceManager::unloadMusic(std::string label) {
    // The empty label marks unloaded slots; it never names a loaded music.
    if (!label.empty()) {
        for (int i = 0; i < m_music_count; i++) {
            if (m_music[i].getLabel() == label) {
                m_music[i].setLabel("");
                return 0;
            }
        }
    }
    LogManager::getInstance().writeLog(1, "Failed to find music with label '%s' to unload", label.c_str());
    return -1;
}

Music* ResourceManager::getMusic(std::string label) {
    if (label.empty())
        return nullptr;
    for (int i = 0; i < m_music_count; i++) {
        if (m_music[i].getLabel() == label)
            return &m_music[i];
    }
    return nullptr;
}

} // namespace vq
