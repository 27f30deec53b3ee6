// dxf/in/entity_text.cpp: the TEXT and ATTDEF records, the ATTRIB records an INSERT carries, and
// the text groups the three share. Each builds a TEXT_3D from its groups, checks the layer and
// the mask of required groups, then creates the entity through the entity factory. An ATTRIB's
// placement comes in drawing coordinates and is stored in its insert's own.
#include "dxf/in/version_readers.h"

#include <cmath>
#include <new>

#include <veltcore/core/point.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/text.h>

using veltcore::dxfin::kDegToRad;

namespace {

// Entity kinds, as reported with a missing required group.
constexpr long kText = 6;
constexpr long kAttdef = 7;
constexpr long kAttrib = 9;

// Mask bits of the shared groups; group 8 (the layer) is bit 1.
constexpr long kX = 16;
constexpr long kY = 32;
constexpr long kHeight = 64;

constexpr double kDefaultHeight = 2.5;
constexpr double kMinWidthScale = 0.01;
constexpr double kMaxWidthScale = 100.0;
constexpr double kMaxOblique = 85.0;

double checkedWidthScale(double w) {
  // Written so that not-a-number fails too.
  if (!(w >= kMinWidthScale && w <= kMaxWidthScale)) throw CFileDXFIParser::BadValueParserError();
  return w;
}

// Degrees in, radians out. The angle is first taken into (-180, 180], so that 350 reads as -10;
// fmod does in one exact step what adding or subtracting 360 does in many.
double checkedOblique(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  if (!(a >= -kMaxOblique && a <= kMaxOblique)) throw CFileDXFIParser::BadValueParserError();
  return a * kDegToRad;
}

String valueText(const SmartString& v) {
  return String(v.c_str());
}

}  // namespace

// A text record as far as it has been read: the text, its alignment point and the two
// alignment codes, which are combined only at the end because either may come first.
struct CFileDXFIVersionReader::TextRecord {
  explicit TextRecord(CStyle* standard)
      : text(String(), standard, kDefaultHeight, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0) {}

  // The justification from the two codes; an aligned text stands at its alignment point.
  void finish() {
    text.setAlign(TEXT_3D::findJustify(horizontal, vertical));
    if (text.getAlign() != 0) text.setPnt(alignPoint);
  }

  TEXT_3D text;
  PNT_3D alignPoint{0.0, 0.0, 0.0};
  long horizontal = 0;
  long vertical = 0;
};

bool CFileDXFIVersionReader::readTextGroup(TextRecord& r, long& mask) {
  CTextContext& context = r.text.getContext();
  switch (group()) {
    case 7: {
      CStyle* style = semantor().getStyle(valueText(value()));
      r.text.setStyle(style != nullptr ? style : semantor().getStyleStandard());
      break;
    }
    case 10:
      r.text.getPnt().setX(getDouble());
      mask |= kX;
      break;
    case 20:
      r.text.getPnt().setY(getDouble());
      mask |= kY;
      break;
    case 30:
      r.text.getPnt().setZ(getDouble());
      break;
    case 11:
      r.alignPoint.setX(getDouble());
      break;
    case 21:
      r.alignPoint.setY(getDouble());
      break;
    case 31:
      r.alignPoint.setZ(getDouble());
      break;
    case 40:
      context.setHeight(getDouble());
      mask |= kHeight;
      break;
    case 41:
      context.setWidthScale(checkedWidthScale(getDouble()));
      break;
    case 50:
      context.setRotate(getDouble() * kDegToRad);
      break;
    case 51:
      context.setOblique(checkedOblique(getDouble()));
      break;
    case 72: {
      // Aligned (3), middle (4) and fit (5) texts have no justification of their own here:
      // they are centred.
      const long horizontal = getInt();
      r.horizontal = horizontal > TEXT_3D::kRight ? TEXT_3D::kCenter : horizontal;
      break;
    }
    default:
      return false;
  }
  return true;
}

// Group 1 is the string; 73 the vertical alignment.
CEnt* CFileDXFIVersionReader::readText() {
  EntityCommon c = beginEntity();
  TextRecord r(semantor().getStyleStandard());
  while (read() != 0) {
    if (readTextGroup(r, c.mask)) continue;
    if (group() == 1)
      r.text.getContext().setString(valueText(value()));
    else if (group() == 73)
      r.vertical = getInt();
    else
      readCommonGroup(c);
  }
  endEntity(c, kText, 0x71);
  r.finish();
  return entFactory().createEntText(semantor().getHandleGestor(), c.layer, c.ltype, c.color, r.text,
                                    c.handle);
}

// Group 2 is the tag, which the definition shows; 1 the default value, 3 the prompt, 70 the
// flags and 74 the vertical alignment (73 is the field length in these records, not read).
CEnt* CFileDXFIVersionReader::readAttdef() {
  EntityCommon c = beginEntity();
  TextRecord r(semantor().getStyleStandard());
  String defaultValue, prompt;
  long flags = 0;
  while (read() != 0) {
    if (readTextGroup(r, c.mask)) continue;
    switch (group()) {
      case 1:
        defaultValue = valueText(value());
        c.mask |= 128;
        break;
      case 3:
        prompt = valueText(value());
        c.mask |= 256;
        break;
      case 2:
        r.text.getContext().setString(valueText(value()));
        c.mask |= 512;
        break;
      case 70:
        flags = getInt();
        c.mask |= 1024;
        break;
      case 74:
        r.vertical = getInt();
        break;
      default:
        readCommonGroup(c);
    }
  }
  endEntity(c, kAttdef, 0x7F1);
  r.finish();
  return entFactory().createEntAttdef(semantor().getHandleGestor(), c.layer, c.ltype, c.color,
                                      r.text, defaultValue, prompt, flags, c.handle);
}

// Group 1 is the value, which the attribute shows; 2 the tag, 70 the flags, 74 the vertical
// alignment. Null never comes back: an attribute that cannot be had fails its insert.
CEntAttrib* CFileDXFIVersionReader::readAttrib(const CEntInsert& insert) {
  EntityCommon c = beginEntity();
  TextRecord r(semantor().getStyleStandard());
  String tag;
  long flags = 0;
  while (read() != 0) {
    if (readTextGroup(r, c.mask)) continue;
    switch (group()) {
      case 1:
        r.text.getContext().setString(valueText(value()));
        c.mask |= 128;
        break;
      case 2:
        tag = valueText(value());
        c.mask |= 256;
        break;
      case 70:
        flags = getInt();
        c.mask |= 512;
        break;
      case 74:
        r.vertical = getInt();
        break;
      default:
        readCommonGroup(c);
    }
  }
  endEntity(c, kAttrib, 0x3F1);
  r.finish();
  transform_attrib_phisic_2_logic(insert, r.text);
  CEntAttrib* a = entFactory().createEntAttrib(semantor().getHandleGestor(), c.layer, c.ltype,
                                               c.color, r.text, tag, flags, c.handle);
  if (a == nullptr) throw std::bad_alloc();
  return a;
}
