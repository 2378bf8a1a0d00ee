#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

constexpr int kSampleRate = 44100;

// Interleaved float samples at kSampleRate, nominal range [-1, 1].
struct Audio {
    int channels = 1;
    std::vector<float> samples;

    Audio() = default;
    Audio(int channelCount, std::size_t frameCount)
        : channels(channelCount), samples(frameCount * static_cast<std::size_t>(channelCount), 0.0f) {}

    std::size_t frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
    double seconds() const { return static_cast<double>(frames()) / kSampleRate; }
};

double dbToGain(double db);
double gainToDb(double gain);

double peakOf(const Audio& audio);

// Scales the audio so its largest absolute sample sits at peakDb dBFS.
// Silence stays silence rather than being blown up to noise.
void normalise(Audio& audio, double peakDb);

// A complete 16-bit PCM RIFF/WAVE file image.
std::vector<std::uint8_t> encodeWav(const Audio& audio);

// Writes encodeWav(audio) to path; throws std::runtime_error when the file cannot be written.
void writeWav(const std::string& path, const Audio& audio);

} // namespace soundgen
