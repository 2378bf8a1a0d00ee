#include "Voice.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace soundgen {

namespace {

constexpr double kLn1000 = 6.907755278982137; // 60 dB as a natural-log factor

// Position 0..1 along a movement of `span` seconds (0 = the whole voice).
double progress(double t, double span, double len) {
    const double s = span > 0.0 ? span : len;
    return s > 0.0 ? std::clamp(t / s, 0.0, 1.0) : 1.0;
}

double sweepAt(double from, double to, double x) { return to > 0.0 ? from * std::pow(to / from, x) : from; }

void renderGrains(const Voice& v, Audio& out) {
    Rng rng(v.seed);
    const double grainLen = std::min(v.grainLen, v.len);
    for (int g = 0; g < v.grains; ++g) {
        const double u = rng.uniform();
        Voice grain = v;
        grain.grains = 0;
        grain.at = v.at + u * (v.len - grainLen);
        grain.len = grainLen;
        grain.release = std::min(v.release, grainLen / 2.0);
        grain.attack = std::min(v.attack, grainLen / 2.0);
        if (v.freqHi > 0.0) grain.freq = v.freq * std::pow(v.freqHi / v.freq, rng.uniform());
        // Across a cloud the filters follow the grain's place in it, so a sweep reads as motion.
        grain.lp = sweepAt(v.lp, v.lpTo, u);
        grain.hp = sweepAt(v.hp, v.hpTo, u);
        grain.bp = sweepAt(v.bp, v.bpTo, u);
        grain.lpTo = grain.hpTo = grain.bpTo = 0.0;
        const double shape = v.cloud == Cloud::Rise ? u : v.cloud == Cloud::Fall ? 1.0 - u : 1.0;
        grain.level = v.level + gainToDb(std::max(shape, 0.03)) - v.jitter * rng.uniform();
        grain.seed = rng.next();
        renderVoice(grain, out);
    }
}

} // namespace

double envelopeAt(const Voice& v, double t) {
    if (t < 0.0 || t >= v.len) return 0.0;
    double gain = 1.0;
    if (t < v.attack) {
        gain = t / v.attack;
    } else if (v.decay > 0.0) {
        const double sinceHold = t - v.attack - v.hold;
        if (sinceHold > 0.0) gain = std::exp(-kLn1000 * sinceHold / v.decay);
    }
    const double left = v.len - t;
    if (v.release > 0.0 && left < v.release) gain *= 0.5 - 0.5 * std::cos(kPi * left / v.release);
    return gain;
}

void renderVoice(const Voice& v, Audio& out) {
    if (v.grains > 0) {
        renderGrains(v, out);
        return;
    }
    const long frames = static_cast<long>(out.frames());
    const long start = std::lround(v.at * kSampleRate);
    const long count = std::lround(v.len * kSampleRate);
    if (count <= 0 || start >= frames) return;

    Oscillator osc(v.wave, v.seed);
    Oscillator modulator(Wave::Sine, 0);
    std::optional<Filter> hp, lp, bp;
    if (v.hp > 0.0) hp.emplace(Filter::Mode::High, v.q);
    if (v.lp > 0.0) lp.emplace(Filter::Mode::Low, v.q);
    if (v.bp > 0.0) bp.emplace(Filter::Mode::Band, v.q);

    const double amp = dbToGain(v.level);
    double gainL = 1.0, gainR = 1.0;
    if (out.channels == 2) {
        const double angle = (std::clamp(v.pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
        gainL = std::cos(angle) * std::sqrt(2.0); // centre keeps unit gain on each side
        gainR = std::sin(angle) * std::sqrt(2.0);
    }

    for (long i = 0; i < count; ++i) {
        const long frame = start + i;
        if (frame >= frames) break;
        const double t = static_cast<double>(i) / kSampleRate;

        double semis = v.cents / 100.0 + v.bend * progress(t, v.glide, v.len);
        if (v.vibRate > 0.0) semis += v.vibCents / 100.0 * std::sin(2.0 * kPi * v.vibRate * t);
        const double f = v.freq * std::pow(2.0, semis / 12.0);

        double shift = 0.0;
        if (v.fmIndex > 0.0) {
            const double index = v.fmDecay > 0.0 ? v.fmIndex * std::exp(-kLn1000 * t / v.fmDecay) : v.fmIndex;
            shift = index * modulator.next(f * v.fmRatio) / (2.0 * kPi);
        }
        double s = osc.next(f, shift);

        const double x = progress(t, v.sweep, v.len);
        if (hp) s = hp->process(s, sweepAt(v.hp, v.hpTo, x));
        if (lp) s = lp->process(s, sweepAt(v.lp, v.lpTo, x));
        if (bp) s = bp->process(s, sweepAt(v.bp, v.bpTo, x));

        double gain = amp * envelopeAt(v, t);
        if (v.tremRate > 0.0) gain *= 1.0 - v.tremDepth * (0.5 - 0.5 * std::cos(2.0 * kPi * v.tremRate * t));
        s *= gain;

        if (frame < 0) continue; // still advances state so a voice cut at the start sounds the same
        if (out.channels == 2) {
            out.samples[2 * frame] += static_cast<float>(s * gainL);
            out.samples[2 * frame + 1] += static_cast<float>(s * gainR);
        } else {
            out.samples[frame] += static_cast<float>(s);
        }
    }
}

} // namespace soundgen
