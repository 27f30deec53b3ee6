// tools/velt/io/progress.h: the progress bar velt draws on standard error while it loads or
// renders a large file. It appears only when standard error is a terminal and only once the
// work has taken half a second, so that small files and scripts see nothing.
#pragma once

#include <chrono>
#include <string>

namespace velt {

class ProgressBar {
 public:
  // label: what is being done ("loading", "rendering"); total: the units the work has.
  ProgressBar(std::string label, double total);
  // Erases the bar if it was drawn.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // done: the units finished so far. Cheap when called often: it redraws at most ten times a
  // second.
  void update(double done);

  // Whether a bar can be shown at all (standard error is a terminal).
  static bool available();

 private:
  std::string label_;
  double total_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
  bool enabled_;
  bool drawn_ = false;
  unsigned calls_ = 0;

  void draw(double fraction);
};

}  // namespace velt
