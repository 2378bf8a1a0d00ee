#pragma once

#include <optional>
#include <string>
#include <vector>

namespace soundgen {

// Equal temperament with A4 (note 69) at 440 Hz.
double noteToFreq(double midiNote);

// "A4", "C#5", "Bb3" -> note number (C4 = 60); nullopt if the text is not a note name.
std::optional<int> parseNoteName(const std::string& text);

struct Chord {
    std::string symbol;
    int root = 0;               // pitch class, C = 0
    std::vector<int> intervals; // semitones above the root, root (0) first
};

// "Fmaj9", "Bbm6", "D7b9", "C9sus4" ...; nullopt for an unknown root or quality.
std::optional<Chord> parseChord(const std::string& symbol);

// A close keyboard voicing inside the octave starting at `low`: rootless when
// the chord has four or more tones (the bass plays the root), without the
// fifth when that still leaves more than four. Ascending note numbers.
std::vector<int> voiceChord(const Chord& chord, int low);

// The note of pitch class pitchClass (C = 0) in the octave starting at note `low`.
int placeInOctave(int pitchClass, int low);

} // namespace soundgen
