#pragma once

#include "Audio.h"
#include "Dsp.h"

#include <cstdint>

namespace soundgen {

// How a grain cloud's loudness moves from its first to its last grain.
enum class Cloud { Flat, Rise, Fall };

// One sounding layer: an oscillator or noise source through an envelope and
// optional filters. Times are seconds, levels dB, pitch offsets semitones/cents.
struct Voice {
    double at = 0.0;  // start time in the output
    double len = 0.5; // total length; the release ends here
    bool hasLen = false;
    Wave wave = Wave::Sine;

    double freq = 440.0;
    bool hasFreq = false;
    double ratio = 0.0;  // > 0: multiple of the note's pitch (instruments only)
    double freqHi = 0.0; // > 0: grains draw their pitch from [freq, freqHi]
    double bend = 0.0;   // semitones travelled over `glide`
    double glide = 0.0;  // 0: the whole length
    double cents = 0.0;

    double attack = 0.002;
    double hold = 0.0;
    double decay = 0.0; // time to fall 60 dB after attack+hold; 0 = no decay
    double release = 0.01;
    double level = 0.0;

    double fmRatio = 0.0, fmIndex = 0.0, fmDecay = 0.0;
    double vibRate = 0.0, vibCents = 0.0;
    double tremRate = 0.0, tremDepth = 0.0;

    // Cutoffs in Hz (0 = off); a sweep moves exponentially to the *To value over `sweep`.
    double lp = 0.0, lpTo = 0.0;
    double hp = 0.0, hpTo = 0.0;
    double bp = 0.0, bpTo = 0.0;
    double q = 0.707;
    double sweep = 0.0; // 0: the whole length

    int grains = 0; // > 0: scatter this many copies of grainLen over `len`
    double grainLen = 0.02;
    Cloud cloud = Cloud::Flat;
    double jitter = 0.0; // random per-grain level cut, up to this many dB

    double pan = 0.0; // -1 left .. +1 right, stereo output only
    std::uint64_t seed = 1;
};

// Envelope gain of a voice at time t (seconds from its start).
double envelopeAt(const Voice& v, double t);

// Adds the voice into out (mono or stereo); anything past the end is dropped.
void renderVoice(const Voice& v, Audio& out);

} // namespace soundgen
