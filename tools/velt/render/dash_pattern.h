// tools/velt/render/dash_pattern.h: a linetype's dash sequence laid along chains of pixel points.
// The pattern runs on through the vertices of a chain, so curves made of many short chords
// keep their dashes. Patterns too fine to show (a repetition shorter than a few pixels) draw
// solid, as do linetypes without gaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "render/pixel_transform.h"

class CLtype;

namespace velt {

class DashPattern {
 public:
  // A pen-down stretch of a chain: the part of segment (from point segment to the next, the
  // closing segment last) between parameters from and to (0 ... 1).
  struct Dash {
    std::uint32_t segment;
    double from;
    double to;
  };

  // Solid.
  DashPattern() = default;

  // The length dashes of lt, each length times unitPixels (the pixels of one pattern unit:
  // the drawing's linetype scale times the entity's pixels per unit). Text dashes take no room
  // and are not drawn. Null or a linetype without dashes gives solid.
  void set(const CLtype* lt, double unitPixels);
  bool solid() const { return on_.empty(); }

  // The pen-down stretches of the chain pts[0 ... n) (and back to pts[0] when closed), the
  // pattern starting at the first point, or afresh at every point with restart. Only the parts
  // inside visible are listed. The list is out's, replaced.
  void dashes(const PixelPoint* pts, std::size_t n, bool closed, bool restart,
              const PixelBox& visible, std::vector<Dash>& out) const;
  // The same stretches appended to out as subpaths; a dash that runs on through a vertex is one
  // subpath.
  void apply(const PixelPoint* pts, std::size_t n, bool closed, bool restart,
             const PixelBox& visible, PixelPath& out);

 private:
  struct Interval {
    double from;
    double to;
  };
  // The pen-down stretches of one repetition, in pixels from its start.
  std::vector<Interval> on_;
  double length_ = 0;
  std::vector<Dash> found_;

  // Lays the pattern along a to b (segment number index), whose start lies phase pixels into
  // the pattern; returns the phase at b.
  double segment(PixelPoint a, PixelPoint b, std::uint32_t index, double phase,
                 const PixelBox& visible, std::vector<Dash>& out) const;
};

}  // namespace velt
