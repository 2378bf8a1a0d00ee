#ifndef VQ_TESTS_SUPPORT_WAVCAPTURE_H
#define VQ_TESTS_SUPPORT_WAVCAPTURE_H

#include <cstdint>
#include <string>
#include <vector>

namespace vqtest {

// The 16-bit PCM samples a playing process has written to its capture file
// (SoundCapture) so far. Writers fill in the header's sizes only when they
// close the file; until then the data is taken to run to the end of it.
class WavCapture {
public:
    // False when the file is missing or not 16-bit PCM.
    bool read(const std::string& file);
    int rate() const { return m_rate; }
    long frames() const { return m_channels > 0 ? static_cast<long>(m_samples.size()) / m_channels : 0; }
    // Root mean square (0..1) of the frames [first, first + count).
    double rms(long first, long count) const;

private:
    int m_rate = 0, m_channels = 0;
    std::vector<int16_t> m_samples;
};

// Writes a mono 16-bit PCM WAV file holding a sine tone.
void writeToneWav(const std::string& path, int samples, int rate = 22050, double frequency = 440.0);

} // namespace vqtest

#endif
