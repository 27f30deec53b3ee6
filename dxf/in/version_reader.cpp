// dxf/in/version_reader.cpp: what both version readers share: access to the lexer, the
// dispatch of entity types, and the groups and ending of an LTYPE record.
// The three built-in linetype names are never created from a file: every drawing has them.
#include "dxf/in/version_readers.h"

#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/lexer.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/linetypes/linetype.h>

#include "core/text.h"

namespace {

constexpr long kReferenced = 64;
constexpr long kXRefDependent = 16;
// Group 72 of an LTYPE record: the only alignment DXF defines, the letter A.
constexpr long kAlignA = 65;

}  // namespace

CFileDXFIVersionReader::CFileDXFIVersionReader(CFileDXFILexer& lexer, IFileDXFISemantor& semantor,
                                               CEntFactory& factory, bool hatchOnInsert)
    : lexer_(lexer),
      semantor_(semantor),
      entFactory_(factory),
      value_(lexer.getString()),
      blockCreatedOnDemand_(false),
      hatchOnInsert_(hatchOnInsert) {}

CFileDXFIVersionReader::~CFileDXFIVersionReader() = default;

long CFileDXFIVersionReader::read() {
  return lexer_.read();
}

long CFileDXFIVersionReader::group() const {
  return lexer_.getGroupValue();
}

double CFileDXFIVersionReader::getDouble() const {
  return lexer_.getDouble();
}

long CFileDXFIVersionReader::getInt() const {
  return lexer_.getInt();
}

long CFileDXFIVersionReader::getHex() const {
  return lexer_.getHex();
}

void CFileDXFIVersionReader::skipRecord() {
  while (read() != 0) {
  }
}

CEnt* CFileDXFIVersionReader::dispatchEntity(const EntityKind* kinds, std::size_t count) {
  // Most kinds are told apart by the first letter alone, folded as equal_ci folds it.
  const char first = veltcore::text::foldCase(value_.c_str()[0]);
  for (std::size_t i = 0; i < count; ++i) {
    if (veltcore::text::foldCase(kinds[i].name[0]) == first && value_.equal_ci(kinds[i].name))
      return (this->*kinds[i].read)();
  }
  skipRecord();
  return nullptr;
}

void CFileDXFIVersionReader::readLtypeGroup(LtypeRecord& r) {
  switch (group()) {
    case 2:
      r.name = value_.c_str();
      break;
    case 3:
      r.description = value_.c_str();
      break;
    case 72:
      if (getInt() != kAlignA) throw CFileDXFIParser::BadFileFormatParserError();
      break;
    case 70:
      r.flags = getInt() & ~kReferenced;
      break;
    default:
      break;
  }
}

void CFileDXFIVersionReader::finishLtype(LtypeRecord& r) {
  if (r.name.equal("continuous") || r.name.equal("byblock") || r.name.equal("bylayer")) return;
  if ((r.flags & kXRefDependent) == 0) {
    semantor_.createLtype(r.name, r.description, r.dashes, r.flags);
    return;
  }
  String xref, item;
  if (!scomposeName(r.name, xref, item)) throw CFileDXFIParser::BadFileFormatParserError();
  semantor_.createLtypeXRef(xref, item, r.description, r.dashes, r.flags);
}
