#include "SpriteCheck.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include <velloq/core/LogManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>

#include "flow/ResourceTable.h"

namespace spritecheck {

namespace fs = std::filesystem;

namespace {

bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

const char* const COLOR_WORDS[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};

const char* colorWord(vq::Color color) {
    const int index = static_cast<int>(color);
    return index >= 0 && index < 8 ? COLOR_WORDS[index] : "white";
}

// Foreground in the sprite's colour; black gets a light background so it
// shows on dark terminals.
std::string ansiColor(vq::Color color) {
    const int index = static_cast<int>(color);
    if (index == 0)
        return "\x1b[30;47m";
    return "\x1b[" + std::to_string(30 + (index >= 0 && index < 8 ? index : 7)) + "m";
}

const char* const ANSI_DIM = "\x1b[2m";
const char* const ANSI_RESET = "\x1b[0m";
const char* const ANSI_PROBLEM = "\x1b[1;31m";

// The log is written into a private temporary directory, so the game's own
// velloq.log stays untouched; the lines are echoed as loading goes on.
class LogTap {
public:
    LogTap() : m_lines_seen(0) {}
    ~LogTap() {
        vq::LogManager::getInstance().shutDown();
        if (!m_dir.empty()) {
            std::error_code ignored;
            fs::remove_all(m_dir, ignored);
        }
    }
    LogTap(const LogTap&) = delete;
    LogTap& operator=(const LogTap&) = delete;

    bool start(std::ostream& err) {
        std::string templ = (fs::temp_directory_path() / "spritecheck-XXXXXX").string();
        if (mkdtemp(templ.data()) == nullptr) {
            err << "spritecheck: cannot create a temporary directory\n";
            return false;
        }
        m_dir = templ;
        // Sounds and music are only decoded, never heard: without an audio
        // device the audio library would fill the terminal with complaints.
        // Null output for OpenAL (SFML 2); miniaudio (SFML 3) falls back to
        // its null device when it finds no sound server and no ALSA device.
        const std::string conf = m_dir + "/alsoft.conf";
        std::ofstream(conf) << "[general]\ndrivers = null\n";
        setenv("ALSOFT_CONF", conf.c_str(), 0);
        setenv("PULSE_SERVER", "unix:/nonexistent/velloq-pulse", 0);
        setenv("ALSA_CONFIG_PATH", "/dev/null", 0);

        const fs::path data_dir = fs::current_path();
        std::error_code error;
        fs::current_path(m_dir, error);
        vq::LogManager& log = vq::LogManager::getInstance();
        const int started = error ? -1 : log.startUp();
        fs::current_path(data_dir, error);
        if (started != 0 || error) {
            err << "spritecheck: cannot start the log in " << m_dir << "\n";
            return false;
        }
        log.setLogLevel(-1);
        log.setFlush(true);
        newLines(); // the log's own start line
        return true;
    }

    // Lines written since the last call.
    std::vector<std::string> newLines() {
        std::ifstream in(m_dir + "/" + vq::LOGFILE_NAME);
        std::vector<std::string> lines;
        std::string line;
        std::size_t index = 0;
        while (std::getline(in, line)) {
            if (index++ >= m_lines_seen)
                lines.push_back(line);
        }
        m_lines_seen = index;
        return lines;
    }

private:
    std::string m_dir;
    std::size_t m_lines_seen;
};

enum class Kind { SPRITE, SOUND, MUSIC };

struct Target {
    Kind kind;
    std::string file;
    std::string label;
};

// Finds what an argument names: a label or file of the table, or a sprite
// file of its own.
bool resolve(const std::string& wanted, Target& target) {
    const struct {
        Kind kind;
        const ResourceEntry* entries;
        std::size_t count;
    } tables[] = {{Kind::SPRITE, SPRITE_RESOURCES, SPRITE_RESOURCE_COUNT},
                  {Kind::SOUND, SOUND_RESOURCES, SOUND_RESOURCE_COUNT},
                  {Kind::MUSIC, MUSIC_RESOURCES, MUSIC_RESOURCE_COUNT}};
    for (const auto& table : tables)
        for (std::size_t i = 0; i < table.count; i++)
            if (wanted == table.entries[i].label || wanted == table.entries[i].file) {
                target = {table.kind, table.entries[i].file, table.entries[i].label};
                return true;
            }
    std::error_code error;
    if (fs::is_regular_file(wanted, error)) {
        target = {Kind::SPRITE, wanted, wanted};
        return true;
    }
    return false;
}

void printProblem(const std::string& text, const Options& options, std::ostream& out) {
    if (options.color)
        out << "  " << ANSI_PROBLEM << "problem:" << ANSI_RESET << ' ' << text << '\n';
    else
        out << "  problem: " << text << '\n';
}

// Echoes the engine's lines for one load; every line but progress is a
// problem. Returns the number of problems.
int reportLog(LogTap& tap, const Options& options, std::ostream& out) {
    int problems = 0;
    for (const std::string& line : tap.newLines()) {
        const bool progress = startsWith(line, "Read headers") || startsWith(line, "Read frame");
        if (progress) {
            if (options.verbose)
                out << "  log: " << line << '\n';
        } else {
            printProblem("log: " + line, options, out);
            problems++;
        }
    }
    return problems;
}

} // namespace

bool artLimitFor(const std::string& label, ArtLimit& limit) {
    limit = ArtLimit();
    if (startsWith(label, "plot_")) {
        // Plots stand 8 columns and 6 lines apart.
        limit.max_width = 7;
        limit.max_height = 5;
        limit.same_as_plot = true;
    } else if (startsWith(label, "corn_")) {
        limit.inside_plot = true;
    } else if (label == "fertilizer" || label == "watering_can") {
        limit.max_width = 5;
        limit.max_height = 3;
    } else if (label == "pumpkin") {
        limit.max_width = 24;
        limit.max_height = 14;
    } else if (startsWith(label, "text_")) {
        limit.max_width = 78;
        limit.max_height = 18;
    } else if (startsWith(label, "upg-")) {
        limit.max_width = 8;
        limit.max_height = 4;
    } else if (startsWith(label, "pest_crow")) {
        limit.max_width = 5;
        limit.max_height = 2;
        limit.min_frames = label == "pest_crow" ? 2 : 1;
    } else if (startsWith(label, "pest_fly")) {
        limit.max_width = 3;
        limit.max_height = 1;
        limit.min_frames = label == "pest_fly" ? 2 : 1;
    } else {
        return false;
    }
    return true;
}

std::vector<std::string> artProblems(const vq::Sprite& sprite, int plot_width, int plot_height) {
    std::vector<std::string> problems;
    const int width = sprite.getWidth();
    const int height = sprite.getHeight();
    const std::string size = std::to_string(width) + " x " + std::to_string(height);

    ArtLimit limit;
    if (artLimitFor(sprite.getLabel(), limit)) {
        if ((limit.max_width > 0 && width > limit.max_width) || (limit.max_height > 0 && height > limit.max_height))
            problems.push_back("is " + size + ", at most " + std::to_string(limit.max_width) + " x " +
                               std::to_string(limit.max_height) + " fits");
        if (sprite.getFrameCount() < limit.min_frames)
            problems.push_back("has " + std::to_string(sprite.getFrameCount()) + " frame(s), needs at least " +
                               std::to_string(limit.min_frames) + " to move");
        if (limit.same_as_plot && plot_width > 0 && (width != plot_width || height != plot_height))
            problems.push_back("is " + size + " but the empty plot is " + std::to_string(plot_width) + " x " +
                               std::to_string(plot_height) + "; every plot look must be the same size");
        if (limit.inside_plot && plot_width > 0 && (width >= plot_width || height >= plot_height))
            problems.push_back("is " + size + ", must be smaller than the plot (" + std::to_string(plot_width) + " x " +
                               std::to_string(plot_height) + ") in both directions");
    }

    // Tabs and control characters draw as boxes or nothing in the game font.
    for (int f = 0; f < sprite.getFrameCount(); f++) {
        const std::string pixels = sprite.getFrame(f).getString();
        for (std::size_t i = 0; i < pixels.size(); i++) {
            const unsigned char ch = static_cast<unsigned char>(pixels[i]);
            if (ch < 32 || ch > 126) {
                problems.push_back("frame " + std::to_string(f + 1) + " row " + std::to_string(i / width + 1) +
                                   " column " + std::to_string(i % width + 1) + " holds character code " +
                                   std::to_string(ch) + ", which the game cannot show");
                break;
            }
        }
    }
    return problems;
}

void printFrames(const vq::Sprite& sprite, const Options& options, std::ostream& out) {
    const int width = sprite.getWidth();
    const int height = sprite.getHeight();
    const int count = sprite.getFrameCount();
    const int block = std::max(width + 2, 9); // room for the "frame N" title
    const int per_line = std::max(1, (options.columns - 2) / (block + 2));
    const std::string dim = options.color ? ANSI_DIM : "";
    const std::string reset = options.color ? ANSI_RESET : "";
    const std::string color = options.color ? ansiColor(sprite.getColor()) : "";

    for (int first = 0; first < count; first += per_line) {
        const int last = std::min(count, first + per_line);
        // Spaces up to the next frame's block; none after the last.
        auto pad = [&](std::ostream& line, int f, int used) {
            if (f + 1 < last)
                line << std::string(block - used + 2, ' ');
        };
        // Titles and top borders.
        out << "  ";
        for (int f = first; f < last; f++) {
            const std::string title = "frame " + std::to_string(f + 1);
            out << title;
            if (f + 1 < last)
                out << std::string(block - static_cast<int>(title.size()) + 2, ' ');
        }
        out << '\n';
        const std::string border = "+" + std::string(width, '-') + "+";
        out << "  ";
        for (int f = first; f < last; f++) {
            out << dim << border << reset;
            pad(out, f, width + 2);
        }
        out << '\n';
        for (int row = 0; row < height; row++) {
            out << "  ";
            for (int f = first; f < last; f++) {
                const std::string pixels = sprite.getFrame(f).getString();
                std::string text = pixels.substr(static_cast<std::size_t>(row) * width, width);
                for (char& ch : text)
                    if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) > 126)
                        ch = '?';
                out << dim << '|' << reset << color << text << reset << dim << '|' << reset;
                pad(out, f, width + 2);
            }
            out << '\n';
        }
        out << "  ";
        for (int f = first; f < last; f++) {
            out << dim << border << reset;
            pad(out, f, width + 2);
        }
        out << '\n';
    }
}

int run(const Options& options, std::ostream& out, std::ostream& err) {
    std::vector<Target> targets;
    if (options.wanted.empty()) {
        for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
            targets.push_back({Kind::SPRITE, SPRITE_RESOURCES[i].file, SPRITE_RESOURCES[i].label});
        for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++)
            targets.push_back({Kind::SOUND, SOUND_RESOURCES[i].file, SOUND_RESOURCES[i].label});
        for (std::size_t i = 0; i < MUSIC_RESOURCE_COUNT; i++)
            targets.push_back({Kind::MUSIC, MUSIC_RESOURCES[i].file, MUSIC_RESOURCES[i].label});
    } else {
        for (const std::string& wanted : options.wanted) {
            Target target;
            if (!resolve(wanted, target)) {
                err << "spritecheck: '" << wanted
                    << "' is not a label or file of the resource table, and no such file exists\n";
                return -1;
            }
            targets.push_back(target);
        }
    }

    LogTap tap;
    if (!tap.start(err))
        return -1;
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    store.startUp();
    tap.newLines();

    // Crops and plot looks are measured against the empty plot.
    int plot_width = 0;
    int plot_height = 0;
    if (store.loadSprite(SPRITE_RESOURCES[0].file, "spritecheck plot") == 0) {
        plot_width = store.getSprite("spritecheck plot")->getWidth();
        plot_height = store.getSprite("spritecheck plot")->getHeight();
        store.unloadSprite("spritecheck plot");
    }
    tap.newLines();

    int problems = 0;
    int sprites = 0;
    int sounds = 0;
    int musics = 0;
    for (const Target& target : targets) {
        if (target.kind == Kind::SPRITE) {
            sprites++;
            const int result = store.loadSprite(target.file, target.label);
            const vq::Sprite* p_sprite = result == 0 ? store.getSprite(target.label) : nullptr;
            out << target.label;
            if (target.label != target.file)
                out << "  (" << target.file << ")";
            if (p_sprite != nullptr)
                out << "  " << p_sprite->getWidth() << " x " << p_sprite->getHeight() << ", "
                    << p_sprite->getFrameCount() << (p_sprite->getFrameCount() == 1 ? " frame" : " frames")
                    << ", slowdown " << p_sprite->getSlowdown() << ", " << colorWord(p_sprite->getColor());
            out << '\n';
            problems += reportLog(tap, options, out);
            if (p_sprite == nullptr) {
                if (result != 0)
                    out << "  not loaded\n";
                continue;
            }
            // Size rules apply to table labels only; odd characters anywhere.
            for (const std::string& problem : artProblems(*p_sprite, plot_width, plot_height)) {
                printProblem(problem, options, out);
                problems++;
            }
            if (options.pictures)
                printFrames(*p_sprite, options, out);
        } else {
            const bool is_music = target.kind == Kind::MUSIC;
            (is_music ? musics : sounds)++;
            const int result =
                is_music ? store.loadMusic(target.file, target.label) : store.loadSound(target.file, target.label);
            out << (is_music ? "music " : "sound ") << target.label << "  (" << target.file << ")  "
                << (result == 0 ? "loads" : "does not load") << '\n';
            problems += reportLog(tap, options, out);
            if (result != 0 && !is_music && !fs::exists(target.file))
                out << "  the file is missing\n";
        }
    }

    store.shutDown();
    out << '\n'
        << "checked " << sprites << (sprites == 1 ? " sprite, " : " sprites, ") << sounds
        << (sounds == 1 ? " sound, " : " sounds, ") << musics << " music: " << problems
        << (problems == 1 ? " problem" : " problems") << '\n';
    return problems;
}

} // namespace spritecheck
