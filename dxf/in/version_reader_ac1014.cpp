// dxf/in/version_reader_ac1014.cpp: the newer version reader (versions 3 and 4, AC1015 too):
// LTYPE records whose dashes may carry text or shape elements, and its table of entity types.
// A complex element's groups come in one fixed order; any other group there is a fault.
#include <cstddef>

#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/geometry/text.h>

#include "dxf/in/version_readers.h"

namespace {

constexpr long kPlainElement = 0;
constexpr long kTextElement = 2;
constexpr long kShapeElement = 4;

}  // namespace

CFileDXFIVersionReaderAC1014::CFileDXFIVersionReaderAC1014(CFileDXFILexer& lexer,
                                                           IFileDXFISemantor& semantor,
                                                           CEntFactory& factory)
    : CFileDXFIVersionReader(lexer, semantor, factory, false) {}

// Group 73 counts the elements (group 74), one after each dash length.
void CFileDXFIVersionReaderAC1014::readLtype() {
  LtypeRecord r;
  long announced = 0;
  long elements = 0;
  while (read() != 0) {
    switch (group()) {
      case 73:
        announced = getInt();
        if (announced < 0) throw CFileDXFIParser::BadFileFormatParserError();
        break;
      case 49:
        r.dashes.AddDashDouble(getDouble());
        break;
      case 74:
        if (++elements > announced) throw CFileDXFIParser::BadFileFormatParserError();
        readComplexElement(r, getInt());
        break;
      default:
        readLtypeGroup(r);
    }
  }
  finishLtype(r);
}

CEnt* CFileDXFIVersionReaderAC1014::readEntity() {
  // Any type not listed (MTEXT, DIMENSION, SPLINE, ...) is skipped.
  static const EntityKind kKinds[] = {
      {"POINT", &CFileDXFIVersionReaderAC1014::readPoint},
      {"LINE", &CFileDXFIVersionReaderAC1014::readLine},
      {"CIRCLE", &CFileDXFIVersionReaderAC1014::readCircle},
      {"ARC", &CFileDXFIVersionReaderAC1014::readArc},
      {"3DFACE", &CFileDXFIVersionReaderAC1014::read3DFace},
      {"TEXT", &CFileDXFIVersionReaderAC1014::readText},
      {"ATTDEF", &CFileDXFIVersionReaderAC1014::readAttdef},
      {"INSERT", &CFileDXFIVersionReaderAC1014::readInsert},
      {"POLYLINE", &CFileDXFIVersionReaderAC1014::readPolyline},
      {"LWPOLYLINE", &CFileDXFIVersionReaderAC1014::readLwPolyline},
      {"HATCH", &CFileDXFIVersionReaderAC1014::readHatch},
  };
  return dispatchEntity(kKinds, sizeof kKinds / sizeof kKinds[0]);
}

// Shape number (75), style handle (340), scale (46), rotation (50), X and Y offsets (44, 45),
// and for a text its string (9). A text element becomes a text dash in the standard style,
// its height the scale and its rotation the value as read; a shape element is dropped.
void CFileDXFIVersionReaderAC1014::readComplexElement(LtypeRecord& r, long type) {
  if (type == kPlainElement) return;
  if (type != kTextElement && type != kShapeElement)
    throw CFileDXFIParser::BadFileFormatParserError();
  expectGroup(75);
  expectGroup(340);
  expectGroup(46);
  const double scale = getDouble();
  expectGroup(50);
  const double rotation = getDouble();
  expectGroup(44);
  const double x = getDouble();
  expectGroup(45);
  const double y = getDouble();
  if (type != kTextElement) return;
  expectGroup(9);
  const String text(value().c_str());
  r.dashes.AddDashText(
      TEXT_3D(text, semantor().getStyleStandard(), scale, 0.0, 1.0, rotation, x, y, 0.0, 0));
}

void CFileDXFIVersionReaderAC1014::expectGroup(long code) {
  if (read() != code) throw CFileDXFIParser::BadFileFormatHatchParserError();
}
