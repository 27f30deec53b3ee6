// entities/insert.cpp: the placement, registration and box of a block reference.
// Every placement setter recomputes the box; setBlock does not.
#include <veltcore/database/block.h>
#include <veltcore/database/handle.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/visitor.h>

#include <algorithm>
#include <cmath>

CEntInsert::CEntInsert(long handle, CLayer* layer, CLtype* ltype, short color, CBlock* block,
                       const PNT_3D& pnt, double sx, double sy, double sz, double rotate, long rows,
                       long columns, double columnSpacing, double rowSpacing)
    : CEnt(handle, layer, ltype, color),
      block_(block),
      pnt_(pnt),
      sx_(sx),
      sy_(sy),
      sz_(sz),
      rotate_(rotate),
      columnSpacing_(columnSpacing),
      rowSpacing_(rowSpacing),
      columns_(static_cast<std::int32_t>(columns)),
      rows_(static_cast<std::int32_t>(rows)) {
  calcBdry();
}

CEntInsert::CEntInsert(IHandleGestor& /*g*/, CEntFactory& /*f*/, const CEntInsert& src, long handle)
    : CEnt(src, handle),
      block_(src.block_),
      pnt_(src.pnt_),
      sx_(src.sx_),
      sy_(src.sy_),
      sz_(src.sz_),
      rotate_(src.rotate_),
      columnSpacing_(src.columnSpacing_),
      rowSpacing_(src.rowSpacing_),
      columns_(src.columns_),
      rows_(src.rows_) {}

CEntInsert::~CEntInsert() = default;

void CEntInsert::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntInsert::addTbls(IHandleGestor& g) const {
  CEnt::addTbls(g);
  if (block_ != nullptr) block_->addEntity();
}

void CEntInsert::removeTbls(IHandleGestor& g) const {
  CEnt::removeTbls(g);
  if (block_ != nullptr) block_->decEntity();
}

void CEntInsert::setPnt(const PNT_3D& pnt) {
  pnt_ = pnt;
  calcBdry();
}

void CEntInsert::setPnt(double x, double y, double z) {
  setPnt(PNT_3D(x, y, z));
}

void CEntInsert::getScale(double& sx, double& sy, double& sz) const {
  sx = sx_;
  sy = sy_;
  sz = sz_;
}

void CEntInsert::setScale(double sx, double sy, double sz) {
  sx_ = sx;
  sy_ = sy;
  sz_ = sz;
  calcBdry();
}

void CEntInsert::setRotate(double rotate) {
  rotate_ = rotate;
  calcBdry();
}

void CEntInsert::getArray(long& rows, long& columns, double& columnSpacing,
                          double& rowSpacing) const {
  rows = rows_;
  columns = columns_;
  columnSpacing = columnSpacing_;
  rowSpacing = rowSpacing_;
}

void CEntInsert::setArray(long rows, long columns, double columnSpacing, double rowSpacing) {
  rows_ = static_cast<std::int32_t>(rows);
  columns_ = static_cast<std::int32_t>(columns);
  columnSpacing_ = columnSpacing;
  rowSpacing_ = rowSpacing;
  calcBdry();
}

void CEntInsert::setInsert(const PNT_3D& pnt, double sx, double sy, double sz, double rotate) {
  pnt_ = pnt;
  sx_ = sx;
  sy_ = sy;
  sz_ = sz;
  rotate_ = rotate;
  calcBdry();
}

void CEntInsert::setInsert(const PNT_3D& pnt, double sx, double sy, double sz, double rotate,
                           long rows, long columns, double columnSpacing, double rowSpacing) {
  rows_ = static_cast<std::int32_t>(rows);
  columns_ = static_cast<std::int32_t>(columns);
  columnSpacing_ = columnSpacing;
  rowSpacing_ = rowSpacing;
  setInsert(pnt, sx, sy, sz, rotate);
}

void CEntInsert::calcBdry() {
  RECT_3D& bdry = getBdry();
  if (block_ == nullptr || !block_->getBdry().validRegion()) {
    bdry.initRegion();
    return;
  }
  RECT_3D box = block_->getBdry();
  PNT_3D lo = box.min;
  PNT_3D hi = box.max;
  const double co = std::cos(rotate_);
  const double si = std::sin(rotate_);
  // The linear part: pure rotation for an array (the scales go into the box first, the
  // spacings are not scaled), rotation with the scales otherwise.
  double a = co * sx_, b = -si * sy_, d = si * sx_, e = co * sy_;
  const long nc = std::max<long>(columns_, 1);
  const long nr = std::max<long>(rows_, 1);
  if (nc > 1 || nr > 1) {
    lo.setX(lo.getX() * sx_);
    hi.setX(hi.getX() * sx_);
    lo.setY(lo.getY() * sy_);
    hi.setY(hi.getY() * sy_);
    const double growX = static_cast<double>(nc - 1) * columnSpacing_;
    const double growY = static_cast<double>(nr - 1) * rowSpacing_;
    if (columnSpacing_ <= 0)
      lo.setX(lo.getX() + growX);
    else
      hi.setX(hi.getX() + growX);
    if (rowSpacing_ <= 0)
      lo.setY(lo.getY() + growY);
    else
      hi.setY(hi.getY() + growY);
    a = co, b = -si, d = si, e = co;
  }
  const double xs[4] = {lo.getX(), hi.getX(), hi.getX(), lo.getX()};
  const double ys[4] = {lo.getY(), lo.getY(), hi.getY(), hi.getY()};
  double minX = a * xs[0] + b * ys[0], maxX = minX;
  double minY = d * xs[0] + e * ys[0], maxY = minY;
  for (int i = 1; i < 4; ++i) {
    const double x = a * xs[i] + b * ys[i];
    const double y = d * xs[i] + e * ys[i];
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  bdry.set(minX, minY, sz_ * lo.getZ(), maxX, maxY, sz_ * hi.getZ());
  bdry.move(pnt_);
}
