// tools/velt/render/palette.h: the colours of the drawing colour numbers (1 to 255) as RGB,
// computed the way the classic 256-colour table is laid out: nine named colours, a wheel of 24
// hues in ten shades each (10 to 249), and six greys. Colour 7 is the one colour that follows
// the background: black on white, white on black.
#pragma once

#include <cstdint>

namespace velt {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// The colour of number index on the given background. Numbers outside 1 ... 255 (by block and
// by layer left unresolved, or a damaged value) are drawn as colour 7.
Rgb colourOf(int index, bool blackBackground);

// The background itself.
Rgb backgroundOf(bool blackBackground);

}  // namespace velt
