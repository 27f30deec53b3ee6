// dxf/out/visitor_insert.cpp: the INSERT record of block and external-reference inserts, with
// its ATTRIB records and SEQEND. Placement groups holding exactly their default are left out.
#include <veltcore/dxf/out/visitor.h>

#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>

#include "dxf/out/dxf_units.h"

using veltcore::dxf::kDegreesPerRadian;

void CFileDXFOVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

void CFileDXFOVisitor::visit(CEntInsert& e) {
  writeInsertGroups(e);
  if (e.size() == 0) return;
  write(66, 1L);
  for (int i = 0; i < e.size(); ++i) attrib_visit(e, e[i]);
  seq_visit(e);
}

void CFileDXFOVisitor::writeInsertGroups(CEntInsert& e) {
  write(0, "INSERT");
  def_visit(e);
  write(2, blockName(e.getBlock()).c_str());
  writePoint(0, e.getPnt());
  double sx, sy, sz;
  e.getScale(sx, sy, sz);
  if (sx != 1.0) write(41, sx);
  if (sy != 1.0) write(42, sy);
  if (sz != 1.0) write(43, sz);
  if (e.getRotate() != 0.0) write(50, e.getRotate() * kDegreesPerRadian);
  long rows, columns;
  double columnSpacing, rowSpacing;
  e.getArray(rows, columns, columnSpacing, rowSpacing);
  // Columns come first in the file (70), rows second (71).
  if (columns != 1) write(70, columns);
  if (rows != 1) write(71, rows);
  if (columnSpacing != 0.0) write(44, columnSpacing);
  if (rowSpacing != 0.0) write(45, rowSpacing);
}
