#include "WavCapture.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace vqtest {

bool WavCapture::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto le = [&bytes](size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; i--)
            value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
        return value;
    };
    if (bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    int bits = 0;
    for (size_t pos = 12; pos + 8 <= bytes.size(); pos += 8 + le(pos + 4, 4) + (le(pos + 4, 4) & 1)) {
        if (bytes.compare(pos, 4, "fmt ") == 0 && pos + 24 <= bytes.size()) {
            m_channels = static_cast<int>(le(pos + 10, 2));
            m_rate = static_cast<int>(le(pos + 12, 4));
            bits = static_cast<int>(le(pos + 22, 2));
        } else if (bytes.compare(pos, 4, "data") == 0) {
            if (bits != 16 || m_channels <= 0)
                return false;
            // Chunks may follow a completed data chunk; an open one has no size yet (0, or all bits set).
            const size_t size = le(pos + 4, 4), available = bytes.size() - pos - 8;
            m_samples.resize((size != 0 && size <= available ? size : available) / 2);
            std::copy_n(bytes.data() + pos + 8, m_samples.size() * 2, reinterpret_cast<char*>(m_samples.data()));
            return true;
        }
    }
    return false;
}

double WavCapture::rms(long first, long count) const {
    double sum = 0;
    long n = 0;
    for (long f = std::max(0L, first); f < std::min(frames(), first + count); f++)
        for (int c = 0; c < m_channels; c++, n++)
            sum += std::pow(m_samples[static_cast<size_t>(f * m_channels + c)] / 32768.0, 2);
    return n == 0 ? 0 : std::sqrt(sum / static_cast<double>(n));
}

void writeToneWav(const std::string& path, int samples, int rate, double frequency) {
    std::ofstream out(path, std::ios::binary);
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; i++)
            out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    out << "RIFF";
    put(36 + 2 * static_cast<uint32_t>(samples), 4);
    out << "WAVEfmt ";
    for (const auto& field : {std::pair<uint32_t, int>{16, 4}, {1, 2}, {1, 2}, {static_cast<uint32_t>(rate), 4},
                              {2 * static_cast<uint32_t>(rate), 4}, {2, 2}, {16, 2}}) // PCM, mono, 16 bits
        put(field.first, field.second);
    out << "data";
    put(2 * static_cast<uint32_t>(samples), 4);
    for (int i = 0; i < samples; i++)
        put(static_cast<uint32_t>(std::lround(16383.0 * std::sin(2 * M_PI * frequency * i / rate))), 2);
}

} // namespace vqtest
