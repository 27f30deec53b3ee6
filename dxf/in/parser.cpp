// dxf/in/parser.cpp: the frame of CFileDXFIParser: load() with its error classification, the
// section loop, the ENTITIES section and the choice of the version reader.
// Every exception raised while reading becomes one FileDXFException after the file is closed.
#include <veltcore/dxf/in/parser.h>

#include <veltcore/database/data.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity.h>

#include "dxf/in/pending_entities.h"
#include "dxf/in/version_readers.h"

namespace {

// The error number of the exception being handled, trying the classes in this order so that
// a derived class takes the number of its first listed base. Call only inside a handler.
long classifyCurrentException(long& param1, long& param2) {
  try {
    throw;
  } catch (const IFile::IFileEOF&) {
    return 4;
  } catch (const IFile::IFileIOError&) {
    return 3;
  } catch (const CFileDXFILexer::LexerErrorBadFormat&) {
    return 5;
  } catch (const CFileDXFILexer::LexerErrorEmptyValue&) {
    return 6;
  } catch (const CFileDXFILexer::LexerError&) {
    return 4;  // an empty group code line: the file was cut short
  } catch (const CFileDXFIParser::BadFileFormatParserError&) {
    return 7;
  } catch (const CFileDXFIParser::UndefinedVarParserError&) {
    return 8;
  } catch (const CFileDXFIParser::BadValueParserError&) {
    return 9;
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
    return 10;
  } catch (const CFileDXFIParser::ReqAttrNotSpecifiedParserError& e) {
    param1 = e.getKind();
    param2 = e.getMask();
    return 11;
  } catch (const CFileDXFIParser::LtypeNotValidParserError&) {
    return 12;
  } catch (const CFileDXFIParser::FontNotValidParserError&) {
    return 13;
  } catch (const IFileDXFISemantor::SemantorError&) {
    return 14;
  } catch (const CFileDXFIParser::FutureVersionNotSupportedError&) {
    return 15;
  } catch (...) {
    return 1;
  }
}

}  // namespace

CFileDXFIParser::CFileDXFIParser(IFile& file, IFileDXFISemantor& semantor, CEntFactory& factory)
    : file_(file),
      lexer_(file),
      semantor_(semantor),
      value_(lexer_.getString()),
      curLtypeName_("ByLayer"),
      curLayerName_("0"),
      curStyleName_("Standard"),
      version_(0),
      entFactory_(factory),
      reader_(nullptr) {}

CFileDXFIParser::~CFileDXFIParser() {
  delete reader_;
}

void CFileDXFIParser::load() {
  try {
    file_.open();
  } catch (const IFile::IFileNotFound&) {
    throw FileDXFException(file_.getName(), 2, 0, 0, 0);
  } catch (...) {
    // Any other failure to open is reported by its class, still before the semantor hears
    // of the file.
    long param1 = 0, param2 = 0;
    const long number = classifyCurrentException(param1, param2);
    throw FileDXFException(file_.getName(), number, 0, param1, param2);
  }

  long number = 1, param1 = 0, param2 = 0;
  try {
    readGlobal();
    file_.close();
    semantor_.transition();
    return;
  } catch (const FileDXFException&) {
    // A nested read (an external reference loaded on the way) has reported already.
    closeAfterFailure();
    throw;
  } catch (...) {
    number = classifyCurrentException(param1, param2);
  }
  closeAfterFailure();
  throw FileDXFException(file_.getName(), number, lexer_.getLine(), param1, param2);
}

long CFileDXFIParser::read() {
  return lexer_.read();
}

long CFileDXFIParser::getGroupValue() const {
  return lexer_.getGroupValue();
}

const SmartString& CFileDXFIParser::getString() const {
  return lexer_.getString();
}

double CFileDXFIParser::getDouble() const {
  return lexer_.getDouble();
}

long CFileDXFIParser::getInt() const {
  return lexer_.getInt();
}

long CFileDXFIParser::getHex() const {
  return lexer_.getHex();
}

CEnt* CFileDXFIParser::readAnEntity() {
  return reader_->readEntity();
}

void CFileDXFIParser::readEntityOther() {
  while (read() != 0) {
  }
}

void CFileDXFIParser::readGlobal() {
  for (;;) {
    if (read() != 0) throw BadFileFormatParserError();
    if (value_.equal_ci("EOF")) break;
    if (!value_.equal_ci("SECTION")) throw BadFileFormatParserError();
    if (read() != 2) throw BadFileFormatParserError();
    if (value_.equal_ci("HEADER")) {
      readHeader();
    } else if (value_.equal_ci("TABLES")) {
      readTables();
    } else if (value_.equal_ci("BLOCKS")) {
      readBlocks();
    } else if (value_.equal_ci("ENTITIES")) {
      readEntities();
    } else {
      readOtherSection();
    }
  }
  applyCurrentNames();
}

void CFileDXFIParser::readEntities() {
  RealizeVersion();
  if (read() != 0) throw BadFileFormatParserError();
  while (!value_.equal_ci("ENDSEC")) {
    CEnt* e = readAnEntity();
    if (e != nullptr) handOver(e);
  }
}

void CFileDXFIParser::readOtherSection() {
  while (read() != 0 || !value_.equal_ci("ENDSEC")) {
  }
}

void CFileDXFIParser::RealizeVersion() {
  if (reader_ != nullptr) return;
  switch (version_) {
    case 0:
    case 1:
      reader_ = new CFileDXFIVersionReaderAC1009(lexer_, semantor_, entFactory_);
      break;
    case 2:
      reader_ = new CFileDXFIVersionReaderAC1012(lexer_, semantor_, entFactory_);
      break;
    case 3:
      reader_ = new CFileDXFIVersionReaderAC1014(lexer_, semantor_, entFactory_);
      break;
    case 4:
      reader_ = new CFileDXFIVersionReaderAC1015(lexer_, semantor_, entFactory_);
      break;
    default:
      throw FutureVersionNotSupportedError();
  }
}

// The names from $CLAYER, $CELTYPE and $TEXTSTYLE apply only now that the tables are read; a
// name that does not resolve leaves the current setting as it was.
void CFileDXFIParser::applyCurrentNames() {
  if (!semantor_.shouldReadHeaders()) return;
  CDataVariables* vars = semantor_.getVars();
  if (vars == nullptr) return;
  if (CLayer* layer = semantor_.getLayer(curLayerName_)) vars->setCurLayer(layer);
  if (CLtype* ltype = semantor_.getLtype(curLtypeName_)) vars->setCurLtype(ltype);
  if (CStyle* style = semantor_.getStyle(curStyleName_)) vars->setCurStyle(style);
}

// An entity the semantor refuses (its add throws) is still ours: it is discarded.
void CFileDXFIParser::handOver(CEnt* e) {
  try {
    semantor_.add(e);
  } catch (...) {
    veltcore::dxfin::discardEntity(entFactory_, semantor_.getHandleGestor(), e);
    throw;
  }
}

// Neither closing nor the semantor's clean-up may replace the error being reported.
void CFileDXFIParser::closeAfterFailure() {
  try {
    file_.close();
  } catch (...) {
  }
  try {
    semantor_.unrecovableError();
  } catch (...) {
  }
}
