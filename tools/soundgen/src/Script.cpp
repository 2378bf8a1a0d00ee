#include "Script.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace soundgen {

ParseError::ParseError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message), line_(line) {}

std::string readTextFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read '" + path + "'");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

struct Line {
    int number = 0;
    std::vector<std::string> words;
};

// Splits into words; "#" starts a comment only at the start of a word, so C#5 stays a note.
std::vector<Line> lex(const std::string& text) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        Line line{number, {}};
        std::string word;
        auto flush = [&] {
            if (!word.empty()) line.words.push_back(word);
            word.clear();
        };
        for (char c : raw) {
            if (c == '#' && word.empty()) break;
            if (c == ' ' || c == '\t' || c == '\r') {
                flush();
            } else if (c == '|') { // bar lines are words of their own, spaced or not
                flush();
                line.words.emplace_back("|");
            } else {
                word += c;
            }
        }
        flush();
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

double number(const std::string& text, int line, const std::string& key) {
    std::size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value))
        throw ParseError(line, "'" + key + "' needs a number, got '" + text + "'");
    return value;
}

double positive(const std::string& text, int line, const std::string& key) {
    const double value = number(text, line, key);
    if (value <= 0.0) throw ParseError(line, "'" + key + "' must be above zero");
    return value;
}

double nonNegative(const std::string& text, int line, const std::string& key) {
    const double value = number(text, line, key);
    if (value < 0.0) throw ParseError(line, "'" + key + "' must not be negative");
    return value;
}

// "a:b" -> {a, b}
std::pair<double, double> pair(const std::string& text, int line, const std::string& key) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) throw ParseError(line, "'" + key + "' needs two numbers as a:b");
    return {number(text.substr(0, colon), line, key), number(text.substr(colon + 1), line, key)};
}

// A pitch: a note name or Hz.
double pitch(const std::string& text, int line) {
    if (const auto note = parseNoteName(text)) return noteToFreq(*note);
    return positive(text, line, "freq");
}

int noteNumber(const std::string& text, int line, const std::string& key) {
    const auto note = parseNoteName(text);
    if (!note) throw ParseError(line, "'" + key + "' needs a note name such as A1, got '" + text + "'");
    return *note;
}

// "from" or "from>to" for sweeping filter cutoffs.
void cutoff(const std::string& text, int line, const std::string& key, double& from, double& to) {
    const auto arrow = text.find('>');
    from = positive(text.substr(0, arrow), line, key);
    to = arrow == std::string::npos ? 0.0 : positive(text.substr(arrow + 1), line, key);
}

std::pair<std::string, std::string> keyValue(const std::string& word, int line) {
    const auto eq = word.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == word.size())
        throw ParseError(line, "expected key=value, got '" + word + "'");
    return {word.substr(0, eq), word.substr(eq + 1)};
}

void setFreq(Voice& v, const std::string& value, int line) {
    v.hasFreq = true;
    if (value[0] == '*') {
        v.ratio = positive(value.substr(1), line, "freq");
        v.hasFreq = false;
        return;
    }
    const auto arrow = value.find('>');
    const auto tilde = value.find('~');
    if (arrow != std::string::npos) {
        v.freq = pitch(value.substr(0, arrow), line);
        v.bend = 12.0 * std::log2(pitch(value.substr(arrow + 1), line) / v.freq);
    } else if (tilde != std::string::npos) {
        v.freq = pitch(value.substr(0, tilde), line);
        v.freqHi = pitch(value.substr(tilde + 1), line);
    } else {
        v.freq = pitch(value, line);
    }
}

void setVoiceKey(Voice& v, const std::string& key, const std::string& value, int line) {
    static const std::map<std::string, Wave> kWaves = {{"sine", Wave::Sine},     {"triangle", Wave::Triangle},
                                                       {"square", Wave::Square}, {"saw", Wave::Saw},
                                                       {"noise", Wave::Noise},   {"brown", Wave::Brown}};
    static const std::map<std::string, Cloud> kClouds = {
        {"flat", Cloud::Flat}, {"rise", Cloud::Rise}, {"fall", Cloud::Fall}};
    if (key == "at") {
        v.at = number(value, line, key);
    } else if (key == "len") {
        v.len = positive(value, line, key);
        v.hasLen = true;
    } else if (key == "wave") {
        const auto it = kWaves.find(value);
        if (it == kWaves.end()) throw ParseError(line, "unknown wave '" + value + "'");
        v.wave = it->second;
    } else if (key == "freq") {
        setFreq(v, value, line);
    } else if (key == "bend") {
        v.bend = number(value, line, key);
    } else if (key == "glide") {
        v.glide = nonNegative(value, line, key);
    } else if (key == "cents") {
        v.cents = number(value, line, key);
    } else if (key == "attack") {
        v.attack = nonNegative(value, line, key);
    } else if (key == "hold") {
        v.hold = nonNegative(value, line, key);
    } else if (key == "decay") {
        v.decay = nonNegative(value, line, key);
    } else if (key == "release") {
        v.release = nonNegative(value, line, key);
    } else if (key == "level") {
        v.level = number(value, line, key);
    } else if (key == "fm") {
        std::tie(v.fmRatio, v.fmIndex) = pair(value, line, key);
    } else if (key == "fmdecay") {
        v.fmDecay = nonNegative(value, line, key);
    } else if (key == "vib") {
        std::tie(v.vibRate, v.vibCents) = pair(value, line, key);
    } else if (key == "trem") {
        std::tie(v.tremRate, v.tremDepth) = pair(value, line, key);
        if (v.tremDepth < 0.0 || v.tremDepth > 1.0) throw ParseError(line, "tremolo depth must be within 0..1");
    } else if (key == "lp") {
        cutoff(value, line, key, v.lp, v.lpTo);
    } else if (key == "hp") {
        cutoff(value, line, key, v.hp, v.hpTo);
    } else if (key == "bp") {
        cutoff(value, line, key, v.bp, v.bpTo);
    } else if (key == "q") {
        v.q = positive(value, line, key);
    } else if (key == "sweep") {
        v.sweep = nonNegative(value, line, key);
    } else if (key == "grains") {
        double count = 0.0;
        std::tie(count, v.grainLen) = pair(value, line, key);
        if (count < 1.0 || count != std::floor(count) || v.grainLen <= 0.0)
            throw ParseError(line, "'grains' needs a whole count and a length above zero");
        v.grains = static_cast<int>(count);
    } else if (key == "cloud") {
        const auto it = kClouds.find(value);
        if (it == kClouds.end()) throw ParseError(line, "unknown cloud shape '" + value + "'");
        v.cloud = it->second;
    } else if (key == "jitter") {
        v.jitter = nonNegative(value, line, key);
    } else if (key == "pan") {
        v.pan = number(value, line, key);
    } else if (key == "seed") {
        v.seed = static_cast<std::uint64_t>(nonNegative(value, line, key));
    } else {
        throw ParseError(line, "unknown voice setting '" + key + "'");
    }
}

Voice parseVoice(const Line& line, bool allowRatio) {
    Voice v;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        const auto [key, value] = keyValue(line.words[i], line.number);
        setVoiceKey(v, key, value, line.number);
    }
    if (v.ratio > 0.0 && !allowRatio) throw ParseError(line.number, "freq=*ratio needs a note; use it in instruments");
    if (v.attack + v.hold > v.len && v.hasLen) throw ParseError(line.number, "attack and hold are longer than len");
    if (v.grains > 0 && v.grainLen > v.len) throw ParseError(line.number, "a grain is longer than the voice");
    return v;
}

void expectName(const Line& line) {
    if (line.words.size() < 2 || line.words[1].find('=') != std::string::npos)
        throw ParseError(line.number, "'" + line.words[0] + "' needs a name");
}

} // namespace

std::vector<Sound> parseEffects(const std::string& text) {
    std::vector<Sound> sounds;
    bool open = false;
    int openedAt = 0;
    for (const Line& line : lex(text)) {
        const std::string& head = line.words[0];
        if (head == "sound") {
            if (open) throw ParseError(line.number, "'sound' inside another sound; missing 'end'");
            expectName(line);
            for (const Sound& s : sounds)
                if (s.name == line.words[1]) throw ParseError(line.number, "sound '" + s.name + "' defined twice");
            Sound sound;
            sound.name = line.words[1];
            for (std::size_t i = 2; i < line.words.size(); ++i) {
                const auto [key, value] = keyValue(line.words[i], line.number);
                if (key == "peak") {
                    sound.peakDb = number(value, line.number, key);
                    if (sound.peakDb > 0.0) throw ParseError(line.number, "a peak above 0 dBFS would clip");
                } else if (key == "length") {
                    sound.length = positive(value, line.number, key);
                } else if (key == "echo") {
                    std::tie(sound.echoDelay, sound.echoGain) = pair(value, line.number, key);
                    if (sound.echoDelay <= 0.0 || sound.echoGain <= 0.0 || sound.echoGain >= 1.0)
                        throw ParseError(line.number, "'echo' needs a delay above zero and a gain between 0 and 1");
                } else {
                    throw ParseError(line.number, "unknown sound setting '" + key + "'");
                }
            }
            sounds.push_back(std::move(sound));
            open = true;
            openedAt = line.number;
        } else if (head == "voice") {
            if (!open) throw ParseError(line.number, "'voice' outside a sound");
            sounds.back().voices.push_back(parseVoice(line, false));
        } else if (head == "end") {
            if (!open) throw ParseError(line.number, "'end' without a sound");
            if (sounds.back().voices.empty())
                throw ParseError(line.number, "sound '" + sounds.back().name + "' has no voices");
            open = false;
        } else {
            throw ParseError(line.number, "unknown word '" + head + "'");
        }
    }
    if (open) throw ParseError(openedAt, "sound '" + sounds.back().name + "' is missing its 'end'");
    return sounds;
}

namespace {

void setMusicKey(Piece& music, const std::string& key, const std::string& value, int line) {
    if (key == "tempo") {
        music.tempo = positive(value, line, key);
    } else if (key == "beats") {
        music.beats = static_cast<int>(positive(value, line, key));
    } else if (key == "swing") {
        music.swing = number(value, line, key);
        if (music.swing < 0.3 || music.swing > 0.8) throw ParseError(line, "'swing' must be within 0.3..0.8");
    } else if (key == "peak") {
        music.peakDb = number(value, line, key);
        if (music.peakDb > 0.0) throw ParseError(line, "a peak above 0 dBFS would clip");
    } else if (key == "reverb") {
        music.reverbTime = positive(value, line, key);
    } else if (key == "damping") {
        music.reverbDamping = nonNegative(value, line, key);
    } else if (key == "wet") {
        music.wetDb = number(value, line, key);
    } else if (key == "limit") {
        music.limitDb = nonNegative(value, line, key);
    } else if (key == "seed") {
        music.seed = static_cast<std::uint64_t>(nonNegative(value, line, key));
    } else {
        throw ParseError(line, "unknown music setting '" + key + "'");
    }
}

void setInstrumentKey(Instrument& inst, const std::string& key, const std::string& value, int line) {
    static const std::map<std::string, Plays> kPlays = {
        {"chords", Plays::Chords}, {"bass", Plays::Bass}, {"notes", Plays::Notes}, {"hits", Plays::Hits}};
    if (key == "plays") {
        const auto it = kPlays.find(value);
        if (it == kPlays.end()) throw ParseError(line, "'plays' must be chords, bass, notes or hits");
        inst.plays = it->second;
    } else if (key == "level") {
        inst.level = number(value, line, key);
    } else if (key == "pan") {
        inst.pan = number(value, line, key);
    } else if (key == "send") {
        inst.send = nonNegative(value, line, key);
    } else if (key == "low") {
        inst.low = noteNumber(value, line, key);
    } else if (key == "humanize") {
        std::tie(inst.humanizeMs, inst.humanizeDb) = pair(value, line, key);
    } else {
        throw ParseError(line, "unknown instrument setting '" + key + "'");
    }
}

bool validSlot(Plays plays, const std::string& token) {
    if (token == "-" || token == ".") return true;
    switch (plays) {
    case Plays::Chords:
        return token == "x" || token == "X" || token == "o" || token == ">";
    case Plays::Hits:
        return token == "x" || token == "X" || token == "o";
    case Plays::Bass:
        return token.size() == 1 && std::string("13578a").find(token[0]) != std::string::npos;
    case Plays::Notes:
        return parseNoteName(token).has_value();
    }
    return false;
}

// Bars from the words after "pattern NAME" (or "chords"); "|" separates bars.
std::vector<std::vector<std::string>> splitBars(const Line& line, std::size_t first, bool charSlots) {
    std::vector<std::vector<std::string>> bars(1);
    for (std::size_t i = first; i < line.words.size(); ++i) {
        const std::string& word = line.words[i];
        if (word == "|") {
            bars.emplace_back();
        } else if (charSlots) {
            for (char c : word) bars.back().emplace_back(1, c);
        } else {
            bars.back().push_back(word);
        }
    }
    std::vector<std::vector<std::string>> nonEmpty;
    for (auto& bar : bars)
        if (!bar.empty()) nonEmpty.push_back(std::move(bar));
    return nonEmpty;
}

} // namespace

Piece parseMusic(const std::string& text) {
    Piece music;
    bool haveHeader = false;
    Instrument* open = nullptr;
    int openedAt = 0;
    auto findInstrument = [&music](const std::string& name) -> Instrument* {
        for (Instrument& inst : music.instruments)
            if (inst.name == name) return &inst;
        return nullptr;
    };

    for (const Line& line : lex(text)) {
        const std::string& head = line.words[0];
        if (head != "music" && !haveHeader) throw ParseError(line.number, "the file must start with 'music NAME'");
        if (open && head != "voice" && head != "end")
            throw ParseError(line.number, "instrument '" + open->name + "' is missing its 'end'");

        if (head == "music") {
            if (haveHeader) throw ParseError(line.number, "only one 'music' per file");
            expectName(line);
            music.name = line.words[1];
            for (std::size_t i = 2; i < line.words.size(); ++i) {
                const auto [key, value] = keyValue(line.words[i], line.number);
                setMusicKey(music, key, value, line.number);
            }
            haveHeader = true;
        } else if (head == "chords") {
            for (const auto& bar : splitBars(line, 1, false)) {
                if (music.slotsPerBar() % static_cast<int>(bar.size()) != 0)
                    throw ParseError(line.number, "a bar's chords must split it into equal parts");
                std::vector<Chord> chords;
                for (const std::string& symbol : bar) {
                    const auto chord = parseChord(symbol);
                    if (!chord) throw ParseError(line.number, "unknown chord '" + symbol + "'");
                    chords.push_back(*chord);
                }
                music.bars.push_back(std::move(chords));
            }
        } else if (head == "instrument") {
            expectName(line);
            if (findInstrument(line.words[1]))
                throw ParseError(line.number, "instrument '" + line.words[1] + "' defined twice");
            Instrument inst;
            inst.name = line.words[1];
            for (std::size_t i = 2; i < line.words.size(); ++i) {
                const auto [key, value] = keyValue(line.words[i], line.number);
                setInstrumentKey(inst, key, value, line.number);
            }
            music.instruments.push_back(std::move(inst));
            open = &music.instruments.back();
            openedAt = line.number;
        } else if (head == "voice") {
            if (!open) throw ParseError(line.number, "'voice' outside an instrument");
            open->voices.push_back(parseVoice(line, true));
        } else if (head == "end") {
            if (!open) throw ParseError(line.number, "'end' without an instrument");
            if (open->voices.empty()) throw ParseError(line.number, "instrument '" + open->name + "' has no voices");
            open = nullptr;
        } else if (head == "pattern") {
            expectName(line);
            Instrument* inst = findInstrument(line.words[1]);
            if (!inst) throw ParseError(line.number, "pattern for unknown instrument '" + line.words[1] + "'");
            for (auto& bar : splitBars(line, 2, inst->plays != Plays::Notes)) {
                if (static_cast<int>(bar.size()) != music.slotsPerBar())
                    throw ParseError(line.number, "a pattern bar needs " + std::to_string(music.slotsPerBar()) +
                                                      " slots, got " + std::to_string(bar.size()));
                for (const std::string& token : bar)
                    if (!validSlot(inst->plays, token))
                        throw ParseError(line.number, "'" + token + "' does not fit instrument '" + inst->name + "'");
                inst->pattern.push_back(std::move(bar));
            }
        } else {
            throw ParseError(line.number, "unknown word '" + head + "'");
        }
    }
    if (open) throw ParseError(openedAt, "instrument '" + open->name + "' is missing its 'end'");
    if (!haveHeader) throw ParseError(0, "no 'music' header");
    if (music.bars.empty()) throw ParseError(0, "no 'chords': the form has no bars");
    for (const Instrument& inst : music.instruments) {
        // A pattern that does not repeat a whole number of times would break the loop seam.
        if (inst.pattern.empty() || music.bars.size() % inst.pattern.size() != 0)
            throw ParseError(0, "the pattern of '" + inst.name + "' must have a number of bars that divides the " +
                                    std::to_string(music.bars.size()) + "-bar form");
    }
    return music;
}

} // namespace soundgen
