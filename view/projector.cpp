// view/projector.cpp: the projector interface's segment helpers and the four projectors.
// Pure functions of their arguments. The orthographic view boxes copy corners without
// reordering, so an empty model box stays an empty view box.
#include <veltcore/view/projector.h>

// ---- IProjector ------------------------------------------------------------------------

void IProjector::to2D(const LINE_3D& l, LINE_2D& out) const {
  to2D(l.start, out.start);
  to2D(l.end, out.end);
}

void IProjector::to2D(const LINE_3D& l, LINE_3D& out) const {
  // Locals first: out may be l.
  PNT_2D s, e;
  double ds, de;
  to2D(l.start, s, ds);
  to2D(l.end, e, de);
  out.start.set(s.getX(), s.getY(), ds);
  out.end.set(e.getX(), e.getY(), de);
}

// ---- CPOProjector: (x, y), depth z -----------------------------------------------------

void CPOProjector::to2D(const RECT_3D& box, RECT_2D& view) const {
  view.min.set(box.min.getX(), box.min.getY());
  view.max.set(box.max.getX(), box.max.getY());
}

void CPOProjector::to2D(const PNT_3D& p, PNT_2D& out, double& depth) const {
  out.set(p.getX(), p.getY());
  depth = p.getZ();
}

void CPOProjector::to2D(const PNT_3D& p, PNT_2D& out) const {
  out.set(p.getX(), p.getY());
}

void CPOProjector::to2D(double x, double y, double, double& u, double& v) const {
  u = x;
  v = y;
}

void CPOProjector::to3D(const PNT_2D& p, double depth, PNT_3D& out) const {
  out.set(p.getX(), p.getY(), depth);
}

void CPOProjector::to3D(double u, double v, double depth, double& x, double& y, double& z) const {
  x = u;
  y = v;
  z = depth;
}

// ---- CPVProjector: (x, z), depth y -----------------------------------------------------

void CPVProjector::to2D(const RECT_3D& box, RECT_2D& view) const {
  view.min.set(box.min.getX(), box.min.getZ());
  view.max.set(box.max.getX(), box.max.getZ());
}

void CPVProjector::to2D(const PNT_3D& p, PNT_2D& out, double& depth) const {
  out.set(p.getX(), p.getZ());
  depth = p.getY();
}

void CPVProjector::to2D(const PNT_3D& p, PNT_2D& out) const {
  out.set(p.getX(), p.getZ());
}

void CPVProjector::to2D(double x, double, double z, double& u, double& v) const {
  u = x;
  v = z;
}

void CPVProjector::to3D(const PNT_2D& p, double depth, PNT_3D& out) const {
  out.set(p.getX(), depth, p.getY());
}

void CPVProjector::to3D(double u, double v, double depth, double& x, double& y, double& z) const {
  x = u;
  y = depth;
  z = v;
}

// ---- CPLProjector: (-y, z), depth x ----------------------------------------------------

void CPLProjector::to2D(const RECT_3D& box, RECT_2D& view) const {
  // u = -y reverses the Y axis, so the largest Y gives the smallest u.
  view.min.set(-box.max.getY(), box.min.getZ());
  view.max.set(-box.min.getY(), box.max.getZ());
}

void CPLProjector::to2D(const PNT_3D& p, PNT_2D& out, double& depth) const {
  out.set(-p.getY(), p.getZ());
  depth = p.getX();
}

void CPLProjector::to2D(const PNT_3D& p, PNT_2D& out) const {
  out.set(-p.getY(), p.getZ());
}

void CPLProjector::to2D(double, double y, double z, double& u, double& v) const {
  u = -y;
  v = z;
}

void CPLProjector::to3D(const PNT_2D& p, double depth, PNT_3D& out) const {
  out.set(depth, -p.getX(), p.getY());
}

void CPLProjector::to3D(double u, double v, double depth, double& x, double& y, double& z) const {
  x = depth;
  y = -u;
  z = v;
}

// ---- CParalProjector: (a*x + c*y, b*x + d*y + z), depth z ------------------------------

CParalProjector::CParalProjector(double a, double b, double c, double d)
    : a(a), b(b), c(c), d(d), inv(1.0 / (a * d - b * c)) {}

void CParalProjector::to2D(const RECT_3D& box, RECT_2D& view) const {
  const double xs[4] = {box.min.getX(), box.max.getX(), box.max.getX(), box.min.getX()};
  const double ys[4] = {box.min.getY(), box.min.getY(), box.max.getY(), box.max.getY()};
  double uLo = 0, uHi = 0, vLo = 0, vHi = 0;
  for (int i = 0; i < 4; ++i) {
    const double u = a * xs[i] + c * ys[i];
    const double v = b * xs[i] + d * ys[i];
    if (i == 0 || u < uLo) uLo = u;
    if (i == 0 || u > uHi) uHi = u;
    if (i == 0 || v < vLo) vLo = v;
    if (i == 0 || v > vHi) vHi = v;
  }
  // z adds to v one for one, so the lowest v comes from the bottom face and the highest
  // from the top face.
  view.min.set(uLo, vLo + box.min.getZ());
  view.max.set(uHi, vHi + box.max.getZ());
}

void CParalProjector::to2D(const PNT_3D& p, PNT_2D& out, double& depth) const {
  out.set(a * p.getX() + c * p.getY(), b * p.getX() + d * p.getY() + p.getZ());
  depth = p.getZ();
}

void CParalProjector::to2D(const PNT_3D& p, PNT_2D& out) const {
  out.set(a * p.getX() + c * p.getY(), b * p.getX() + d * p.getY() + p.getZ());
}

void CParalProjector::to2D(double x, double y, double z, double& u, double& v) const {
  u = a * x + c * y;
  v = b * x + d * y + z;
}

void CParalProjector::to3D(const PNT_2D& p, double depth, PNT_3D& out) const {
  double x, y, z;
  to3D(p.getX(), p.getY(), depth, x, y, z);
  out.set(x, y, z);
}

void CParalProjector::to3D(double u, double v, double depth, double& x, double& y,
                           double& z) const {
  // Remove the depth from v, then invert the 2x2 map [a c; b d].
  const double w = v - depth;
  x = (u * d - w * c) * inv;
  y = (w * a - u * b) * inv;
  z = depth;
}
