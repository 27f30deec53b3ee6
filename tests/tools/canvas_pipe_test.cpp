// tests/tools/canvas_pipe_test.cpp: the canvas that carries its calls out on another thread.
// The calls must arrive whole and in order across many batches (paths and texts copied, not
// pointed at), and what the target throws on its thread must reach the caller.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "command.h"
#include "render/canvas_pipe.h"

namespace velt {
namespace {

// Writes every call it gets as a line of text; throws at call number failAt.
class LogCanvas : public Canvas {
 public:
  explicit LogCanvas(std::ostringstream& log, long failAt = -1) : log_(log), failAt_(failAt) {}

  bool raster() const override { return false; }
  void beginEntity(const char* kind) override { line() << "entity " << kind; }
  void endEntity() override { line() << "end entity"; }
  void beginGroup(const char* kind) override { line() << "group " << kind; }
  void endGroup() override { line() << "end group"; }
  void strokePath(const PixelPath& path, Rgb colour) override { describe("stroke", path, colour); }
  void fillPath(const PixelPath& path, Rgb colour) override { describe("fill", path, colour); }
  void strokeCircle(PixelPoint c, double r, Rgb colour) override {
    line() << "circle " << c.x << ' ' << c.y << ' ' << r << ' ' << int{colour.g};
  }
  void strokeArc(PixelPoint c, double r, double a0, double a1, Rgb colour) override {
    line() << "arc " << c.x << ' ' << c.y << ' ' << r << ' ' << a0 << ' ' << a1 << ' '
           << int{colour.b};
  }
  void dot(PixelPoint p, Rgb colour) override {
    line() << "dot " << p.x << ' ' << p.y << ' ' << int{colour.r};
  }
  void text(const TextRun& run, Rgb colour) override {
    line() << "text " << run.utf8 << ' ' << run.xx << ' ' << run.y0 << ' ' << run.vertical << ' '
           << int{colour.r};
  }
  void finish() override { line() << "finish"; }

 private:
  std::ostringstream& log_;
  long failAt_;
  long calls_ = 0;

  std::ostringstream& line() {
    if (calls_++ == failAt_) throw CommandFailure(kFileError, "out.svg: cannot be written");
    log_ << '\n';
    return log_;
  }
  void describe(const char* what, const PixelPath& path, Rgb colour) {
    std::ostringstream& out = line();
    out << what << ' ' << int{colour.r};
    for (const PixelPath::Subpath& s : path.subpaths()) {
      out << " [" << (s.closed ? "closed" : "open");
      for (std::uint32_t i = 0; i < s.count; ++i)
        out << ' ' << path.points()[s.first + i].x << ',' << path.points()[s.first + i].y;
      out << ']';
    }
  }
};

// A long stream of every kind of call, the same for the same seed.
void draw(Canvas& canvas, int calls) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-50, 50);
  PixelPath path;
  TextRun run;
  for (int i = 0; i < calls; ++i) {
    const Rgb colour{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                     static_cast<std::uint8_t>(i * 7)};
    switch (rng() % 9) {
      case 0:
        canvas.beginEntity(i % 2 == 0 ? "line" : "text");
        break;
      case 1:
        canvas.endEntity();
        break;
      case 2:
        canvas.beginGroup("insert");
        break;
      case 3:
        canvas.endGroup();
        break;
      case 4:
      case 5:
        // The path is reused and changed at once: the pipe must have copied it.
        path.clear();
        for (unsigned s = 0; s < rng() % 3 + 1; ++s) {
          path.moveTo({u(rng), u(rng)});
          for (unsigned k = 0; k < rng() % 5; ++k) path.lineTo({u(rng), u(rng)});
          if (rng() % 2 == 0) path.close();
        }
        if (i % 2 == 0)
          canvas.strokePath(path, colour);
        else
          canvas.fillPath(path, colour);
        path.clear();
        path.moveTo({-1, -1});
        break;
      case 6:
        canvas.strokeArc({u(rng), u(rng)}, u(rng), 0.5, 2.5, colour);
        break;
      case 7:
        canvas.dot({u(rng), u(rng)}, colour);
        break;
      default:
        run.utf8 = "run " + std::to_string(i);
        run.xx = u(rng);
        run.y0 = u(rng);
        run.vertical = i % 3 == 0;
        canvas.text(run, colour);
        run.utf8 = "changed";
        canvas.strokeCircle({u(rng), u(rng)}, 2.0, colour);
    }
  }
}

TEST(CanvasPipe, CarriesOutEveryCallInOrder) {
  std::ostringstream direct, piped;
  LogCanvas target(direct);
  draw(target, 30000);
  target.finish();
  CanvasPipe pipe(std::make_unique<LogCanvas>(piped));
  draw(pipe, 30000);
  pipe.finish();
  const std::string a = piped.str(), b = direct.str();
  EXPECT_GT(b.size(), 500000u);
  // Compared whole, reported at the first difference (a full diff of logs this long is slow).
  const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  EXPECT_TRUE(a == b) << "from byte " << (at.first - a.begin()) << ": piped \""
                      << a.substr(static_cast<std::size_t>(at.first - a.begin()), 60)
                      << "\", direct \""
                      << b.substr(static_cast<std::size_t>(at.second - b.begin()), 60) << '"';
}

TEST(CanvasPipe, WhatTheTargetThrowsReachesTheCaller) {
  for (long failAt : {0L, 5000L, 29999L, 40000L}) {
    std::ostringstream log;
    std::string caught;
    try {
      CanvasPipe pipe(std::make_unique<LogCanvas>(log, failAt));
      draw(pipe, 30000);
      pipe.finish();
    } catch (const CommandFailure& e) {
      caught = e.what();
    }
    // The drawing makes some 33,000 calls and the finish: call 40,000 never comes.
    if (failAt < 40000)
      EXPECT_EQ(caught, "out.svg: cannot be written") << failAt;
    else
      EXPECT_EQ(caught, "") << failAt;
  }
}

}  // namespace
}  // namespace velt
