// Feeds arbitrary bytes to the audio decoders through the same factory the
// engine's sounds and music use, MP3 reader included. Nothing reaches an
// audio device: files are only opened and read.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/System/Err.hpp>

#include <velloq/resources/Mp3Reader.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vq::registerMp3Reader();
    // Every rejected input would print a line; the fuzzer only needs speed.
    sf::err().rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vq::looksLikeMpegAudio(data, size);

    sf::InputSoundFile file;
    // The engine refuses streams without channels or rate (the audio
    // library divides by the channel count when seeking).
    if (!file.openFromMemory(data, size) || file.getChannelCount() == 0 || file.getSampleRate() == 0)
        return 0;
    // Bounded: a header may claim hours of audio in a few bytes.
    std::vector<std::int16_t> samples(4096);
    for (int i = 0; i < 64; i++) {
        const std::uint64_t got = file.read(samples.data(), samples.size());
        if (got > samples.size())
            __builtin_trap();
        if (got == 0)
            break;
    }
    for (const auto at : {file.getSampleCount() / 2, decltype(file.getSampleCount())(0)}) {
        file.seek(at);
        static_cast<void>(file.read(samples.data(), samples.size()));
    }
    return 0;
}
