#include "Pitch.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace soundgen {

double noteToFreq(double midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0); }

namespace {

// Reads a root letter with optional accidental from text at pos; -1 if none.
int readPitchClass(const std::string& text, std::size_t& pos) {
    static const int kLetters[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (pos >= text.size() || text[pos] < 'A' || text[pos] > 'G') return -1;
    int pc = kLetters[text[pos] - 'A'];
    ++pos;
    if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b')) {
        pc += text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    return (pc + 12) % 12;
}

const std::map<std::string, std::vector<int>>& qualities() {
    // clang-format off
    static const std::map<std::string, std::vector<int>> table = {
        {"", {0, 4, 7}},          {"maj", {0, 4, 7}},          {"6", {0, 4, 7, 9}},
        {"69", {0, 4, 7, 9, 14}}, {"maj7", {0, 4, 7, 11}},     {"maj9", {0, 4, 7, 11, 14}},
        {"m", {0, 3, 7}},         {"m6", {0, 3, 7, 9}},        {"m7", {0, 3, 7, 10}},
        {"m9", {0, 3, 7, 10, 14}}, {"m11", {0, 3, 7, 10, 14, 17}}, {"m7b5", {0, 3, 6, 10}},
        {"dim7", {0, 3, 6, 9}},   {"7", {0, 4, 7, 10}},        {"9", {0, 4, 7, 10, 14}},
        {"13", {0, 4, 7, 10, 14, 21}}, {"7b9", {0, 4, 7, 10, 13}}, {"7#9", {0, 4, 7, 10, 15}},
        {"7sus4", {0, 5, 7, 10}}, {"9sus4", {0, 5, 7, 10, 14}}, {"13sus4", {0, 5, 7, 10, 14, 21}},
    };
    // clang-format on
    return table;
}

} // namespace

std::optional<int> parseNoteName(const std::string& text) {
    std::size_t pos = 0;
    const int pc = readPitchClass(text, pos);
    if (pc < 0 || pos >= text.size()) return std::nullopt;
    int octave = 0;
    for (; pos < text.size(); ++pos) {
        if (!std::isdigit(static_cast<unsigned char>(text[pos]))) return std::nullopt;
        octave = octave * 10 + (text[pos] - '0');
        if (octave > 10) return std::nullopt;
    }
    // The accidental may cross an octave boundary: Cb4 is B3, B#3 is C4.
    int note = (octave + 1) * 12 + pc;
    if (text[0] == 'C' && pc == 11) note -= 12;
    if (text[0] == 'B' && pc == 0) note += 12;
    return note;
}

std::optional<Chord> parseChord(const std::string& symbol) {
    std::size_t pos = 0;
    const int root = readPitchClass(symbol, pos);
    if (root < 0) return std::nullopt;
    const auto it = qualities().find(symbol.substr(pos));
    if (it == qualities().end()) return std::nullopt;
    return Chord{symbol, root, it->second};
}

int placeInOctave(int pitchClass, int low) { return low + ((pitchClass - low) % 12 + 12) % 12; }

std::vector<int> voiceChord(const Chord& chord, int low) {
    std::vector<int> tones = chord.intervals;
    auto drop = [&tones](int interval) { tones.erase(std::remove(tones.begin(), tones.end(), interval), tones.end()); };
    if (tones.size() >= 4) drop(0);
    if (tones.size() > 4) drop(7);
    std::vector<int> notes;
    for (int interval : tones) notes.push_back(placeInOctave((chord.root + interval) % 12, low));
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    return notes;
}

} // namespace soundgen
