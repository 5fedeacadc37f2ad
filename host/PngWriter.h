// Writes a 24-bit PNG from top-down BGRA pixels, for the demo host's window screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes width x height pixels (4 bytes each, B G R A, rows top to bottom) as a PNG file image.
// The image data is deflated with stored blocks only: screenshots are small and this needs no zlib.
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* bgra);

// Writes EncodePng's bytes to path; false when the file cannot be written completely.
bool WritePng(const std::string& path, int width, int height, const uint8_t* bgra);
