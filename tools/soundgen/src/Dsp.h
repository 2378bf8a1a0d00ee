#pragma once

#include "Audio.h"

#include <array>
#include <cstdint>
#include <vector>

namespace soundgen {

constexpr double kPi = 3.14159265358979323846;

// Small xorshift generator. The standard distributions differ between library
// implementations, so noise is drawn from this to keep every build's output identical.
class Rng {
public:
    explicit Rng(std::uint64_t seed);
    std::uint64_t next();
    double uniform();                   // [0, 1)
    double range(double lo, double hi); // [lo, hi)

private:
    std::uint64_t state_;
};

enum class Wave { Sine, Triangle, Square, Saw, Noise, Brown };

// One oscillator. Saw and square are band-limited at their edges so bright
// notes do not alias into harsh whistles.
class Oscillator {
public:
    Oscillator(Wave wave, std::uint64_t seed);
    // Next sample at freqHz; phaseShift (in cycles) carries phase modulation.
    double next(double freqHz, double phaseShift = 0.0);

private:
    Wave wave_;
    double phase_ = 0.0;
    Rng rng_;
    double brown_ = 0.0;
};

// Two-pole state-variable filter that stays stable while its cutoff moves.
class Filter {
public:
    enum class Mode { Low, High, Band };
    Filter(Mode mode, double q);
    double process(double in, double cutoffHz);

private:
    void retune(double cutoffHz);

    Mode mode_;
    double k_;
    double cutoff_ = -1.0;
    double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

// Removes DC and subsonic drift (first-order high-pass near cornerHz).
class DcBlocker {
public:
    explicit DcBlocker(double cornerHz = 20.0);
    double process(double in);

private:
    double r_;
    double x1_ = 0.0, y1_ = 0.0;
};

// Stereo room: parallel damped combs into series all-passes, per channel.
class Reverb {
public:
    Reverb(double rt60Seconds, double damping);
    void process(double inL, double inR, double& outL, double& outR);

private:
    struct Comb {
        std::vector<double> line;
        std::size_t pos = 0;
        double feedback = 0.0;
        double store = 0.0;
    };
    struct AllPass {
        std::vector<double> line;
        std::size_t pos = 0;
    };
    struct Channel {
        std::vector<Comb> combs;
        std::array<AllPass, 2> allPasses;
    };
    double runChannel(Channel& ch, double in);

    double damping_;
    std::array<Channel, 2> channels_;
};

// Pulls down only the few peaks above thresholdGain, treating the audio as a loop:
// the gain leans in over `lookahead` seconds before a peak, so the waveform is never
// cut, and recovers over about `release` seconds, wrapping round the loop's seam.
void limitLoop(Audio& loop, double thresholdGain, double lookahead, double release);

} // namespace soundgen
