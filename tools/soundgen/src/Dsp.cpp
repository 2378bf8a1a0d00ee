#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

Rng::Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
    if (state_ == 0) state_ = 0x2545F4914F6CDD1Dull; // xorshift never leaves zero
}

std::uint64_t Rng::next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

namespace {

// Polynomial correction around a waveform step; t is the phase, dt the phase step.
double blep(double t, double dt) {
    if (dt <= 0.0) return 0.0;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap01(double x) { return x - std::floor(x); }

} // namespace

Oscillator::Oscillator(Wave wave, std::uint64_t seed) : wave_(wave), rng_(seed) {}

double Oscillator::next(double freqHz, double phaseShift) {
    const double dt = std::min(std::fabs(freqHz) / kSampleRate, 0.5);
    const double p = wrap01(phase_ + phaseShift);
    double out = 0.0;
    switch (wave_) {
    case Wave::Sine:
        out = std::sin(2.0 * kPi * p);
        break;
    case Wave::Triangle:
        out = 1.0 - 4.0 * std::fabs(wrap01(p + 0.25) - 0.5);
        break;
    case Wave::Saw:
        out = 2.0 * p - 1.0 - blep(p, dt);
        break;
    case Wave::Square:
        out = (p < 0.5 ? 1.0 : -1.0) + blep(p, dt) - blep(wrap01(p + 0.5), dt);
        break;
    case Wave::Noise:
        out = rng_.range(-1.0, 1.0);
        break;
    case Wave::Brown:
        // Leaky integration of white noise: a dark rumble that cannot drift away.
        brown_ = 0.99 * brown_ + 0.1 * rng_.range(-1.0, 1.0);
        out = 2.0 * brown_;
        break;
    }
    phase_ = wrap01(phase_ + dt);
    return out;
}

Filter::Filter(Mode mode, double q) : mode_(mode), k_(1.0 / std::max(q, 0.1)) {}

void Filter::retune(double cutoffHz) {
    cutoff_ = cutoffHz;
    const double fc = std::clamp(cutoffHz, 10.0, 0.45 * kSampleRate);
    const double g = std::tan(kPi * fc / kSampleRate);
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

double Filter::process(double in, double cutoffHz) {
    if (cutoffHz != cutoff_) retune(cutoffHz);
    const double v3 = in - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    switch (mode_) {
    case Mode::Low:
        return v2;
    case Mode::High:
        return in - k_ * v1 - v2;
    case Mode::Band:
        return v1;
    }
    return v2;
}

DcBlocker::DcBlocker(double cornerHz) : r_(1.0 - 2.0 * kPi * cornerHz / kSampleRate) {}

double DcBlocker::process(double in) {
    const double out = in - x1_ + r_ * y1_;
    x1_ = in;
    y1_ = out;
    return out;
}

Reverb::Reverb(double rt60Seconds, double damping) : damping_(std::clamp(damping, 0.0, 0.95)) {
    // Mutually prime lengths (in samples) so the echoes do not pile up into a pitch;
    // the right channel is offset a little for width.
    static const int kCombLengths[] = {1327, 1451, 1559, 1663, 1777, 1871};
    static const int kAllPassLengths[] = {389, 149};
    const double rt60 = std::max(rt60Seconds, 0.05);
    for (int c = 0; c < 2; ++c) {
        Channel& ch = channels_[static_cast<std::size_t>(c)];
        const int spread = c * 29;
        for (int len : kCombLengths) {
            Comb comb;
            comb.line.assign(static_cast<std::size_t>(len + spread), 0.0);
            // Each pass round the loop loses 60 dB * (loop time / rt60).
            comb.feedback = std::pow(10.0, -3.0 * (len + spread) / (kSampleRate * rt60));
            ch.combs.push_back(std::move(comb));
        }
        for (std::size_t i = 0; i < ch.allPasses.size(); ++i)
            ch.allPasses[i].line.assign(static_cast<std::size_t>(kAllPassLengths[i] + spread / 2), 0.0);
    }
}

double Reverb::runChannel(Channel& ch, double in) {
    double sum = 0.0;
    for (Comb& comb : ch.combs) {
        const double delayed = comb.line[comb.pos];
        comb.store = delayed * (1.0 - damping_) + comb.store * damping_;
        comb.line[comb.pos] = in + comb.store * comb.feedback;
        comb.pos = (comb.pos + 1) % comb.line.size();
        sum += delayed;
    }
    double out = sum / static_cast<double>(ch.combs.size());
    for (AllPass& ap : ch.allPasses) {
        const double delayed = ap.line[ap.pos];
        ap.line[ap.pos] = out + 0.5 * delayed;
        out = delayed - 0.5 * ap.line[ap.pos];
        ap.pos = (ap.pos + 1) % ap.line.size();
    }
    return out;
}

void Reverb::process(double inL, double inR, double& outL, double& outR) {
    outL = runChannel(channels_[0], inL);
    outR = runChannel(channels_[1], inR);
}

void limitLoop(Audio& loop, double thresholdGain, double lookahead, double release) {
    const std::size_t n = loop.frames();
    const std::size_t ch = static_cast<std::size_t>(loop.channels);
    if (n == 0 || thresholdGain <= 0.0) return;
    const long w = std::max(1L, static_cast<long>(std::lround(lookahead * kSampleRate)));
    const long len = static_cast<long>(n);
    auto at = [len](long i) { return static_cast<std::size_t>(((i % len) + len) % len); };

    // Gain each frame needs, spread as a minimum over +-w frames: every frame then
    // sees at least the cut of any peak within reach.
    std::vector<double> spread(n, 1.0);
    for (long i = 0; i < len; ++i) {
        double frameMax = 0.0;
        for (std::size_t c = 0; c < ch; ++c)
            frameMax = std::max(frameMax, std::fabs(double(loop.samples[at(i) * ch + c])));
        if (frameMax <= thresholdGain) continue;
        const double need = thresholdGain / frameMax;
        for (long k = i - w; k <= i + w; ++k) spread[at(k)] = std::min(spread[at(k)], need);
    }
    // Averaging over the same +-w keeps every frame at or below its own need but
    // turns the steps into ramps.
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + spread[i];
    std::vector<double> smooth(n);
    for (long i = 0; i < len; ++i) {
        const long lo = i - w + len, hi = i + w + len; // shifted one loop up to stay positive
        const long loA = lo % len, span = hi - lo + 1;
        double sum = 0.0;
        for (long start = loA, left = span; left > 0;) {
            const long take = std::min(left, len - start);
            sum += prefix[static_cast<std::size_t>(start + take)] - prefix[static_cast<std::size_t>(start)];
            left -= take;
            start = 0;
        }
        smooth[static_cast<std::size_t>(i)] = sum / static_cast<double>(span);
    }
    // Slow recovery afterwards; two turns round the loop settle it across the seam.
    const double up = 1.0 - std::exp(-1.0 / (std::max(release, 1e-3) * kSampleRate));
    double g = 1.0;
    std::vector<double> gain(n);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            g = std::min(smooth[i], g + (1.0 - g) * up);
            gain[i] = g;
        }
    }
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t c = 0; c < ch; ++c)
            loop.samples[i * ch + c] = static_cast<float>(loop.samples[i * ch + c] * gain[i]);
}

} // namespace soundgen
