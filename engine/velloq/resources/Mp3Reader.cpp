#include <velloq/resources/Mp3Reader.h>

#include <cstdint>

#ifdef VQ_WITH_MPG123
#include <algorithm>
#include <cstdio>
#include <vector>

#include <mpg123.h>

#include <SFML/Audio/SoundFileFactory.hpp>
#include <SFML/Audio/SoundFileReader.hpp>
#include <SFML/System/InputStream.hpp>
#endif

namespace vq {

namespace {

struct FrameHeader {
    int version;     // 1, 2 or 25 (MPEG 2.5)
    int layer;       // 1 to 3
    int sample_rate; // Hz
    long length;     // bytes, header included
};

// Decodes a 4-byte MPEG audio frame header; false when it cannot be one.
// Free-format frames (bitrate index 0) are not accepted: their length cannot
// be told from the header alone.
bool parseFrameHeader(const unsigned char* p, FrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int version_bits = (p[1] >> 3) & 3;
    const int layer_bits = (p[1] >> 1) & 3;
    const int bitrate_index = (p[2] >> 4) & 15;
    const int rate_index = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (version_bits == 1 || layer_bits == 0 || bitrate_index == 0 || bitrate_index == 15 || rate_index == 3)
        return false;

    static const int BITRATES_V1[3][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // layer III
    };
    static const int BITRATES_V2[3][15] = {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    };
    static const int RATES[3] = {44100, 48000, 32000};

    header.version = version_bits == 3 ? 1 : (version_bits == 2 ? 2 : 25);
    header.layer = 4 - layer_bits;
    header.sample_rate = RATES[rate_index] / (header.version == 1 ? 1 : (header.version == 2 ? 2 : 4));
    const long bitrate = 1000L * (header.version == 1 ? BITRATES_V1 : BITRATES_V2)[header.layer - 1][bitrate_index];
    if (header.layer == 1)
        header.length = (12 * bitrate / header.sample_rate + padding) * 4;
    else if (header.layer == 3 && header.version != 1)
        header.length = 72 * bitrate / header.sample_rate + padding;
    else
        header.length = 144 * bitrate / header.sample_rate + padding;
    return header.length >= 4;
}

// Size of the ID3v2 tag at p (header and footer included), or 0 when none.
std::size_t id3v2TagSize(const unsigned char* p, std::size_t size) {
    if (size < 10 || p[0] != 'I' || p[1] != 'D' || p[2] != '3' || p[3] == 0xFF || p[4] == 0xFF)
        return 0;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80)
        return 0;
    const std::size_t body = (static_cast<std::size_t>(p[6]) << 21) | (static_cast<std::size_t>(p[7]) << 14) |
                             (static_cast<std::size_t>(p[8]) << 7) | static_cast<std::size_t>(p[9]);
    const bool footer = (p[5] & 0x10) != 0;
    return 10 + body + (footer ? 10 : 0);
}

// Where the first frame header should be: after ID3v2 tags and zero padding.
// Returns size when the data ends first.
std::size_t firstFrameOffset(const unsigned char* data, std::size_t size) {
    std::size_t pos = 0;
    for (;;) {
        const std::size_t tag = id3v2TagSize(data + pos, size - pos);
        if (tag == 0)
            break;
        if (tag > size - pos)
            return size;
        pos += tag;
    }
    while (pos < size && data[pos] == 0)
        pos++;
    return pos;
}

} // namespace

bool looksLikeMpegAudio(const unsigned char* data, std::size_t size) {
    const std::size_t pos = firstFrameOffset(data, size);
    if (size - pos < 4)
        return false;
    FrameHeader first;
    if (!parseFrameHeader(data + pos, first))
        return false;
    const std::size_t next = pos + static_cast<std::size_t>(first.length);
    // A stream of a single frame has nothing to compare against.
    if (next + 4 > size)
        return true;
    FrameHeader second;
    return parseFrameHeader(data + next, second) && second.version == first.version && second.layer == first.layer &&
           second.sample_rate == first.sample_rate;
}

#ifdef VQ_WITH_MPG123

namespace {

// How much of a stream the format check reads: a large ID3 tag (cover art)
// is skipped by seeking, so this only has to hold two frame headers.
const std::size_t CHECK_WINDOW = 4096;

mpg123_ssize_t readFromStream(void* handle, void* buffer, size_t count) {
    auto* p_stream = static_cast<sf::InputStream*>(handle);
    const sf::Int64 got = p_stream->read(buffer, static_cast<sf::Int64>(count));
    return got < 0 ? -1 : static_cast<mpg123_ssize_t>(got);
}

off_t seekInStream(void* handle, off_t offset, int whence) {
    auto* p_stream = static_cast<sf::InputStream*>(handle);
    sf::Int64 target = offset;
    if (whence == SEEK_CUR) {
        const sf::Int64 here = p_stream->tell();
        if (here < 0)
            return -1;
        target += here;
    } else if (whence == SEEK_END) {
        const sf::Int64 size = p_stream->getSize();
        if (size < 0)
            return -1;
        target += size;
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if (target < 0)
        return -1;
    const sf::Int64 reached = p_stream->seek(target);
    return reached < 0 ? -1 : static_cast<off_t>(reached);
}

class Mp3FileReader : public sf::SoundFileReader {
public:
    Mp3FileReader() : m_p_handle(nullptr), m_channel_count(1) {}
    ~Mp3FileReader() override { close(); }
    Mp3FileReader(const Mp3FileReader&) = delete;
    Mp3FileReader& operator=(const Mp3FileReader&) = delete;

    static bool check(sf::InputStream& stream) {
        std::vector<unsigned char> head(CHECK_WINDOW);
        if (stream.seek(0) != 0)
            return false;
        sf::Int64 got = stream.read(head.data(), static_cast<sf::Int64>(head.size()));
        if (got <= 0)
            return false;
        // Skip ID3v2 tags by seeking, then look at the frames behind them.
        std::size_t skipped = 0;
        for (;;) {
            const std::size_t tag = id3v2TagSize(head.data(), static_cast<std::size_t>(got));
            if (tag == 0)
                break;
            skipped += tag;
            if (stream.seek(static_cast<sf::Int64>(skipped)) != static_cast<sf::Int64>(skipped))
                return false;
            got = stream.read(head.data(), static_cast<sf::Int64>(head.size()));
            if (got <= 0)
                return false;
        }
        return looksLikeMpegAudio(head.data(), static_cast<std::size_t>(got));
    }

    bool open(sf::InputStream& stream, Info& info) override {
        close();
        int error = MPG123_OK;
        m_p_handle = mpg123_new(nullptr, &error);
        if (m_p_handle == nullptr)
            return false;
        // Quiet: damaged files are reported by the caller, not on stderr.
        // Gapless: the encoder's padding is cut, so loops join seamlessly.
        mpg123_param(m_p_handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);

        // Only 16-bit signed output, at whatever rate and channel count the
        // file has.
        const long* p_rates = nullptr;
        size_t rate_count = 0;
        mpg123_rates(&p_rates, &rate_count);
        mpg123_format_none(m_p_handle);
        for (size_t i = 0; i < rate_count; i++)
            mpg123_format(m_p_handle, p_rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

        if (mpg123_replace_reader_handle(m_p_handle, readFromStream, seekInStream, nullptr) != MPG123_OK ||
            stream.seek(0) != 0 || mpg123_open_handle(m_p_handle, &stream) != MPG123_OK) {
            close();
            return false;
        }
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(m_p_handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels <= 0 ||
            encoding != MPG123_ENC_SIGNED_16) {
            close();
            return false;
        }
        // Lock the format so it cannot change in the middle of the stream.
        mpg123_format_none(m_p_handle);
        mpg123_format(m_p_handle, rate, channels, encoding);

        // Scanning reads every frame header once, which gives the exact
        // length even for files without a length header.
        mpg123_scan(m_p_handle);
        const off_t frames = mpg123_length(m_p_handle);

        m_channel_count = static_cast<unsigned int>(channels);
        info.channelCount = m_channel_count;
        info.sampleRate = static_cast<unsigned int>(rate);
        info.sampleCount = frames > 0 ? static_cast<sf::Uint64>(frames) * m_channel_count : 0;
        return true;
    }

    void seek(sf::Uint64 sampleOffset) override {
        if (m_p_handle != nullptr)
            mpg123_seek(m_p_handle, static_cast<off_t>(sampleOffset / m_channel_count), SEEK_SET);
    }

    sf::Uint64 read(sf::Int16* samples, sf::Uint64 maxCount) override {
        if (m_p_handle == nullptr)
            return 0;
        sf::Uint64 total = 0;
        while (total < maxCount) {
            const sf::Uint64 wanted = std::min<sf::Uint64>(maxCount - total, 1u << 20);
            size_t done = 0;
            const int result = mpg123_read(m_p_handle, reinterpret_cast<unsigned char*>(samples + total),
                                           static_cast<size_t>(wanted * sizeof(sf::Int16)), &done);
            total += done / sizeof(sf::Int16);
            if (result == MPG123_NEW_FORMAT)
                continue;
            if (result != MPG123_OK || done == 0)
                break;
        }
        return total;
    }

private:
    void close() {
        if (m_p_handle != nullptr) {
            mpg123_close(m_p_handle);
            mpg123_delete(m_p_handle);
            m_p_handle = nullptr;
        }
    }

    mpg123_handle* m_p_handle;
    unsigned int m_channel_count;
};

} // namespace

void registerMp3Reader() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
#if MPG123_API_VERSION < 46
    // Newer libraries initialise themselves.
    mpg123_init();
#endif
    sf::SoundFileFactory::registerReader<Mp3FileReader>();
}

#else

// The audio library decodes MP3 itself.
void registerMp3Reader() {}

#endif

} // namespace vq
