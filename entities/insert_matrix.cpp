// entities/insert_matrix.cpp: the insert matrix for one copy of an insert, its inverse, the matrix
// from a base point, composition and point transformation.
// Only reads inserts; the iso fields of a matrix that is not isotropic are not-a-number.
#include <veltcore/entities/insert.h>
#include <veltcore/entities/insert_matrix.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

}  // namespace

CEntInsertMatrix::CEntInsertMatrix(const CEntInsert& ins, bool inverse) {
  if (!inverse) {
    *this = CEntInsertMatrix(ins, 1, 1);
    return;
  }
  double sx, sy, sz;
  ins.getScale(sx, sy, sz);
  const double co = std::cos(ins.getRotate());
  const double si = std::sin(ins.getRotate());
  const PNT_3D& p = ins.getPnt();
  m_[0] = co / sx;
  m_[1] = si / sx;
  m_[2] = -si / sy;
  m_[3] = co / sy;
  m_[4] = 1 / sz;
  m_[5] = (-p.getX() * co - p.getY() * si) / sx;
  m_[6] = (p.getX() * si - p.getY() * co) / sy;
  m_[7] = -p.getZ() / sz;
  setNotIsotropic();
}

CEntInsertMatrix::CEntInsertMatrix(const CEntInsert& ins, int row, int column) {
  const double co = std::cos(ins.getRotate());
  const double si = std::sin(ins.getRotate());
  setPlacement(ins, co, si);
  if (row < 2 && column < 2) return;
  long rows, columns;
  double columnSpacing, rowSpacing;
  ins.getArray(rows, columns, columnSpacing, rowSpacing);
  // The spacings run along the rotated axes and are not scaled. Row and column below 2 both
  // mean the first copy; otherwise a row or column below 1 moves the copy backwards.
  const double dc = static_cast<double>(column - 1) * columnSpacing;
  const double dr = static_cast<double>(row - 1) * rowSpacing;
  m_[5] += dc * co - dr * si;
  m_[6] += dc * si + dr * co;
}

CEntInsertMatrix::CEntInsertMatrix(const PNT_3D& base, double sx, double sy, double sz,
                                   double rotate, const PNT_3D& at) {
  set(base, sx, sy, sz, rotate, at);
}

void CEntInsertMatrix::set(const PNT_3D& base, double sx, double sy, double sz, double rotate,
                           const PNT_3D& at) {
  const double co = std::cos(rotate);
  const double si = std::sin(rotate);
  m_[0] = sx * co;
  m_[1] = -sy * si;
  m_[2] = sx * si;
  m_[3] = sy * co;
  m_[4] = sz;
  m_[5] = -base.getX() * sx * co + base.getY() * sy * si + at.getX();
  m_[6] = -base.getX() * sx * si - base.getY() * sy * co + at.getY();
  m_[7] = -base.getZ() * sz + at.getZ();
  setIso(sx, sy, rotate);
}

CEntInsertMatrix CEntInsertMatrix::operator*(const CEntInsertMatrix& o) const {
  const double* a = m_;
  const double* b = o.m_;
  CEntInsertMatrix r;
  r.m_[0] = a[0] * b[0] + a[1] * b[2];
  r.m_[1] = a[0] * b[1] + a[1] * b[3];
  r.m_[2] = a[2] * b[0] + a[3] * b[2];
  r.m_[3] = a[2] * b[1] + a[3] * b[3];
  r.m_[4] = a[4] * b[4];
  r.m_[5] = a[0] * b[5] + a[1] * b[6] + a[5];
  r.m_[6] = a[2] * b[5] + a[3] * b[6] + a[6];
  r.m_[7] = a[4] * b[7] + a[7];
  if (!isotropic_ || !o.isotropic_) {
    r.setNotIsotropic();
    return r;
  }
  r.isotropic_ = true;
  r.isoScale_ = isoScale_ * o.isoScale_;
  // One normalising step: two rotations each within [0, 2*pi] sum to within [0, 4*pi].
  double rotate = isoRotate_ + o.isoRotate_;
  if (rotate < 0)
    rotate += kTwoPi;
  else if (rotate > kTwoPi)
    rotate -= kTwoPi;
  r.isoRotate_ = rotate;
  return r;
}

void CEntInsertMatrix::transform(const PNT_3D& p, PNT_3D& out) const {
  const double x = m_[0] * p.getX() + m_[1] * p.getY() + m_[5];
  const double y = m_[2] * p.getX() + m_[3] * p.getY() + m_[6];
  const double z = m_[4] * p.getZ() + m_[7];
  out.set(x, y, z);
}

void CEntInsertMatrix::setPlacement(const CEntInsert& ins, double co, double si) {
  double sx, sy, sz;
  ins.getScale(sx, sy, sz);
  const PNT_3D& p = ins.getPnt();
  m_[0] = co * sx;
  m_[1] = -si * sy;
  m_[2] = si * sx;
  m_[3] = co * sy;
  m_[4] = sz;
  m_[5] = p.getX();
  m_[6] = p.getY();
  m_[7] = p.getZ();
  setIso(sx, sy, ins.getRotate());
}

void CEntInsertMatrix::setIso(double sx, double sy, double rotate) {
  if (sx != sy) {
    setNotIsotropic();
    return;
  }
  isotropic_ = true;
  isoScale_ = sx;
  isoRotate_ = rotate;
}

void CEntInsertMatrix::setNotIsotropic() {
  isotropic_ = false;
  isoScale_ = std::numeric_limits<double>::quiet_NaN();
  isoRotate_ = std::numeric_limits<double>::quiet_NaN();
}
