// linetypes/ltype_loader.cpp: CLtypeLoader's table, copies and reading. Load walks the file
// definition by definition: a header, then its pattern line. A faulty definition is reported
// once and dropped, and reading goes on at the next header; the end of the file ends the
// reading wherever it comes, keeping the definitions completed before it.
#include <veltcore/database/style.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/linetypes/ltype_loader.h>

#include <memory>

#include "linetypes/ltype_file_closer.h"
#include "linetypes/ltype_pattern.h"

namespace {

bool isHeader(const SmartString& line) {
  return line[0] == '*';
}

// The linetype of the definition whose pattern line is the lexer's current line, made by
// factory; raises CLtypeLoaderLoadError. seq is scratch space, emptied first.
std::unique_ptr<CLtype> readLtype(const CLtypeLoader::CFileLtypeLexer& lexer, const String& name,
                                  const String& desc,
                                  const veltcore::detail::LtypeStyleFinder& styles,
                                  CLtypeFactory& factory, CLtypeComplexDashSeq& seq) {
  seq.ClearDashes();
  if (lexer.IsDamaged()) throw CLtypeLoaderLoadError(name, CLtypeLoaderLoadError::kBadField);
  veltcore::detail::readLtypePattern(lexer.GetString().c_str(), name, styles, seq);
  return std::unique_ptr<CLtype>(factory.create(name, desc, seq, 0));
}

}  // namespace

CLtypeLoader::CLtypeLoader(const CStyleTable& styles, CLtypeFactory& factory)
    : styles_(styles), factory_(factory), notifier_(nullptr) {}

// Each copy is a new linetype whose text dashes add their own uses to the styles; a member-wise
// copy would share the originals, which both tables would delete.
CLtypeLoader::CLtypeLoader(const CLtypeLoader& src)
    : styles_(src.styles_), factory_(src.factory_), notifier_(src.notifier_) {
  for (int i = 0; i < src.GetNoLtype(); ++i) {
    std::unique_ptr<CLtype> copy(factory_.create(*src.ltypes_[i]));
    ltypes_.add(copy.get());
    copy.release();
  }
}

CLtypeLoader::~CLtypeLoader() = default;

const CLtype* CLtypeLoader::GetLtypeNo(int i) {
  return i >= 0 && i < GetNoLtype() ? ltypes_[i] : nullptr;
}

int CLtypeLoader::Load(const char* fileName) {
  ltypes_.clearAll();
  CFileStdLib file(fileName, IFile::kRead);
  try {
    file.open();
  } catch (const IFile::IFileNotFound&) {
    return -1;
  }
  veltcore::detail::LtypeFileCloser closer(file);
  CFileLtypeLexer lexer(file);
  try {
    readDefinitions(lexer, file.getName());
  } catch (const IFile::IFileEOF&) {
    // The end of the file, wherever it came: what was complete stays.
  }
  file.close();
  return 0;
}

void CLtypeLoader::readDefinitions(CFileLtypeLexer& lexer, const String& fileName) {
  using Error = CLtypeLoaderLoadError;
  const veltcore::detail::LtypeStyleFinder styles(styles_, notifier_);
  String name;
  String desc;
  CLtypeComplexDashSeq seq;  // shared by the definitions: its array is allocated once
  lexer.NextLine();
  for (;;) {
    if (!isHeader(lexer.GetString())) {  // between definitions: passed over
      lexer.NextLine();
      continue;
    }
    veltcore::detail::splitLtypeHeader(lexer.GetString().c_str(), name, desc);
    if (lexer.IsDamaged()) {  // the name may be cut short: the definition is not taken
      report(fileName, lexer.GetLine(), name, Error::kBadField);
      lexer.NextLine();
      continue;
    }
    lexer.NextLine();
    // A header where the pattern line should be: the definition above has none and is reported,
    // and the header is not passed over but starts the next definition, so that one missing
    // pattern line loses one linetype, not two.
    if (isHeader(lexer.GetString())) {
      report(fileName, lexer.GetLine(), name, Error::kNoPattern);
      continue;
    }
    try {
      std::unique_ptr<CLtype> ltype = readLtype(lexer, name, desc, styles, factory_, seq);
      if (ltype) ltypes_.add(ltype.get());
      ltype.release();
    } catch (const Error& e) {
      report(fileName, lexer.GetLine(), e.getName(), e.getCode());
    }
    lexer.NextLine();
  }
}

void CLtypeLoader::report(const String& fileName, long line, const String& name, long code) const {
  if (notifier_ != nullptr) notifier_->notifyError(fileName, line, name, code);
}
