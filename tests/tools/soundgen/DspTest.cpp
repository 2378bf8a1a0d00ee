// WAV output, voices and effect rendering.
#include "Audio.h"
#include "Effects.h"
#include "Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using namespace soundgen;

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::int16_t sampleAt(const std::vector<std::uint8_t>& b, std::size_t index) {
    return static_cast<std::int16_t>(read16(b, 44 + 2 * index));
}

TEST(Wav, HeaderDescribesPcmLayout) {
    for (int channels : {1, 2}) {
        Audio audio(channels, 1000);
        const auto bytes = encodeWav(audio);
        ASSERT_EQ(bytes.size(), 44u + 1000u * 2u * channels);
        EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
        EXPECT_EQ(read32(bytes, 4), bytes.size() - 8);
        EXPECT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(read32(bytes, 16), 16u);
        EXPECT_EQ(read16(bytes, 20), 1u);
        EXPECT_EQ(read16(bytes, 22), channels);
        EXPECT_EQ(read32(bytes, 24), 44100u);
        EXPECT_EQ(read32(bytes, 28), 44100u * 2u * channels);
        EXPECT_EQ(read16(bytes, 32), 2 * channels);
        EXPECT_EQ(read16(bytes, 34), 16u);
        EXPECT_EQ(std::memcmp(bytes.data() + 36, "data", 4), 0);
        EXPECT_EQ(read32(bytes, 40), 1000u * 2u * channels);
    }
    EXPECT_THROW(encodeWav(Audio(3, 10)), std::invalid_argument);
}

TEST(Wav, SamplesAreRoundedAndClampedNotWrapped) {
    Audio audio(1, 5);
    audio.samples = {0.5f, -0.5f, 1.7f, -3.0f, 0.0f};
    const auto bytes = encodeWav(audio);
    EXPECT_EQ(sampleAt(bytes, 0), 16384);
    EXPECT_EQ(sampleAt(bytes, 1), -16384);
    EXPECT_EQ(sampleAt(bytes, 2), 32767);
    EXPECT_EQ(sampleAt(bytes, 3), -32767);
    EXPECT_EQ(sampleAt(bytes, 4), 0);
}

TEST(Wav, NormaliseHitsPeakAndLeavesSilenceAlone) {
    Audio audio(1, 3);
    audio.samples = {0.1f, -0.4f, 0.2f};
    normalise(audio, -6.0);
    EXPECT_NEAR(peakOf(audio), dbToGain(-6.0), 1e-6);
    EXPECT_NEAR(audio.samples[0] / audio.samples[1], -0.25, 1e-6);
    Audio silent(1, 3);
    normalise(silent, -3.0);
    EXPECT_EQ(peakOf(silent), 0.0);
}

// Counts upward zero crossings between two times, giving the pitch.
double measuredFreq(const Audio& a, double from, double to) {
    const auto i0 = static_cast<std::size_t>(from * kSampleRate), i1 = static_cast<std::size_t>(to * kSampleRate);
    int crossings = 0;
    for (std::size_t i = i0 + 1; i < i1; ++i)
        if (a.samples[i - 1] < 0.0f && a.samples[i] >= 0.0f) ++crossings;
    return crossings / (to - from);
}

TEST(Voice, PitchGlideAndPlacement) {
    Voice v;
    v.at = 0.1;
    v.len = 0.5;
    v.freq = 440.0;
    Audio steady(1, kSampleRate);
    renderVoice(v, steady);
    EXPECT_NEAR(measuredFreq(steady, 0.15, 0.55), 440.0, 5.0);
    // Nothing before the start or after the end.
    for (std::size_t i = 0; i < static_cast<std::size_t>(0.1 * kSampleRate); ++i) ASSERT_EQ(steady.samples[i], 0.0f);
    for (std::size_t i = static_cast<std::size_t>(0.6 * kSampleRate) + 1; i < steady.frames(); ++i)
        ASSERT_EQ(steady.samples[i], 0.0f);

    v.bend = 12.0; // an octave up over the first 0.1 s, then held
    v.glide = 0.1;
    Audio bent(1, kSampleRate);
    renderVoice(v, bent);
    EXPECT_NEAR(measuredFreq(bent, 0.25, 0.55), 880.0, 8.0);
}

TEST(Voice, EnvelopeShape) {
    Voice v;
    v.len = 1.0;
    v.attack = 0.1;
    v.decay = 0.5;
    v.release = 0.2;
    EXPECT_NEAR(envelopeAt(v, 0.05), 0.5, 1e-9);
    EXPECT_NEAR(envelopeAt(v, 0.1), 1.0, 1e-9);
    EXPECT_NEAR(envelopeAt(v, 0.6), 0.001, 1e-6); // 60 dB down one decay after the attack
    EXPECT_NEAR(envelopeAt(v, 0.9), 0.5 * std::exp(-6.907755 * 0.8 / 0.5), 1e-6);
    EXPECT_EQ(envelopeAt(v, 1.0), 0.0);
    EXPECT_EQ(envelopeAt(v, -0.01), 0.0);
}

TEST(Voice, NoiseIsRepeatableAndSeeded) {
    Voice v;
    v.wave = Wave::Noise;
    v.len = 0.05;
    Audio a(1, 3000), b(1, 3000), c(1, 3000);
    renderVoice(v, a);
    renderVoice(v, b);
    v.seed = 2;
    renderVoice(v, c);
    EXPECT_EQ(a.samples, b.samples);
    EXPECT_NE(a.samples, c.samples);
}

TEST(Voice, GrainsStayInsideTheVoice) {
    Voice v;
    v.wave = Wave::Noise;
    v.at = 0.2;
    v.len = 0.3;
    v.grains = 40;
    v.grainLen = 0.01;
    Audio a(1, kSampleRate);
    renderVoice(v, a);
    double inside = 0.0;
    for (std::size_t i = 0; i < a.frames(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (t < 0.2 - 1e-4 || t > 0.5 + 1e-4) ASSERT_EQ(a.samples[i], 0.0f) << "at " << t;
        else inside += std::fabs(a.samples[i]);
    }
    EXPECT_GT(inside, 1.0);
}

TEST(Voice, PanAndFiltering) {
    Voice v;
    v.len = 0.2;
    v.pan = -1.0;
    Audio stereo(2, 10000);
    renderVoice(v, stereo);
    double left = 0.0, right = 0.0;
    for (std::size_t i = 0; i < stereo.frames(); ++i) {
        left += std::fabs(stereo.samples[2 * i]);
        right += std::fabs(stereo.samples[2 * i + 1]);
    }
    EXPECT_GT(left, 100.0);
    EXPECT_LT(right, left * 1e-6);

    // A low-pass well below the tone takes most of it away; one well above leaves it.
    Voice tone;
    tone.len = 0.3;
    tone.freq = 4000.0;
    auto energy = [&](double lp) {
        Voice t = tone;
        t.lp = lp;
        Audio a(1, 14000);
        renderVoice(t, a);
        double e = 0.0;
        for (float s : a.samples) e += double(s) * s;
        return e;
    };
    const double open = energy(0.0);
    EXPECT_LT(energy(400.0), open * 0.02);
    EXPECT_GT(energy(16000.0), open * 0.8);
}

TEST(Effect, LengthPeakDcAndQuietEnd) {
    Sound s;
    s.peakDb = -6.0;
    Voice v;
    v.wave = Wave::Square;
    v.freq = 220.0;
    v.len = 0.3;
    v.release = 0.0; // deliberately stops dead: the effect must still end at silence
    v.level = 6.0;
    s.voices = {v};
    v.at = 0.2;
    v.wave = Wave::Noise;
    s.voices.push_back(v);
    EXPECT_NEAR(effectLength(s), 0.5, 1e-9);

    const Audio a = renderEffect(s);
    EXPECT_EQ(a.frames(), static_cast<std::size_t>(0.5 * kSampleRate));
    EXPECT_NEAR(gainToDb(peakOf(a)), -6.0, 1e-3);
    double sum = 0.0;
    for (float x : a.samples) sum += x;
    EXPECT_LT(std::fabs(sum / a.frames()), 1e-3);
    EXPECT_LT(std::fabs(a.samples.back()), 1e-4);

    s.echoDelay = 0.1;
    s.echoGain = 0.5;
    EXPECT_NEAR(effectLength(s), 0.5 + 0.7, 1e-9); // 0.5^7 is the first echo under -40 dB
    s.length = 0.25;
    EXPECT_EQ(renderEffect(s).frames(), static_cast<std::size_t>(0.25 * kSampleRate));
}

} // namespace
