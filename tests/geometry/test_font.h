// tests/geometry/test_font.h: a host font with fixed metrics for tests of text placement, styles
// and linetype patterns. Every character has the same advance (one unit wider when bold); top
// and bottom are fixed. It counts its measure calls and, optionally, its destruction.
#pragma once

#include <cstring>

#include <veltcore/geometry/font.h>

class TestFont : public ICADFont {
 public:
  struct Metrics {
    int cell, descent, advance, top, bottom;
  };

  TestFont(const char* name, Metrics m, int* destroyed = nullptr)
      : ICADFont(name), m_(m), destroyed_(destroyed) {}
  ~TestFont() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }

  int getCellHeight() const override { return m_.cell; }
  int getDescent() const override { return m_.descent; }
  void measure(const char* s, bool horizontal, bool bold, bool /*italic*/, int* width, int* top,
               int* bottom) const override {
    ++measured;
    lastHorizontal = horizontal;
    *width = static_cast<int>(std::strlen(s)) * (m_.advance + (bold ? 1 : 0));
    *top = m_.top;
    *bottom = m_.bottom;
  }

  mutable int measured = 0;
  mutable bool lastHorizontal = false;

 private:
  Metrics m_;
  int* destroyed_;
};
