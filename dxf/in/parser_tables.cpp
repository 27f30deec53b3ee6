// dxf/in/parser_tables.cpp: the TABLES section: the table frame, LAYER and STYLE records read
// here, LTYPE records handed to the version reader, other tables skipped.
// Flag bit 64 (referenced) is dropped from every record; bit 16 names "reference|item".
#include <veltcore/dxf/in/parser.h>

#include <cstring>

#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/geometry/font.h>

#include "dxf/in/version_readers.h"

namespace {

constexpr long kReferenced = 64;
constexpr long kXRefDependent = 16;

}  // namespace

void CFileDXFIParser::readTables() {
  RealizeVersion();
  for (;;) {
    if (read() != 0) throw BadFileFormatParserError();
    if (value_.equal_ci("ENDSEC")) return;
    if (!value_.equal_ci("TABLE")) throw BadFileFormatParserError();
    if (read() != 2) throw BadFileFormatParserError();
    if (value_.equal_ci("LTYPE")) {
      readTablesLtype();
    } else if (value_.equal_ci("LAYER")) {
      readTablesLayer();
    } else if (value_.equal_ci("STYLE")) {
      readTablesStyle();
    } else {
      readTablesOther();
    }
  }
}

void CFileDXFIParser::readPreambolo() {
  while (read() != 0) {
  }
}

void CFileDXFIParser::readTablesOther() {
  while (read() != 0 || !value_.equal_ci("ENDTAB")) {
  }
}

void CFileDXFIParser::readTablesLtype() {
  readPreambolo();
  while (value_.equal_ci("LTYPE")) reader_->readLtype();
  if (!value_.equal_ci("ENDTAB")) throw BadFileFormatParserError();
}

void CFileDXFIParser::readTablesLayer() {
  readPreambolo();
  while (value_.equal_ci("LAYER")) readLayerRecord();
  if (!value_.equal_ci("ENDTAB")) throw BadFileFormatParserError();
}

void CFileDXFIParser::readTablesStyle() {
  readPreambolo();
  while (value_.equal_ci("STYLE")) readStyleRecord();
  if (!value_.equal_ci("ENDTAB")) throw BadFileFormatParserError();
}

// A record without group 62 or 70 takes colour 7 and no flags. A negative colour marks the
// layer off whichever of groups 62 and 70 comes first.
void CFileDXFIParser::readLayerRecord() {
  String name;
  CLtype* ltype = nullptr;
  long color = 7;
  long flags = 0;
  bool off = false;
  while (read() != 0) {
    switch (getGroupValue()) {
      case 2:
        name = value_.c_str();
        break;
      case 6:
        ltype = semantor_.getLtype(String(value_.c_str()));
        if (ltype == nullptr) throw LtypeNotValidParserError();
        break;
      case 62:
        color = getInt();
        if (color == 0) throw BadValueParserError();
        off = color < 0;
        // Anything below -255 is out of range once made positive; 256 says so safely.
        if (off) color = color < -255 ? 256 : -color;
        break;
      case 70:
        flags = getInt() & ~kReferenced;
        break;
      default:
        break;
    }
  }
  if (color > 255) throw BadValueParserError();
  if (off) flags |= CLayer::kOff;
  const short c = static_cast<short>(color);
  if (std::strcmp(name.c_str(), "0") == 0) {
    semantor_.createLayer0(ltype, c, flags);
  } else if ((flags & kXRefDependent) != 0) {
    String xref, item;
    if (!scomposeName(name, xref, item)) throw BadFileFormatParserError();
    semantor_.createLayerXRef(xref, item, ltype, c, flags);
  } else {
    semantor_.createLayer(name, ltype, c, flags);
  }
}

// A record without groups 40, 41, 42, 50 or 70 takes the standard style's defaults for them:
// height 0 (not fixed), width scale 1, oblique 0, last height 2.5, no flags. The NaN text of
// a number fails every range check.
void CFileDXFIParser::readStyleRecord() {
  String name;
  const ICADFont* font = nullptr;
  double height = 0.0, widthScale = 1.0, oblique = 0.0, lastHeight = 2.5;
  long flags = 0;
  while (read() != 0) {
    switch (getGroupValue()) {
      case 2:
        name = value_.c_str();
        break;
      case 3:
        font = CFontTable::getInstance().get(String(value_.c_str()), true);
        if (font == nullptr) throw FontNotValidParserError();
        break;
      case 40:
        height = getDouble();
        if (!(height >= 0.0)) throw BadValueParserError();
        break;
      case 41:
        widthScale = getDouble();
        if (!(widthScale >= 0.01 && widthScale <= 100.0)) throw BadValueParserError();
        break;
      case 42:
        lastHeight = getDouble();
        if (!(lastHeight >= 0.0)) throw BadValueParserError();
        break;
      case 50:
        oblique = getDouble();
        if (!(oblique >= -85.0 && oblique <= 85.0)) throw BadValueParserError();
        oblique *= veltcore::dxfin::kDegToRad;
        break;
      case 70:
        flags = getInt() & ~kReferenced;
        break;
      default:
        break;
    }
  }
  // A shape file is not a text font: the record is of no use to a drawing.
  if ((flags & CStyle::kShape) != 0) return;
  if (font == nullptr) throw BadFileFormatParserError();
  if (name.equal("STANDARD")) {
    semantor_.createStyleStandard(font, height, widthScale, oblique, lastHeight, flags);
  } else {
    semantor_.createStyle(name, font, height, widthScale, oblique, lastHeight, flags);
  }
}
