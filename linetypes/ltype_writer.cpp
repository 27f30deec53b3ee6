// linetypes/ltype_writer.cpp: CLtypeLoader::Save, the loaded linetypes written as a library
// file in table order, two lines each:
//   "*%s,%s\n" with the name and the description,
//   "A", then per dash "," and "%lf" for a length or
//   "[\"%s\",%s,S=%f,R=%f,X=%f,Y=%f]" for a text (rotation in degrees), then "\n".
// Reals are formatted as printf formats them in the C locale, whatever locale the host has set.
#include <veltcore/database/style.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/linetypes/ltype_loader.h>

#include <string>

#include "core/number_format.h"
#include "linetypes/ltype_file_closer.h"

namespace {

// The inverse of the reader's conversion from degrees.
constexpr double kDegreesToRadians = 0.01745329251994;

// "%f" and "%lf": six decimals.
void appendReal(std::string& out, double v) {
  char text[veltcore::text::kFixed6Room];
  out.append(text, veltcore::text::formatFixed6(text, v));
}

void formatHeader(const CLtype& lt, std::string& out) {
  out = "*";
  out += lt.getName().c_str();
  out += ',';
  out += lt.getDesc().c_str();
  out += '\n';
}

void appendText(std::string& out, const TEXT_3D& t) {
  const CTextContext& c = t.getContext();
  out += "[\"";
  out += c.getString().c_str();
  out += "\",";
  out += t.getStyle() != nullptr ? t.getStyle()->getName().c_str() : "";
  out += ",S=";
  appendReal(out, c.getHeight());
  out += ",R=";
  appendReal(out, c.getRotate() / kDegreesToRadians);
  out += ",X=";
  appendReal(out, t.getPnt().getX());
  out += ",Y=";
  appendReal(out, t.getPnt().getY());
  out += ']';
}

void formatPattern(const CLtype& lt, std::string& out) {
  out = "A";
  for (int i = 0; i < lt.getNoDashes(); ++i) {
    const ILtypeComplexDash& dash = *lt.GetDash(i);
    out += ',';
    if (dash.IsText())
      appendText(out, *dash.GetText());
    else
      appendReal(out, dash.GetValue());
  }
  out += '\n';
}

}  // namespace

void CLtypeLoader::Save(const char* fileName) {
  CFileStdLib file(fileName, IFile::kWrite);
  file.open();
  veltcore::detail::LtypeFileCloser closer(file);
  std::string line;
  for (int i = 0; i < GetNoLtype(); ++i) {
    formatHeader(*ltypes_[i], line);
    file.writeLn(line.c_str());
    formatPattern(*ltypes_[i], line);
    file.writeLn(line.c_str());
  }
  file.close();  // a write held back that fails shows here
}
