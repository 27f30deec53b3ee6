// tools/velt/render/pixel_transform.cpp: composing the viewport's conversion with a block map.
#include "render/pixel_transform.h"

#include <algorithm>
#include <cmath>

namespace velt {

bool clipSegment(PixelPoint a, PixelPoint b, const PixelBox& box, double& t0, double& t1) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  t0 = 0;
  t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  return t0 <= t1;
}

PixelTransform::PixelTransform(const CWndVpt& view) {
  // The viewport converts each axis on its own: x' = sx (x - left), y' = sy (top - y).
  e_ = view.getViewX(0.0);
  f_ = view.getViewY(0.0);
  a_ = view.getViewXDistance(1.0);
  d_ = -view.getViewYDistance(1.0);
  b_ = c_ = 0.0;
}

PixelTransform::PixelTransform(const CWndVpt& view, const CEntInsertMatrix& m)
    : PixelTransform(view) {
  // The block map: x' = m0 x + m1 y + m5, y' = m2 x + m3 y + m6.
  const double sx = a_, sy = d_, ox = e_, oy = f_;
  a_ = sx * m.GetM(0);
  c_ = sx * m.GetM(1);
  e_ = sx * m.GetM(5) + ox;
  b_ = sy * m.GetM(2);
  d_ = sy * m.GetM(3);
  f_ = sy * m.GetM(6) + oy;
}

double PixelTransform::scale() const {
  return std::sqrt(std::fabs(a_ * d_ - b_ * c_));
}

bool PixelTransform::conformal() const {
  const double tolerance = 1e-9 * (std::fabs(a_) + std::fabs(b_) + std::fabs(c_) + std::fabs(d_));
  const bool turning = std::fabs(a_ - d_) <= tolerance && std::fabs(b_ + c_) <= tolerance;
  const bool mirrored = std::fabs(a_ + d_) <= tolerance && std::fabs(b_ - c_) <= tolerance;
  return turning || mirrored;
}

PixelBox PixelTransform::boxOf(const RECT_3D& r) const {
  PixelBox box;
  if (!r.validRegion()) return box;
  const double xs[2] = {r.min.getX(), r.max.getX()};
  const double ys[2] = {r.min.getY(), r.max.getY()};
  box.left = box.top = HUGE_VAL;
  box.right = box.bottom = -HUGE_VAL;
  for (double x : xs) {
    for (double y : ys) {
      const PixelPoint p = apply(x, y);
      box.left = std::min(box.left, p.x);
      box.right = std::max(box.right, p.x);
      box.top = std::min(box.top, p.y);
      box.bottom = std::max(box.bottom, p.y);
    }
  }
  return box;
}

}  // namespace velt
