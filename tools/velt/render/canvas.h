// tools/velt/render/canvas.h: the drawing surface the scene is drawn on, in pixel coordinates
// (x to the right, y downward, pixel centres on whole numbers). Strokes are one pixel wide; wide
// outlines are filled. An entity of the drawing brackets what it draws between beginEntity and
// endEntity, and a block reference or hatch brackets its contents between beginGroup and
// endGroup, so that a vector surface can say which entity each element belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/palette.h"

namespace velt {

class FreeTypeFont;

struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
};

// Subpaths of points, each open or closed. Kept and cleared between entities, so that drawing
// a large drawing reuses its storage instead of allocating per entity.
class PixelPath {
 public:
  struct Subpath {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    bool closed = false;
  };

  void clear() {
    points_.clear();
    subpaths_.clear();
  }
  void moveTo(PixelPoint p) {
    subpaths_.push_back({static_cast<std::uint32_t>(points_.size()), 1, false});
    points_.push_back(p);
  }
  // Starts a subpath when there is none.
  void lineTo(PixelPoint p) {
    if (subpaths_.empty()) return moveTo(p);
    points_.push_back(p);
    ++subpaths_.back().count;
  }
  void close() {
    if (!subpaths_.empty()) subpaths_.back().closed = true;
  }

  bool empty() const { return points_.empty(); }
  const std::vector<PixelPoint>& points() const { return points_; }
  const std::vector<Subpath>& subpaths() const { return subpaths_; }

 private:
  std::vector<PixelPoint> points_;
  std::vector<Subpath> subpaths_;
};

// One line of text ready to draw: the characters (UTF-8) and the map from the font's own units
// (x along the baseline, y up, origin at the start of the baseline) to pixels:
//   px = xx * x + xy * y + x0,  py = yx * x + yy * y + y0.
struct TextRun {
  std::string utf8;
  double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;
  const FreeTypeFont* font = nullptr;
  // Characters stacked one cell apart instead of side by side.
  bool vertical = false;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Whether the surface is made of pixels: details below a pixel are then lost anyway and the
  // scene may draw them more simply. A vector surface keeps every detail.
  virtual bool raster() const = 0;

  // kind names the entity ("line", "insert", ...). Entities do not nest; groups do, and hold
  // entities.
  virtual void beginEntity(const char* kind) = 0;
  virtual void endEntity() = 0;
  virtual void beginGroup(const char* kind) = 0;
  virtual void endGroup() = 0;

  // One-pixel lines along every subpath.
  virtual void strokePath(const PixelPath& path, Rgb colour) = 0;
  // The union of the subpaths (non-zero winding), each taken as closed.
  virtual void fillPath(const PixelPath& path, Rgb colour) = 0;
  // A circle and a circular arc: the arc runs from angle a0 to angle a1 (radians, a0 < a1)
  // measured in pixel space, where a growing angle turns clockwise on screen.
  virtual void strokeCircle(PixelPoint centre, double radius, Rgb colour) = 0;
  virtual void strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) = 0;
  // A small round mark: points, and things too small to show their shape.
  virtual void dot(PixelPoint p, Rgb colour) = 0;
  virtual void text(const TextRun& run, Rgb colour) = 0;

  // Completes the image and writes it out; throws CommandFailure(kFileError) when it cannot.
  virtual void finish() = 0;
};

}  // namespace velt
