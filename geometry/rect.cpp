// geometry/rect.cpp: the boxes RECT_2D and RECT_3D, and PNT_3D::calc_bdry.
// Touches only the two corners. The empty region is a pair of sentinels, not a flag, so
// updateRegion needs no special case for the first point.
#include <veltcore/geometry/rect.h>

#include <utility>

namespace {

constexpr double kEmptyMin = 1.7e+200;
constexpr double kEmptyMax = -1.7e+200;

// Orders two values into (lo, hi).
void ordered(double u, double v, double& lo, double& hi) {
  if (u <= v) {
    lo = u;
    hi = v;
  } else {
    lo = v;
    hi = u;
  }
}

}  // namespace

void PNT_3D::calc_bdry(RECT_3D& r) const {
  r.min = *this;
  r.max = *this;
}

// ---- RECT_2D ---------------------------------------------------------------------------

void RECT_2D::set(double x1, double y1, double x2, double y2) {
  double lx, hx, ly, hy;
  ordered(x1, x2, lx, hx);
  ordered(y1, y2, ly, hy);
  min.set(lx, ly);
  max.set(hx, hy);
}

void RECT_2D::set(const PNT_2D& p1, const PNT_2D& p2) {
  set(p1.getX(), p1.getY(), p2.getX(), p2.getY());
}

void RECT_2D::set(const double xs[4], const double ys[4]) {
  min.set(xs[3], ys[3]);
  max = min;
  for (int i = 2; i >= 0; --i) updateRegion(PNT_2D(xs[i], ys[i]));
}

void RECT_2D::set(const PNT_2D* pts, int n) {
  if (n <= 0) {
    initRegion();
    return;
  }
  min = pts[n - 1];
  max = pts[n - 1];
  for (int i = n - 2; i >= 0; --i) updateRegion(pts[i]);
}

void RECT_2D::get(double& minX, double& minY, double& maxX, double& maxY) const {
  min.get(minX, minY);
  max.get(maxX, maxY);
}

void RECT_2D::initRegion() {
  min.set(kEmptyMin, kEmptyMin);
  max.set(kEmptyMax, kEmptyMax);
}

void RECT_2D::updateRegion(const PNT_2D& p) {
  // Two independent tests per axis: on the empty box the first point lowers min and
  // raises max at once.
  if (p.getX() < min.getX()) min.setX(p.getX());
  if (p.getX() > max.getX()) max.setX(p.getX());
  if (p.getY() < min.getY()) min.setY(p.getY());
  if (p.getY() > max.getY()) max.setY(p.getY());
}

void RECT_2D::updateRegion(const RECT_2D& b) {
  if (b.min.getX() < min.getX()) min.setX(b.min.getX());
  if (b.max.getX() > max.getX()) max.setX(b.max.getX());
  if (b.min.getY() < min.getY()) min.setY(b.min.getY());
  if (b.max.getY() > max.getY()) max.setY(b.max.getY());
}

bool RECT_2D::inside(double x, double y) const {
  return min.getX() <= x && x <= max.getX() && min.getY() <= y && y <= max.getY();
}

bool RECT_2D::inside(const RECT_2D& b) const {
  return min.getX() <= b.min.getX() && b.max.getX() <= max.getX() && min.getY() <= b.min.getY() &&
         b.max.getY() <= max.getY();
}

bool RECT_2D::intersect(const RECT_2D& b) const {
  return b.min.getX() <= max.getX() && b.min.getY() <= max.getY() && b.max.getX() >= min.getX() &&
         b.max.getY() >= min.getY();
}

bool RECT_2D::intersect(const RECT_2D& b, RECT_2D& out) const {
  // Computed into locals first: out may be this box or b.
  const double lx = min.getX() > b.min.getX() ? min.getX() : b.min.getX();
  const double ly = min.getY() > b.min.getY() ? min.getY() : b.min.getY();
  const double hx = max.getX() < b.max.getX() ? max.getX() : b.max.getX();
  const double hy = max.getY() < b.max.getY() ? max.getY() : b.max.getY();
  out.min.set(lx, ly);
  out.max.set(hx, hy);
  return lx <= hx && ly <= hy;
}

void RECT_2D::inflate(double dx, double dy) {
  min.set(min.getX() - dx, min.getY() - dy);
  max.set(max.getX() + dx, max.getY() + dy);
}

// ---- RECT_3D ---------------------------------------------------------------------------

void RECT_3D::set(double x1, double y1, double z1, double x2, double y2, double z2) {
  double lx, hx, ly, hy, lz, hz;
  ordered(x1, x2, lx, hx);
  ordered(y1, y2, ly, hy);
  ordered(z1, z2, lz, hz);
  min.set(lx, ly, lz);
  max.set(hx, hy, hz);
}

void RECT_3D::set(const PNT_3D& p1, const PNT_3D& p2) {
  set(p1.getX(), p1.getY(), p1.getZ(), p2.getX(), p2.getY(), p2.getZ());
}

void RECT_3D::set(const double xs[4], const double ys[4], const double zs[4]) {
  min.set(xs[3], ys[3], zs[3]);
  max = min;
  for (int i = 2; i >= 0; --i) updateRegion(PNT_3D(xs[i], ys[i], zs[i]));
}

void RECT_3D::get(double& minX, double& minY, double& minZ, double& maxX, double& maxY,
                  double& maxZ) const {
  min.get(minX, minY, minZ);
  max.get(maxX, maxY, maxZ);
}

void RECT_3D::initRegion() {
  min.set(kEmptyMin, kEmptyMin, kEmptyMin);
  max.set(kEmptyMax, kEmptyMax, kEmptyMax);
}

void RECT_3D::updateRegion(const PNT_3D& p) {
  if (p.getX() < min.getX()) min.setX(p.getX());
  if (p.getX() > max.getX()) max.setX(p.getX());
  if (p.getY() < min.getY()) min.setY(p.getY());
  if (p.getY() > max.getY()) max.setY(p.getY());
  if (p.getZ() < min.getZ()) min.setZ(p.getZ());
  if (p.getZ() > max.getZ()) max.setZ(p.getZ());
}

void RECT_3D::updateRegion(const RECT_3D& b) {
  if (b.min.getX() < min.getX()) min.setX(b.min.getX());
  if (b.max.getX() > max.getX()) max.setX(b.max.getX());
  if (b.min.getY() < min.getY()) min.setY(b.min.getY());
  if (b.max.getY() > max.getY()) max.setY(b.max.getY());
  if (b.min.getZ() < min.getZ()) min.setZ(b.min.getZ());
  if (b.max.getZ() > max.getZ()) max.setZ(b.max.getZ());
}

bool RECT_3D::inside(const PNT_3D& p) const {
  return min.getX() <= p.getX() && p.getX() <= max.getX() && min.getY() <= p.getY() &&
         p.getY() <= max.getY() && min.getZ() <= p.getZ() && p.getZ() <= max.getZ();
}

void RECT_3D::scale(const PNT_3D& c, double f) {
  min.scale(c, f);
  max.scale(c, f);
  // A negative factor mirrors the box, which turns min into the largest corner.
  if (f < 0) std::swap(min, max);
}
