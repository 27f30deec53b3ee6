// entities/insert_memento.cpp: the snapshot of an insert's placement and of its attributes.
// It owns the attribute snapshots and only points at the attributes.
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

CEntInsertMemento::CEntInsertMemento(const CEntInsert& e) : pnt_(e.getPnt()) {
  e.getScale(sx_, sy_, sz_);
  rotate_ = e.getRotate();
  long rows, columns;
  e.getArray(rows, columns, columnSpacing_, rowSpacing_);
  rows_ = toInt32(rows);
  columns_ = toInt32(columns);
  // The destructor does not run for a constructor that fails, so the snapshots are freed here.
  try {
    attribs_.reserve(static_cast<std::size_t>(e.size()));
    for (int i = 0; i < e.size(); ++i) attribs_.emplace_back(&e[i], e[i].createDerivedMemento());
  } catch (...) {
    for (auto& pair : attribs_) delete pair.second;
    throw;
  }
}

CEntInsertMemento::~CEntInsertMemento() {
  for (auto& pair : attribs_) delete pair.second;
}

bool CEntInsertMemento::operator==(const CEnt& e) const {
  const CEntInsert* ins = e.getEntInsert();
  if (ins == nullptr) return false;
  double sx, sy, sz, columnSpacing, rowSpacing;
  long rows, columns;
  ins->getScale(sx, sy, sz);
  ins->getArray(rows, columns, columnSpacing, rowSpacing);
  if (ins->getPnt() != pnt_ || sx != sx_ || sy != sy_ || sz != sz_ || ins->getRotate() != rotate_ ||
      columnSpacing != columnSpacing_ || rowSpacing != rowSpacing_ || columns != columns_ ||
      rows != rows_ || ins->size() != getNoAttribs())
    return false;
  for (int i = 0; i < ins->size(); ++i)
    if (*getAttribMemento(i) != (*ins)[i]) return false;
  return true;
}

void CEntInsertMemento::getScale(double& sx, double& sy, double& sz) const {
  sx = sx_;
  sy = sy_;
  sz = sz_;
}

void CEntInsertMemento::getArray(long& rows, long& columns, double& columnSpacing,
                                 double& rowSpacing) const {
  rows = rows_;
  columns = columns_;
  columnSpacing = columnSpacing_;
  rowSpacing = rowSpacing_;
}
