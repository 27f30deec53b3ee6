// tools/velt/render/pixel_transform.h: the affine map from the coordinates an entity is stored in
// to pixels: the viewport window's world-to-pixel conversion after the map of the block
// references the entity is seen through. Composed once per block copy, applied per point.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/entities/insert_matrix.h>
#include <veltcore/geometry/rect.h>
#include <veltcore/view/wnd_vpt.h>

#include "render/canvas.h"

namespace velt {

struct PixelBox {
  double left = 0, top = 0, right = -1, bottom = -1;

  bool empty() const { return right < left; }
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

// The parameters t0 <= t1 (within 0 ... 1) of the part of segment a to b inside box, found as
// Liang and Barsky do; false when no part of it is.
bool clipSegment(PixelPoint a, PixelPoint b, const PixelBox& box, double& t0, double& t1);

class PixelTransform {
 public:
  // The viewport's own conversion: drawing coordinates to pixels.
  explicit PixelTransform(const CWndVpt& view);
  // The viewport's conversion after the block map m.
  PixelTransform(const CWndVpt& view, const CEntInsertMatrix& m);

  PixelPoint apply(double x, double y) const {
    return {a_ * x + c_ * y + e_, b_ * x + d_ * y + f_};
  }
  PixelPoint apply(const PNT_2D& p) const { return apply(p.getX(), p.getY()); }
  // A direction (no translation).
  PixelPoint applyVector(double x, double y) const { return {a_ * x + c_ * y, b_ * x + d_ * y}; }

  // The pixels of one drawing unit, averaged over directions (the square root of the area
  // scale): how long a dash pattern or a text of the block becomes.
  double scale() const;
  // Whether circles stay circles: equal scales in every direction, mirrored or not.
  bool conformal() const;
  // Whether the map turns the plane over. The view alone does (y grows downward), so a block
  // map that mirrors turns it back.
  bool flipsOrientation() const { return a_ * d_ - b_ * c_ < 0; }
  // The pixel box of a box of the entity's coordinates (its four corners in the plane); empty
  // for an empty box.
  PixelBox boxOf(const RECT_3D& r) const;

 private:
  double a_, b_, c_, d_, e_, f_;
};

}  // namespace velt
