#include "Effects.h"

#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

namespace {

constexpr double kEndFade = 0.005;
constexpr double kEchoFloor = 0.01; // echoes below -40 dB vanish under the game; not worth the length

double echoTail(const Sound& sound) {
    if (sound.echoGain <= 0.0) return 0.0;
    const double repeats = std::ceil(std::log(kEchoFloor) / std::log(sound.echoGain));
    return std::min(repeats * sound.echoDelay, 1.0);
}

} // namespace

double effectLength(const Sound& sound) {
    if (sound.length > 0.0) return sound.length;
    double end = 0.0;
    for (const Voice& v : sound.voices) end = std::max(end, v.at + v.len);
    return end + echoTail(sound);
}

Audio renderEffect(const Sound& sound) {
    Audio out(1, static_cast<std::size_t>(std::lround(effectLength(sound) * kSampleRate)));
    for (const Voice& v : sound.voices) renderVoice(v, out);

    std::vector<float>& s = out.samples;
    if (sound.echoGain > 0.0) {
        // Feeding forward in place makes each echo carry the previous ones.
        const std::size_t delay = static_cast<std::size_t>(std::lround(sound.echoDelay * kSampleRate));
        for (std::size_t i = delay; i < s.size(); ++i) s[i] += static_cast<float>(sound.echoGain * s[i - delay]);
    }

    DcBlocker dc;
    for (float& x : s) x = static_cast<float>(dc.process(x));

    // The last few milliseconds go smoothly to zero so a cut tail never clicks.
    const std::size_t fade = std::min(s.size(), static_cast<std::size_t>(kEndFade * kSampleRate));
    for (std::size_t i = 0; i < fade; ++i) {
        const double left = static_cast<double>(i) / static_cast<double>(fade);
        s[s.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * left));
    }

    normalise(out, sound.peakDb);
    return out;
}

} // namespace soundgen
