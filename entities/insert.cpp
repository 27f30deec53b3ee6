// entities/insert.cpp: the placement, attributes, registration, box, copy and snapshot restore
// of a block reference. Every placement setter and add recompute the box; setBlock does not.
#include <veltcore/database/block.h>
#include <veltcore/database/handle.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/visitor.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

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
      columns_(toInt32(columns)),
      rows_(toInt32(rows)) {
  calcBdry();
}

CEntInsert::CEntInsert(IHandleGestor& g, CEntFactory& f, const CEntInsert& src, long handle)
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
      rows_(src.rows_) {
  copyAttribs(g, f, src);
}

CEntInsert::~CEntInsert() {
  deleteAttribs();
}

void CEntInsert::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntInsert::addTbls(IHandleGestor& g) const {
  CEnt::addTbls(g);
  if (block_ != nullptr) block_->addEntity();
  for (const CEntAttrib* a : attribs_) a->addTbls(g);
}

void CEntInsert::removeTbls(IHandleGestor& g) const {
  CEnt::removeTbls(g);
  if (block_ != nullptr) block_->decEntity();
  for (const CEntAttrib* a : attribs_) a->removeTbls(g);
}

void CEntInsert::setMemento(CData& d, const IEntDerivedMemento* m) {
  const auto* im = static_cast<const CEntInsertMemento*>(m);
  pnt_ = im->getPnt();
  im->getScale(sx_, sy_, sz_);
  rotate_ = im->getRotate();
  long rows, columns;
  im->getArray(rows, columns, columnSpacing_, rowSpacing_);
  rows_ = toInt32(rows);
  columns_ = toInt32(columns);
  // By index, not by identity: attributes added or removed since the snapshot are not matched.
  const long n = std::min(im->getNoAttribs(), size());
  for (int i = 0; i < n; ++i)
    attribs_[static_cast<std::size_t>(i)]->setMemento(d, im->getAttribMemento(i));
  calcBdry();
}

IEntDerivedMemento* CEntInsert::createDerivedMemento() const {
  return new CEntInsertMemento(*this);
}

void CEntInsert::add(CEntAttrib* a) {
  attribs_.push_back(a);
  calcBdry();
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
  rows_ = toInt32(rows);
  columns_ = toInt32(columns);
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
  rows_ = toInt32(rows);
  columns_ = toInt32(columns);
  columnSpacing_ = columnSpacing;
  rowSpacing_ = rowSpacing;
  setInsert(pnt, sx, sy, sz, rotate);
}

void CEntInsert::calcBdry() {
  RECT_3D& bdry = getBdry();
  // Block and attributes are both in block coordinates. An insert with attributes but no block
  // is bad input; it gets the box of its attributes alone rather than failing.
  RECT_3D box;
  box.initRegion();
  if (block_ != nullptr) box = block_->getBdry();
  for (const CEntAttrib* a : attribs_) box.updateRegion(a->getBdry());
  if (!box.validRegion()) {
    bdry.initRegion();
    return;
  }
  PNT_3D lo = box.min;
  PNT_3D hi = box.max;
  const double co = std::cos(rotate_);
  const double si = std::sin(rotate_);
  // The linear part: pure rotation for an array (the scales go into the box first, the
  // spacings are not scaled), rotation with the scales otherwise. Rows or columns below 1
  // count as 1.
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
  // Z always takes the Z scale, array or not.
  bdry.set(minX, minY, sz_ * lo.getZ(), maxX, maxY, sz_ * hi.getZ());
  bdry.move(pnt_);
}

CEnt* CEntInsert::clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory&, CBlockTable&,
                        long handle) const {
  return new CEntInsert(g, ef, *this, handle);
}

void CEntInsert::copyAttribs(IHandleGestor& g, CEntFactory& f, const CEntInsert& src) {
  // The destructor does not run for a constructor that fails, so the copies are freed here.
  try {
    attribs_.reserve(src.attribs_.size());
    for (const CEntAttrib* a : src.attribs_) {
      CEntAttrib* copy = f.createEntAttrib(g, *a);
      if (copy == nullptr) throw std::bad_alloc();
      attribs_.push_back(copy);
    }
  } catch (...) {
    deleteAttribs();
    throw;
  }
}

void CEntInsert::deleteAttribs() {
  for (CEntAttrib* a : attribs_) delete a;
  attribs_.clear();
}
