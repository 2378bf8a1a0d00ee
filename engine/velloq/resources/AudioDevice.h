#ifndef VQ_RESOURCES_AUDIODEVICE_H
#define VQ_RESOURCES_AUDIODEVICE_H

// Private to the audio sources.

namespace vq {

// Whether sounds and music can be played now. Without an audio device the
// game runs silently: the first refused play writes one line to the log.
bool audioCanPlay();

} // namespace vq

#endif
