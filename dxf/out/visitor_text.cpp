// dxf/out/visitor_text.cpp: the TEXT and ATTDEF records and the ATTRIB records an INSERT carries,
// with the text groups the three share. An attribute is kept in its insert's own coordinates
// and written in the drawing's, as the reader expects it back.
#include <veltcore/dxf/out/visitor.h>

#include <veltcore/core/point.h>
#include <veltcore/database/style.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/text.h>

#include "dxf/out/dxf_units.h"

using veltcore::dxf::kDegreesPerRadian;

namespace {

// A mirrored insert (sx * sy < 0) gives its attributes a negative width factor and an obtuse
// oblique angle. DXF readers refuse both (this library's own takes a width factor from 0.01 and
// an oblique angle within 85 degrees), so the saved drawing would not load again. Such an
// attribute is written as the readable text that drafting programs show for mirrored attributes:
// width factor made positive, slant folded back under a right angle. Attributes of other
// inserts never meet either case and are written exactly as transformed.
void unmirror(double& oblique, double& widthScale) {
  constexpr double kPi = 3.14159265358979323846;
  if (widthScale < 0.0) widthScale = -widthScale;
  if (oblique > kPi / 2.0) oblique = kPi - oblique;
}

}  // namespace

void CFileDXFOVisitor::visit(CEntText& e) {
  write(0, "TEXT");
  def_visit(e);
  txt_visit(e.getText(), 1, 73);
}

// The tag is the definition's text string; the default value and the prompt are groups of their
// own, written even when empty because the reader requires them.
void CFileDXFOVisitor::visit(CEntAttdef& e) {
  write(0, "ATTDEF");
  def_visit(e);
  write(70, e.getFlags());
  write(1, e.getValue().c_str());
  write(3, e.getPrompt().c_str());
  txt_visit(e.getText(), 2, 74);
}

// Attributes are written with their insert (attrib_visit).
void CFileDXFOVisitor::visit(CEntAttrib&) {}

void CFileDXFOVisitor::txt_visit(const TEXT_3D& t, long stringCode, long vertAlignCode) {
  const CTextContext& c = t.getContext();
  write(40, c.getHeight());
  write(stringCode, c.getString().c_str());
  if (c.getRotate() != 0.0) write(50, c.getRotate() * kDegreesPerRadian);
  if (c.getWidthScale() != 1.0) write(41, c.getWidthScale());
  if (c.getOblique() != 0.0) write(51, c.getOblique() * kDegreesPerRadian);
  const CStyle* style = t.getStyle();
  if (style != nullptr && !style->isStandard()) write(7, styleName(style).c_str());

  const long horizontal = t.getHorizAlign();
  const long vertical = t.getVertAlign();
  if (horizontal == 0 && vertical == 0) {
    writePoint(0, t.getPnt());
    return;
  }
  // An aligned text stands at its alignment point (11); 10 carries where its baseline starts.
  PNT_3D base;
  t.getBasePoint(base);
  writePoint(0, base);
  if (horizontal != 0) write(72, horizontal);
  if (vertical != 0) write(vertAlignCode, vertical);
  writePoint(1, t.getPnt());
}

void CFileDXFOVisitor::attrib_visit(const CEntInsert& ins, CEntAttrib& a) {
  PNT_3D pos;
  double height, rotation, oblique, widthScale;
  transform_attrib_logic_2_phisic(ins, a, pos, height, rotation, oblique, widthScale);
  unmirror(oblique, widthScale);
  const TEXT_3D& own = a.getText();
  const TEXT_3D placed(
      CTextContext(own.getContext().getString(), height, oblique, widthScale, rotation),
      own.getStyle(), pos.getX(), pos.getY(), pos.getZ(), own.getAlign());
  write(0, "ATTRIB");
  def_visit(a);
  write(70, a.getFlags());
  write(2, a.getTag().c_str());
  txt_visit(placed, 1, 74);
}
