// veltcore/database/colors.h: CColors, the display names of the colour numbers 0 ... 256.
// Colours are shorts: 0 by block, 256 by layer, 1 to 255 colour numbers, 7 that of layer "0".
// The single instance is made on first use and freed by shutdownCore.
#pragma once

#include <veltcore/core/string.h>

void shutdownCore();

class CColors {
 public:
  static constexpr int kByBlock = 0;
  static constexpr int kByLayer = 256;

  static CColors& getInstance();
  // The name of colour 0 ... 256: the named ones from the message table, the others their
  // decimal digits, made on first request. Undefined outside 0 ... 256.
  const String& operator[](int color);

  CColors(const CColors&) = delete;
  CColors& operator=(const CColors&) = delete;

 protected:
  friend void shutdownCore();
  // Frees the instance and its names; the next getInstance builds a new one.
  static void shutdown();

 private:
  static constexpr int kSlots = 257;
  static CColors* _instance;

  CColors();
  ~CColors();

  String* names_[kSlots];
};
