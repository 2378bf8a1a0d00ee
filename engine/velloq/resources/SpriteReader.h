#ifndef VQ_RESOURCES_SPRITEREADER_H
#define VQ_RESOURCES_SPRITEREADER_H

// Private to the resource store: parsing helpers of the sprite text format,
// kept apart so tests can reach them without a file.

#include <string>

#include <velloq/display/Color.h>

namespace vq {
namespace sprite_file {

// Leading blanks, an optional sign and decimal digits; anything after the
// digits is ignored and text without a number reads as 0. Values beyond the
// range of int saturate instead of overflowing.
int parseNumber(const std::string& line);

// One of the eight lower-case colour words, exactly; false for anything else.
bool parseColor(const std::string& line, Color& color);

// The colour word for a colour, "white" for out-of-range values.
const char* colorName(Color color);

} // namespace sprite_file
} // namespace vq

#endif
