// dxf/out/visitor.cpp: CFileDXFOVisitor, one DXF entity record per visited entity: the shared
// parts (pair forwarding, points, common groups, SEQEND, names) and the simple entities. Texts,
// inserts, polylines and hatches live in visitor_text.cpp, visitor_insert.cpp,
// visitor_polyline.cpp and visitor_hatch.cpp. Writes through the writer only; the drawing is
// read, except that SEQEND records book handles, given back when the visitor is destroyed.
#include <veltcore/dxf/out/visitor.h>

#include <veltcore/database/block.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/dxf/in/name_converter.h>
#include <veltcore/dxf/out/writer.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/linetypes/linetype.h>

#include "dxf/out/dxf_units.h"

using veltcore::dxf::kDegreesPerRadian;

namespace {

// The colour value that means "by layer", left out of entity records.
constexpr short kColorByLayer = 256;

}  // namespace

CFileDXFOVisitor::CFileDXFOVisitor(const CData& data, CFileDXFOWriter& writer, bool flat)
    : data_(data), writer_(writer), flat_(flat), converter_(nullptr) {}

CFileDXFOVisitor::~CFileDXFOVisitor() {
  for (long handle : bookedHandles_) data_.getHandleGestor().unbook(handle);
}

void CFileDXFOVisitor::SetACADNameConverter(CNameAcadConverter& converter) {
  converter_ = &converter;
}

void CFileDXFOVisitor::visit(CEnt3DFace& e) {
  write(0, "3DFACE");
  def_visit(e);
  for (long i = 0; i < 4; ++i) writePoint(i, e.getVertex(i));
  if (e.getFlags() != 0) write(70, e.getFlags());
}

void CFileDXFOVisitor::visit(CEntArc& e) {
  const ARC_3D& arc = e.getArc();
  write(0, "ARC");
  def_visit(e);
  writePoint(0, arc.centre);
  write(40, arc.radius);
  write(50, arc.start * kDegreesPerRadian);
  write(51, arc.end * kDegreesPerRadian);
}

void CFileDXFOVisitor::visit(CEntCircle& e) {
  const CIRCLE_3D& circle = e.getCircle();
  write(0, "CIRCLE");
  def_visit(e);
  writePoint(0, circle.centre);
  write(40, circle.radius);
}

void CFileDXFOVisitor::visit(CEntLine& e) {
  write(0, "LINE");
  def_visit(e);
  writePoint(0, e.getLine().start);
  writePoint(1, e.getLine().end);
}

void CFileDXFOVisitor::visit(CEntPnt& e) {
  write(0, "POINT");
  def_visit(e);
  writePoint(0, e.getPnt());
}

void CFileDXFOVisitor::write(long code, bool value) {
  writer_.write(code, value);
}

void CFileDXFOVisitor::write(long code, long value) {
  writer_.write(code, value);
}

void CFileDXFOVisitor::write(long code, double value) {
  writer_.write(code, value);
}

void CFileDXFOVisitor::write(long code, const char* value) {
  writer_.write(code, value);
}

void CFileDXFOVisitor::writeHex(long code, long value) {
  writer_.writeHex(code, value);
}

void CFileDXFOVisitor::writePoint(long k, const PNT_3D& p) {
  write(10 + k, p.getX());
  write(20 + k, p.getY());
  write(30 + k, flat_ ? 0.0 : p.getZ());
}

void CFileDXFOVisitor::def_visit(CEnt& e) {
  writeHex(5, e.GetHandle());
  write(8, layerName(e.getLayer()).c_str());
  const CLtype* ltype = e.getLtype();
  if (ltype != nullptr && !ltype->isByLayer()) write(6, ltypeName(ltype).c_str());
  if (e.getColor() != kColorByLayer) write(62, static_cast<long>(e.getColor()));
}

void CFileDXFOVisitor::seq_visit(CEnt& e) {
  write(0, "SEQEND");
  // A fresh handle, so that no SEQEND shares a handle with an entity of the file.
  const long handle = data_.getHandleGestor().bookNext();
  bookedHandles_.push_back(handle);
  writeHex(5, handle);
  write(8, layerName(e.getLayer()).c_str());
}

String CFileDXFOVisitor::layerName(const CLayer* layer) const {
  if (converter_ != nullptr) return converter_->GetName(layer);
  return layer != nullptr ? layer->getFullName() : String();
}

String CFileDXFOVisitor::ltypeName(const CLtype* ltype) const {
  if (converter_ != nullptr) return converter_->GetName(ltype);
  return ltype != nullptr ? ltype->getFullName() : String();
}

String CFileDXFOVisitor::styleName(const CStyle* style) const {
  if (converter_ != nullptr) return converter_->GetName(style);
  return style != nullptr ? style->getName() : String();
}

String CFileDXFOVisitor::blockName(const CBlock* block) const {
  if (converter_ != nullptr) return converter_->GetName(block);
  return block != nullptr ? block->getName() : String();
}
