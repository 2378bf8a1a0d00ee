// WAV output, voices and effect rendering.
#include "Audio.h"
#include "Effects.h"
#include "Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using namespace soundgen;

uint32_t readLe(const std::vector<std::uint8_t>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--)
        value = value << 8 | b[at + static_cast<size_t>(i)];
    return value;
}

TEST(Wav, HeaderDescribesThePcmLayoutAndSamplesAreRoundedAndClamped) {
    for (uint32_t channels : {1u, 2u}) {
        const auto bytes = encodeWav(Audio(static_cast<int>(channels), 1000));
        ASSERT_EQ(bytes.size(), 44u + 2000u * channels);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4) + std::string(bytes.begin() + 8, bytes.begin() + 16) +
                      std::string(bytes.begin() + 36, bytes.begin() + 40),
                  "RIFFWAVEfmt data");
        // (offset, size, value): RIFF size, fmt size, PCM, channels, rate, byte rate, block, bits, data size.
        const uint32_t fields[][3] = {{4, 4, static_cast<uint32_t>(bytes.size() - 8)}, {16, 4, 16}, {20, 2, 1},
                                      {22, 2, channels}, {24, 4, 44100}, {28, 4, 88200 * channels},
                                      {32, 2, 2 * channels}, {34, 2, 16}, {40, 4, 2000 * channels}};
        for (const auto& f : fields)
            EXPECT_EQ(readLe(bytes, f[0], static_cast<int>(f[1])), f[2]) << "at " << f[0];
    }
    EXPECT_THROW(encodeWav(Audio(3, 10)), std::invalid_argument);
    Audio audio(1, 5);
    audio.samples = {0.5f, -0.5f, 1.7f, -3.0f, 0.0f};
    const auto bytes = encodeWav(audio);
    const int16_t expected[] = {16384, -16384, 32767, -32767, 0};
    for (size_t i = 0; i < 5; i++)
        EXPECT_EQ(static_cast<int16_t>(readLe(bytes, 44 + 2 * i, 2)), expected[i]) << i;

    audio.samples = {0.1f, -0.4f, 0.2f};
    normalise(audio, -6.0);
    EXPECT_NEAR(peakOf(audio), dbToGain(-6.0), 1e-6);
    EXPECT_NEAR(audio.samples[0] / audio.samples[1], -0.25, 1e-6);
    Audio silent(1, 3);
    normalise(silent, -3.0);
    EXPECT_EQ(peakOf(silent), 0.0) << "silence stays silence";
}

// Upward zero crossings per second between two times: the pitch.
double measuredFreq(const Audio& a, double from, double to) {
    int crossings = 0;
    for (auto i = static_cast<size_t>(from * kSampleRate) + 1; i < static_cast<size_t>(to * kSampleRate); ++i)
        crossings += a.samples[i - 1] < 0.0f && a.samples[i] >= 0.0f;
    return crossings / (to - from);
}
double energy(const Audio& a, int channel = 0) {
    double e = 0.0;
    for (size_t i = static_cast<size_t>(channel); i < a.samples.size(); i += static_cast<size_t>(a.channels))
        e += double(a.samples[i]) * a.samples[i];
    return e;
}

TEST(Voice, PitchGlidePlacementPanAndFilter) {
    Voice v;
    v.at = 0.1;
    v.len = 0.5;
    Audio steady(1, kSampleRate), bent(1, kSampleRate);
    renderVoice(v, steady);
    EXPECT_NEAR(measuredFreq(steady, 0.15, 0.55), 440.0, 5.0);
    for (size_t i = 0; i < steady.frames(); ++i)
        ASSERT_TRUE(steady.samples[i] == 0.0f || (i >= 0.1 * kSampleRate && i <= 0.6 * kSampleRate + 1))
            << "nothing outside the voice, at " << i;
    v.bend = 12.0; // an octave up over the first 0.1 s, then held
    v.glide = 0.1;
    renderVoice(v, bent);
    EXPECT_NEAR(measuredFreq(bent, 0.25, 0.55), 880.0, 8.0);

    Voice left;
    left.len = 0.2;
    left.pan = -1.0;
    Audio stereo(2, 10000);
    renderVoice(left, stereo);
    EXPECT_GT(energy(stereo, 0), 1.0);
    EXPECT_LT(energy(stereo, 1), energy(stereo, 0) * 1e-6);
    // A low-pass well below a tone takes most of it away; one well above leaves it.
    auto filtered = [](double lp) {
        Voice t;
        t.len = 0.3;
        t.freq = 4000.0;
        t.lp = lp;
        Audio a(1, 14000);
        renderVoice(t, a);
        return energy(a);
    };
    EXPECT_LT(filtered(400.0), filtered(0.0) * 0.02);
    EXPECT_GT(filtered(16000.0), filtered(0.0) * 0.8);
}

TEST(Voice, EnvelopeShapeAndSeededNoise) {
    Voice v;
    v.len = 1.0;
    v.attack = 0.1;
    v.decay = 0.5;
    v.release = 0.2;
    const std::pair<double, double> points[] = {{-0.01, 0.0}, {0.05, 0.5}, {0.1, 1.0}, {0.6, 0.001}, // -60 dB
                                                {0.9, 0.5 * std::exp(-6.907755 * 0.8 / 0.5)}, {1.0, 0.0}};
    for (const auto& p : points)
        EXPECT_NEAR(envelopeAt(v, p.first), p.second, 1e-6) << "at " << p.first;
    Voice noise;
    noise.wave = Wave::Noise;
    noise.len = 0.05;
    Audio a(1, 3000), b(1, 3000), c(1, 3000);
    renderVoice(noise, a);
    renderVoice(noise, b);
    noise.seed = 2;
    renderVoice(noise, c);
    EXPECT_EQ(a.samples, b.samples);
    EXPECT_NE(a.samples, c.samples);
}

TEST(Effect, LengthPeakDcEchoAndAQuietEnd) {
    Sound s;
    s.peakDb = -6.0;
    Voice v;
    v.wave = Wave::Square;
    v.freq = 220.0;
    v.len = 0.3;
    v.release = 0.0; // stops dead: the effect must still end at silence
    v.level = 6.0;
    s.voices = {v};
    v.at = 0.2;
    v.wave = Wave::Noise;
    s.voices.push_back(v);
    EXPECT_NEAR(effectLength(s), 0.5, 1e-9);
    const Audio a = renderEffect(s);
    EXPECT_EQ(a.frames(), static_cast<size_t>(0.5 * kSampleRate));
    EXPECT_NEAR(gainToDb(peakOf(a)), -6.0, 1e-3);
    double sum = 0.0;
    for (float x : a.samples)
        sum += x;
    EXPECT_LT(std::fabs(sum / a.frames()), 1e-3);
    EXPECT_LT(std::fabs(a.samples.back()), 1e-4);
    s.echoDelay = 0.1;
    s.echoGain = 0.5;
    EXPECT_NEAR(effectLength(s), 0.5 + 0.7, 1e-9) << "0.5^7 is the first echo under -40 dB";
    s.length = 0.25;
    EXPECT_EQ(renderEffect(s).frames(), static_cast<size_t>(0.25 * kSampleRate));
}

} // namespace
