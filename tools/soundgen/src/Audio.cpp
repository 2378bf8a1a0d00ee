#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace soundgen {

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

double gainToDb(double gain) { return gain > 0.0 ? 20.0 * std::log10(gain) : -1000.0; }

double peakOf(const Audio& audio) {
    float peak = 0.0f;
    for (float s : audio.samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

void normalise(Audio& audio, double peakDb) {
    const double peak = peakOf(audio);
    if (peak < 1e-9) return;
    const double gain = dbToGain(peakDb) / peak;
    for (float& s : audio.samples) s = static_cast<float>(s * gain);
}

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::uint8_t> encodeWav(const Audio& audio) {
    if (audio.channels < 1 || audio.channels > 2) throw std::invalid_argument("WAV output supports 1 or 2 channels");
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(audio.samples.size() * 2);
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(audio.channels) * 2;

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // integer PCM
    put16(out, static_cast<std::uint32_t>(audio.channels));
    put32(out, kSampleRate);
    put32(out, kSampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (float s : audio.samples) {
        const double clamped = std::clamp(static_cast<double>(s), -1.0, 1.0);
        const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0));
        put16(out, static_cast<std::uint16_t>(value));
    }
    return out;
}

void writeWav(const std::string& path, const Audio& audio) {
    const std::vector<std::uint8_t> bytes = encodeWav(audio);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot open '" + path + "' for writing");
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("failed writing '" + path + "'");
}

} // namespace soundgen
