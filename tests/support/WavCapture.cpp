#include "WavCapture.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vqtest {

namespace {
uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
} // namespace

bool WavCapture::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0)
        return false;
    size_t pos = 12;
    int bits = 0;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = &bytes[pos];
        const uint32_t size = le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && pos + 8 + 16 <= bytes.size()) {
            m_channels = le16(chunk + 10);
            m_rate = static_cast<int>(le32(chunk + 12));
            bits = le16(chunk + 22);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (bits != 16 || m_channels <= 0)
                return false;
            const size_t first = pos + 8;
            // Chunks may follow a completed data chunk; an open one has no
            // size yet (0, or all bits set).
            const size_t available = bytes.size() - first;
            const size_t count = (size != 0 && size <= available ? size : available) / 2;
            m_samples.resize(count);
            std::memcpy(m_samples.data(), &bytes[first], count * 2);
            return true;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}

long WavCapture::frames() const { return m_channels > 0 ? static_cast<long>(m_samples.size()) / m_channels : 0; }

double WavCapture::rms(long first, long count) const {
    if (first < 0)
        first = 0;
    const long last = std::min(frames(), first + count);
    double sum = 0;
    long n = 0;
    for (long f = first; f < last; f++) {
        for (int c = 0; c < m_channels; c++) {
            const double s = m_samples[static_cast<size_t>(f * m_channels + c)] / 32768.0;
            sum += s * s;
            n++;
        }
    }
    return n == 0 ? 0 : std::sqrt(sum / static_cast<double>(n));
}

void writeToneWav(const std::string& path, int samples, int rate, double frequency, double amplitude) {
    std::ofstream out(path, std::ios::binary);
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; i++)
            out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const uint32_t data_bytes = static_cast<uint32_t>(samples) * 2;
    out << "RIFF";
    put(36 + data_bytes, 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(static_cast<uint32_t>(rate), 4);
    put(static_cast<uint32_t>(rate) * 2, 4);
    put(2, 2);
    put(16, 2);
    out << "data";
    put(data_bytes, 4);
    for (int i = 0; i < samples; i++)
        put(static_cast<uint16_t>(std::lround(amplitude * 32767.0 * std::sin(2 * M_PI * frequency * i / rate))), 2);
}

} // namespace vqtest
