#ifndef VQ_RESOURCES_MP3READER_H
#define VQ_RESOURCES_MP3READER_H

// Private to the resource store. Audio libraries that cannot decode MP3 by
// themselves get a reader for it here; elsewhere this does nothing.

#include <cstddef>

namespace vq {

// Makes MP3 files readable by sounds and music. Call before the first sound
// or music is opened; calling again does nothing.
void registerMp3Reader();

// True when the bytes start like an MPEG audio layer I-III stream: optional
// ID3v2 tags and zero padding, then a frame header whose successor (if the
// data reaches that far) is another header of the same stream.
bool looksLikeMpegAudio(const unsigned char* data, std::size_t size);

} // namespace vq

#endif
