// tools/velt/io/progress.cpp: a one-line bar redrawn in place with a carriage return.
#include "io/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace velt {

namespace {

constexpr auto kQuietPeriod = std::chrono::milliseconds(500);
constexpr auto kRedrawPeriod = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;

}  // namespace

bool ProgressBar::available() {
  return isatty(STDERR_FILENO) != 0;
}

ProgressBar::ProgressBar(std::string label, double total)
    : label_(std::move(label)),
      total_(total),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_),
      enabled_(available() && total > 0) {}

ProgressBar::~ProgressBar() {
  if (drawn_) std::fprintf(stderr, "\r%*s\r", kBarWidth + static_cast<int>(label_.size()) + 10, "");
}

void ProgressBar::update(double done) {
  // The clock is read once every 256 calls: callers report per line or per entity.
  if (!enabled_ || (++calls_ & 0xff) != 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuietPeriod || now - lastDraw_ < kRedrawPeriod) return;
  lastDraw_ = now;
  draw(std::clamp(done / total_, 0.0, 1.0));
}

void ProgressBar::draw(double fraction) {
  const int filled = static_cast<int>(fraction * kBarWidth);
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '-';
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\r%s [%s] %3d%%", label_.c_str(), bar, static_cast<int>(fraction * 100));
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace velt
