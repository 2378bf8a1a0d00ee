#pragma once

#include "Pitch.h"
#include "Voice.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace soundgen {

// A description file error, with the 1-based line it was found on (0: the file as a whole).
class ParseError : public std::runtime_error {
public:
    ParseError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// One effect: voices mixed, an optional echo, then scaled to peakDb.
struct Sound {
    std::string name;
    double peakDb = -3.0;
    double length = 0.0; // 0: until the last voice (and its echoes) end
    double echoDelay = 0.0;
    double echoGain = 0.0;
    std::vector<Voice> voices;
};

// What an instrument's pattern characters mean.
enum class Plays { Chords, Bass, Notes, Hits };

struct Instrument {
    std::string name;
    Plays plays = Plays::Hits;
    double level = 0.0; // dB into the mix
    double pan = 0.0;   // added to each voice's own pan
    double send = 0.0;  // 0..1 of the dry signal fed to the reverb
    int low = 53;       // lowest note of the register chords and bass are placed in
    double humanizeMs = 0.0;
    double humanizeDb = 0.0;
    std::vector<Voice> voices;
    // Bars of slots (eighth notes); each slot is one token: a note, hit or degree, "-" hold, "." rest.
    std::vector<std::vector<std::string>> pattern;
};

// A piece of music: a repeating form of chords and the instruments that play over it.
struct Piece {
    std::string name;
    double tempo = 90.0;
    int beats = 4;      // per bar
    double swing = 0.5; // where the off-beat eighth falls inside its beat
    double peakDb = -3.0;
    double reverbTime = 1.5;
    double reverbDamping = 0.4;
    double wetDb = -6.0;
    double limitDb = 0.0; // how far the loudest peaks are pulled down before scaling to peakDb
    std::uint64_t seed = 1;
    std::vector<std::vector<Chord>> bars; // the form: one or more chords per bar
    std::vector<Instrument> instruments;

    int slotsPerBar() const { return beats * 2; }
};

std::vector<Sound> parseEffects(const std::string& text);
Piece parseMusic(const std::string& text);

// Whole file as text; throws std::runtime_error if it cannot be read.
std::string readTextFile(const std::string& path);

} // namespace soundgen
