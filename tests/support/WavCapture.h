#ifndef VQ_TESTS_SUPPORT_WAVCAPTURE_H
#define VQ_TESTS_SUPPORT_WAVCAPTURE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vqtest {

// The 16-bit PCM samples a playing process has written to its capture file
// (SoundCapture) so far. Writers fill in the header's sizes only when they
// close the file; until then the data is taken to run to the end of it.
class WavCapture {
public:
    // False when the file is missing or not 16-bit PCM.
    bool read(const std::string& file) {
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
    int rate() const { return m_rate; }
    long frames() const { return m_channels > 0 ? static_cast<long>(m_samples.size()) / m_channels : 0; }
    // Root mean square (0..1) of the frames [first, first + count).
    double rms(long first, long count) const {
        double sum = 0;
        long n = 0;
        for (long f = std::max(0L, first); f < std::min(frames(), first + count); f++)
            for (int c = 0; c < m_channels; c++, n++)
                sum += std::pow(m_samples[static_cast<size_t>(f * m_channels + c)] / 32768.0, 2);
        return n == 0 ? 0 : std::sqrt(sum / static_cast<double>(n));
    }

private:
    int m_rate = 0, m_channels = 0;
    std::vector<int16_t> m_samples;
};

} // namespace vqtest

#endif
