#ifndef CORNFIELD_TESTS_E2E_WAVCAPTURE_H
#define CORNFIELD_TESTS_E2E_WAVCAPTURE_H

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// The 16-bit PCM samples a running game has written to its capture file so
// far. The writer fills in the header's sizes only when it closes the file,
// so the data is taken to run to the end of the file.
class WavCapture {
public:
    // False when the file is missing or not 16-bit PCM.
    bool read(const std::string& file);

    int rate() const { return m_rate; }
    int channels() const { return m_channels; }
    // Sample frames in the file.
    long frames() const;
    // Root mean square (0..1) of the frames [first, first + count).
    double rms(long first, long count) const;

private:
    int m_rate = 0;
    int m_channels = 0;
    std::vector<int16_t> m_samples;
};

} // namespace e2e

#endif
