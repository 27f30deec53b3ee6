// veltcore/dxf/in/parser.h: CFileDXFIParser, which reads an ASCII DXF file and hands what it
// recognises to a semantor, its error classes, and loadDXF. The parser never touches a drawing.
// Whatever goes wrong inside load(), only CFileDXFIParser::FileDXFException leaves it.
#pragma once

#include <cstdint>

#include <veltcore/core/string.h>
#include <veltcore/dxf/in/lexer.h>

class CData;
class CDataVariables;
class CEnt;
class CEntFactory;
class CFileDXFIVersionReader;
class IFile;
class IFileDXFISemantor;

class CFileDXFIParser {
 public:
  // The one exception load() lets out: where reading stopped and why.
  class FileDXFException {
   public:
    FileDXFException(const String& file, long number, long line, long param1, long param2);

    const String& getErrorFile() const { return file_; }
    long getErrorNumber() const { return number_; }
    // The line of the file read last (0 when the file could not be opened).
    long getErrorLine() const { return line_; }
    // Entity kind and mask of groups seen for error 11; 0 otherwise.
    long getParam1() const { return param1_; }
    long getParam2() const { return param2_; }
    // The user message of the error number, from the library's message table.
    String getErrorMessage() const;

   private:
    String file_;
    std::int32_t number_;
    std::int32_t line_;
    std::int32_t param1_;
    std::int32_t param2_;
  };

  class ParserError {};
  // The file's structure is not what DXF requires.
  class BadFileFormatParserError : public ParserError {};
  // A structural fault inside a hatch or a complex linetype element.
  class BadFileFormatHatchParserError : public BadFileFormatParserError {};
  // A version newer than AC1015.
  class FutureVersionNotSupportedError : public ParserError {};
  // A value out of its allowed range.
  class BadValueParserError : public ParserError {};
  // A record names a linetype the drawing does not have.
  class LtypeNotValidParserError : public ParserError {};
  // A STYLE record names a font the font table does not have.
  class FontNotValidParserError : public ParserError {};
  // An entity lacks a required group: its kind and the mask of the groups it had.
  class ReqAttrNotSpecifiedParserError : public ParserError {
   public:
    ReqAttrNotSpecifiedParserError(long kind, long mask);
    long getKind() const { return kind_; }
    long getMask() const { return mask_; }

   private:
    std::int32_t kind_;
    std::int32_t mask_;
  };
  // Has an error number of its own; no reader of this library raises it.
  class UndefinedVarParserError : public ParserError {};

  // file is opened and closed by load(); semantor and factory are not owned.
  CFileDXFIParser(IFile& file, IFileDXFISemantor& semantor, CEntFactory& factory);
  // Deletes the version reader.
  virtual ~CFileDXFIParser();
  CFileDXFIParser(const CFileDXFIParser&) = delete;
  CFileDXFIParser& operator=(const CFileDXFIParser&) = delete;

  // Reads the whole file once. Success ends with the semantor's transition(), failure with
  // its unrecovableError() and FileDXFException (a file that cannot be opened: error 2, and
  // the semantor is not told).
  void load();

 protected:
  // The lexer's operations.
  long read();
  long getGroupValue() const;
  const SmartString& getString() const;
  double getDouble() const;
  long getInt() const;
  long getHex() const;

  // One entity through the version reader; null for a type it skips.
  CEnt* readAnEntity();
  // Skips pairs up to the next group 0.
  void readEntityOther();
  // Sections until the pair 0/EOF, then the current layer, linetype and style.
  void readGlobal();
  void readHeader();
  // One header variable by the kind of its last value group; vars may be null.
  void readHeaderString(CDataVariables* vars, const String& name, const String& text);
  void readHeaderDouble(CDataVariables* vars, const String& name, const double* reals, int count);
  void readHeaderLong(CDataVariables* vars, const String& name, long value);
  void readTables();
  // Skips a table's own header groups up to its first group 0.
  void readPreambolo();
  void readTablesLtype();
  void readTablesLayer();
  void readTablesStyle();
  // Skips a table up to its ENDTAB pair.
  void readTablesOther();
  void readBlocks();
  void readEntities();
  // Skips a section up to its ENDSEC pair.
  void readOtherSection();

 private:
  IFile& file_;
  CFileDXFILexer lexer_;
  IFileDXFISemantor& semantor_;
  // The lexer's current value, held by reference: copy it before the next read() to keep it.
  const SmartString& value_;
  String curLtypeName_;
  String curLayerName_;
  String curStyleName_;
  short version_;
  CEntFactory& entFactory_;
  CFileDXFIVersionReader* reader_;

  // Creates the version reader of the current version code, once.
  void RealizeVersion();

  void readVersion(const String& text);
  void readHandleSeed(const String& text);
  void applyCurrentNames();
  void readLayerRecord();
  void readStyleRecord();
  void readBlockRecord();
  void handOver(CEnt* e);
  void closeAfterFailure();
};

// Reads file into data (normally a new drawing) through a CFileDXFILoadDataSemantor.
// Throws CFileDXFIParser::FileDXFException; the drawing then keeps what was read before.
void loadDXF(CData& data, IFile& file);
