// tools/velt/render/palette.cpp: the colour wheel. Each group of ten numbers from 10 on is one
// hue, 15 degrees apart; within a group the even numbers are the full colour and the odd ones the
// colour halfway to grey, at five falling brightnesses.
#include "render/palette.h"

#include <cmath>

namespace velt {

namespace {

constexpr Rgb kNamed[10] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                            {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {255, 255, 255},
                            {128, 128, 128}, {192, 192, 192}};
constexpr std::uint8_t kGreys[6] = {51, 91, 132, 173, 214, 255};
constexpr double kBrightness[5] = {255, 165, 127, 76, 38};

std::uint8_t channel(double v) {
  return static_cast<std::uint8_t>(std::lround(v));
}

// Hue in degrees, brightness 0 ... 255, and whether the colour is the half-saturated one.
Rgb fromHue(double hue, double value, bool pale) {
  const double sector = hue / 60.0;
  const int i = static_cast<int>(sector) % 6;
  const double f = sector - std::floor(sector);
  const double saturation = pale ? 0.5 : 1.0;
  const double p = value * (1 - saturation);
  const double q = value * (1 - saturation * f);
  const double t = value * (1 - saturation * (1 - f));
  const double rgb[6][3] = {{value, t, p}, {q, value, p}, {p, value, t},
                            {p, q, value}, {t, p, value}, {value, p, q}};
  return {channel(rgb[i][0]), channel(rgb[i][1]), channel(rgb[i][2])};
}

}  // namespace

Rgb colourOf(int index, bool blackBackground) {
  if (index < 1 || index > 255 || index == 7) return blackBackground ? kNamed[7] : kNamed[0];
  if (index < 10) return kNamed[index];
  if (index >= 250) {
    const std::uint8_t g = kGreys[index - 250];
    return {g, g, g};
  }
  const int hue = index / 10 - 1;
  const int shade = index % 10;
  return fromHue(hue * 15.0, kBrightness[shade / 2], shade % 2 == 1);
}

Rgb backgroundOf(bool blackBackground) {
  return blackBackground ? kNamed[0] : kNamed[7];
}

}  // namespace velt
