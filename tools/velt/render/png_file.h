// tools/velt/render/png_file.h: writing a 32-bit xRGB image (cairo's RGB24 layout) as an 8-bit
// RGB PNG file through libpng, tuned for speed: a drawing's image is mostly background, which
// the fastest zlib level still packs tightly.
#pragma once

#include <cstdint>
#include <cstdio>

namespace velt {

// Writes the image to file (open for binary writing, left open); false when libpng or the file
// fails.
bool writePng(std::FILE* file, const std::uint32_t* pixels, int width, int height, int stride);

}  // namespace velt
