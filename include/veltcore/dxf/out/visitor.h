// veltcore/dxf/out/visitor.h: CFileDXFOVisitor, the entity visitor that writes one DXF entity
// record per entity it visits. Names come from the converter given to SetACADNameConverter.
// Handles booked for SEQEND records are given back only when the visitor is destroyed.
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/entities/visitor.h>

class CBlock;
class CData;
class CEnt;
class CFileDXFOWriter;
class CLayer;
class CLtype;
class CNameAcadConverter;
class CStyle;
class TEXT_3D;

class CFileDXFOVisitor : public IEntVisitor {
 public:
  // flat: every Z written by writePoint is 0.
  CFileDXFOVisitor(const CData& data, CFileDXFOWriter& writer, bool flat);
  // Gives back every handle booked for a SEQEND record.
  virtual ~CFileDXFOVisitor();
  CFileDXFOVisitor(const CFileDXFOVisitor&) = delete;
  CFileDXFOVisitor& operator=(const CFileDXFOVisitor&) = delete;

  // Until a converter is given, names are written as the items hold them (full names).
  void SetACADNameConverter(CNameAcadConverter& converter);

  // Vertices are written with their polyline.
  using IEntVisitor::visit;
  void visit(CEnt3DFace& e) override;
  void visit(CEntHatch& e) override;
  void visit(CEntAttrib& e) override;
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  void visit(CEntPolyline& e) override;
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

 protected:
  void write(long code, bool value);
  void write(long code, long value);
  void write(long code, double value);
  void write(long code, const char* value);
  void writeHex(long code, long value);
  // 10+k x, 20+k y, 30+k z (0 when flat).
  void writePoint(long k, const PNT_3D& p);
  // The groups every entity record carries after its type: handle, layer, linetype (left out
  // when by layer), colour (left out when by layer).
  void def_visit(CEnt& e);
  // The SEQEND record closing e's sub-entities, under a freshly booked handle.
  void seq_visit(CEnt& e);
  // The text groups of TEXT, ATTDEF and ATTRIB records: the string goes under stringCode, the
  // vertical alignment under vertAlignCode. Defaults are left out.
  void txt_visit(const TEXT_3D& t, long stringCode, long vertAlignCode);
  // One VERTEX record on layer, with the given flags; noWidths leaves the widths to the
  // polyline's header.
  void vertex_visit(const CVertex& v, const CLayer* layer, long flags, bool noWidths);
  // One ATTRIB record of ins, placed in drawing coordinates.
  void attrib_visit(const CEntInsert& ins, CEntAttrib& a);

 private:
  const CData& data_;
  CFileDXFOWriter& writer_;
  std::vector<long> bookedHandles_;
  bool flat_;
  CNameAcadConverter* converter_;

  String layerName(const CLayer* layer) const;
  String ltypeName(const CLtype* ltype) const;
  String styleName(const CStyle* style) const;
  String blockName(const CBlock* block) const;

  // The INSERT record up to its attributes: shared by inserts and hatches.
  void writeInsertGroups(CEntInsert& e);
  // The extended data through which a hatch's INSERT record carries its pattern and boundary.
  void writeHatchData(const CEntHatch& e);
};
