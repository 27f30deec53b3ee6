// dxf/in/parser_header.cpp: the HEADER section: variables with their value groups, $ACADVER
// and the version code, and the variables applied to the semantor's CDataVariables.
// Variable names are compared exactly, except $ACADVER and its four known values.
#include <veltcore/dxf/in/parser.h>

#include <cstdlib>
#include <cstring>

#include <veltcore/database/data.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/semantor.h>

#include "core/text.h"
#include "dxf/in/version_readers.h"

namespace {

// What one header variable held: the kind of its last value group decides how it is read.
struct HeaderValue {
  enum Kind { kOther, kString, kReal, kInteger };
  Kind kind = kOther;
  String text;
  // Up to three reals, in the order read.
  double reals[3] = {0.0, 0.0, 0.0};
  int count = 0;
  long integer = 0;
};

bool named(const String& name, const char* variable) {
  return std::strcmp(name.c_str(), variable) == 0;
}

}  // namespace

void CFileDXFIParser::readHeader() {
  CDataVariables* vars = semantor_.getVars();
  read();
  if (getGroupValue() == 0 && value_.equal_ci("ENDSEC")) return;
  if (getGroupValue() != 9) throw BadFileFormatParserError();
  for (;;) {
    const String name(value_.c_str());
    if (read() == 0) throw BadFileFormatParserError();
    HeaderValue v;
    do {
      const long group = getGroupValue();
      if (group < 10) {
        v.kind = HeaderValue::kString;
        v.text = value_.c_str();
      } else if ((group >= 10 && group <= 59) || (group >= 210 && group <= 239)) {
        v.kind = HeaderValue::kReal;
        // A fourth real and beyond is read (its text must be a number) and dropped.
        const double real = getDouble();
        if (v.count < 3) v.reals[v.count++] = real;
      } else if (group >= 60 && group <= 79) {
        v.kind = HeaderValue::kInteger;
        v.integer = getInt();
      } else {
        v.kind = HeaderValue::kOther;
      }
    } while (read() != 0 && getGroupValue() != 9);

    if (v.kind == HeaderValue::kString) readHeaderString(vars, name, v.text);
    if (v.kind == HeaderValue::kReal) readHeaderDouble(vars, name, v.reals, v.count);
    if (v.kind == HeaderValue::kInteger) readHeaderLong(vars, name, v.integer);

    if (getGroupValue() == 0) {
      if (!value_.equal_ci("ENDSEC")) throw BadFileFormatParserError();
      return;
    }
  }
}

void CFileDXFIParser::readHeaderString(CDataVariables* vars, const String& name,
                                       const String& text) {
  if (name.equal("$ACADVER")) {
    readVersion(text);
    return;
  }
  if (named(name, "$HANDSEED")) readHandleSeed(text);
  if (vars == nullptr || !semantor_.shouldReadHeaders()) return;
  if (named(name, "$CELTYPE")) curLtypeName_ = text;
  if (named(name, "$CLAYER")) curLayerName_ = text;
  if (named(name, "$TEXTSTYLE")) curStyleName_ = text;
}

void CFileDXFIParser::readHeaderDouble(CDataVariables* vars, const String& name,
                                       const double* reals, int count) {
  if (vars == nullptr || count < 1 || !semantor_.shouldReadHeaders()) return;
  // A limit given with its X only takes Y = 0; reals holds count values, no more.
  const double y = count > 1 ? reals[1] : 0.0;
  if (named(name, "$LIMMIN")) vars->setLimMin(PNT_2D(reals[0], y));
  if (named(name, "$LIMMAX")) vars->setLimMax(PNT_2D(reals[0], y));
  if (named(name, "$LTSCALE")) vars->setLtypeScale(reals[0]);
  if (named(name, "$PLINEWID")) vars->setPLineWid(reals[0]);
  // The angle base is stored with the reader's own degree factor, not the exact pi / 180.
  if (named(name, "$ANGBASE")) vars->setAngDir(reals[0] * veltcore::dxfin::kDegToRad);
}

void CFileDXFIParser::readHeaderLong(CDataVariables* vars, const String& name, long value) {
  if (vars == nullptr || !semantor_.shouldReadHeaders()) return;
  if (named(name, "$CECOLOR")) vars->setCurColor(static_cast<short>(value));
  if (named(name, "$ORTHOMODE")) vars->setOrtho(value != 0);
  if (named(name, "$PLINEGEN")) vars->setPLineGen(value != 0);
  if (named(name, "$ANGDIR")) vars->setAngClockWise(value != 0);
  // Formats 1 and 4 (degrees-minutes-seconds, surveyor's units) have no counterpart here.
  if (named(name, "$AUNITS") && value != 1 && value != 4)
    vars->setAngFormat(static_cast<short>(value));
}

// $HANDSEED is the first handle the file's writer left unused. When the file's handles are kept,
// the handles the reader makes up itself (the vertices of a lightweight polyline, the lines of a
// generated hatch, the vertices of a fitted curve) start there, so that they cannot take a
// handle that a later record of the same file carries. Only the library's own handle manager
// can be moved; a malformed or out-of-range value is ignored.
void CFileDXFIParser::readHandleSeed(const String& text) {
  if (!semantor_.shouldRespectHandles()) return;
  auto* gestor = dynamic_cast<CHandleGestorDefault*>(&semantor_.getHandleGestor());
  if (gestor == nullptr) return;
  const char* digits = text.c_str();
  char* end = nullptr;
  const unsigned long long seed = std::strtoull(digits, &end, 16);
  if (end == digits || *end != '\0' || *digits == '-' || *digits == '+') return;
  if (seed > 0 && seed <= 0x7fffffffULL) gestor->advanceSeed(static_cast<long>(seed));
}

// The four known versions by name; any other "AC10nn" keeps the version code, unless nn says
// the file is newer than the newest known version.
void CFileDXFIParser::readVersion(const String& text) {
  static const char* const kKnown[] = {"AC1009", "AC1012", "AC1014", "AC1015"};
  for (short i = 0; i < 4; ++i) {
    if (text.equal(kKnown[i])) {
      version_ = static_cast<short>(i + 1);
      return;
    }
  }
  if (text.size() != 6 || std::strncmp(text.c_str(), "AC10", 4) != 0) throw BadValueParserError();
  if (veltcore::text::parseInt(text.c_str() + 4) > 15) throw FutureVersionNotSupportedError();
}
