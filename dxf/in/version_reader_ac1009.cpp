// dxf/in/version_reader_ac1009.cpp: the older version reader (versions 0 to 2, AC1012 too):
// LTYPE records of plain dashes counted by group 73, and its table of entity types.
// INSERT records of these versions may carry hatch data.
#include <cstddef>

#include <veltcore/dxf/in/parser.h>

#include "dxf/in/version_readers.h"

CFileDXFIVersionReaderAC1009::CFileDXFIVersionReaderAC1009(CFileDXFILexer& lexer,
                                                           IFileDXFISemantor& semantor,
                                                           CEntFactory& factory)
    : CFileDXFIVersionReader(lexer, semantor, factory, true) {}

// Group 73 announces the dashes and must come before them; no more may follow.
void CFileDXFIVersionReaderAC1009::readLtype() {
  LtypeRecord r;
  long announced = 0;
  long dashes = 0;
  while (read() != 0) {
    switch (group()) {
      case 73:
        announced = getInt();
        if (dashes > 0 || announced < 0) throw CFileDXFIParser::BadFileFormatParserError();
        break;
      case 49:
        if (++dashes > announced) throw CFileDXFIParser::BadFileFormatParserError();
        r.dashes.AddDashDouble(getDouble());
        break;
      default:
        readLtypeGroup(r);
    }
  }
  finishLtype(r);
}

CEnt* CFileDXFIVersionReaderAC1009::readEntity() {
  // LWPOLYLINE and HATCH records are newer than these versions: like any type not listed they
  // are skipped (hatches come as INSERT records with hatch data instead).
  static const EntityKind kKinds[] = {
      {"POINT", &CFileDXFIVersionReaderAC1009::readPoint},
      {"LINE", &CFileDXFIVersionReaderAC1009::readLine},
      {"CIRCLE", &CFileDXFIVersionReaderAC1009::readCircle},
      {"ARC", &CFileDXFIVersionReaderAC1009::readArc},
      {"3DFACE", &CFileDXFIVersionReaderAC1009::read3DFace},
      {"TEXT", &CFileDXFIVersionReaderAC1009::readText},
      {"ATTDEF", &CFileDXFIVersionReaderAC1009::readAttdef},
      {"INSERT", &CFileDXFIVersionReaderAC1009::readInsert},
      {"POLYLINE", &CFileDXFIVersionReaderAC1009::readPolyline},
  };
  return dispatchEntity(kKinds, sizeof kKinds / sizeof kKinds[0]);
}
