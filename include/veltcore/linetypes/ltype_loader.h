// veltcore/linetypes/ltype_loader.h: linetype library files. CLtypeLoader reads a text file of
// linetype definitions into a table of its own, from which a host copies the linetypes it wants
// into a drawing, and writes such a table back. Reading is tolerant: a faulty definition is
// reported to an optional notifier and skipped, and reading goes on with the next one.
//
// The file holds one definition per pair of lines; line ends are CR LF or LF, trailing blanks
// and tabs do not count, blank lines and lines beginning with ";;" are skipped:
//   *NAME,description
//   A,0.5,-0.25,["GAS",STANDARD,S=0.1,R=0,X=-0.1,Y=-0.05],-0.25
// A pattern is the letter A and at least two elements: lengths (positive drawn, negative a gap,
// 0 a dot) and text elements ["text",style,attributes] with the attributes S (height), R
// (rotation in degrees), X and Y (offset from the dash position).
#pragma once

#include <veltcore/core/string.h>
#include <veltcore/database/named_item.h>
#include <veltcore/linetypes/linetype.h>

class CStyle;
class CStyleTable;
class IFile;

// A faulty definition met while reading: the linetype's name and one of the codes below.
// Thrown and caught inside CLtypeLoader::Load; a host sees it only through the notifier.
class CLtypeLoaderLoadError {
 public:
  // The pattern line does not begin with the field "A" (or is missing: a header came instead).
  static constexpr long kNoPattern = 1;
  // A missing or empty field, a malformed text element, or a line that could not be read
  // whole (longer than the line buffer, or holding a NUL byte).
  static constexpr long kBadField = 2;
  // The style of a text element is unknown.
  static constexpr long kUnknownStyle = 3;
  // Fewer than two elements.
  static constexpr long kTooFewDashes = 4;
  // The quoted text of a text element is malformed.
  static constexpr long kBadText = 5;
  // The first element is a negative length.
  static constexpr long kNegativeFirst = 6;
  // The first element is a text element.
  static constexpr long kTextFirst = 7;

  CLtypeLoaderLoadError(const String& name, long code) : name_(name), code_(code) {}

  const String& getName() const { return name_; }
  long getCode() const { return code_; }

 private:
  String name_;
  long code_;
};

class CLtypeLoader {
 public:
  // Implemented by the host to hear of faulty definitions and to supply styles.
  class IErrorNotifier {
   public:
    // One faulty definition: the file, the number of lines read so far, the linetype's name and
    // its CLtypeLoaderLoadError code.
    virtual void notifyError(const String& fileName, long line, const String& ltypeName,
                             long code) = 0;
    // A style the loader's style table does not have; null when the host has none either. The
    // style must outlive every linetype that uses it.
    virtual CStyle* findStyle(const String& styleName) = 0;

   protected:
    ~IErrorNotifier() = default;
  };

  // Cuts a library file into lines through an IFile: each line with its line end, CRs, blanks
  // and tabs removed from its end, blank lines and ";;" comments passed over (they still count).
  class CFileLtypeLexer {
   public:
    // Characters of the line buffer, the terminating NUL included.
    static constexpr long kLineSize = 4096;

    // file must be open for reading.
    explicit CFileLtypeLexer(IFile& file);
    CFileLtypeLexer(const CFileLtypeLexer&) = delete;
    CFileLtypeLexer& operator=(const CFileLtypeLexer&) = delete;

    // Reads the next line that is neither blank nor a comment; IFile::IFileEOF at the end of
    // the file, and again on every later call.
    void NextLine();
    // The current line, trimmed; valid until the next NextLine.
    SmartString GetString() const { return SmartString(line_); }
    // The lines read so far, blank, comment and overlong lines each counted once.
    long GetLine() const { return lines_; }
    // Whether the current line could not be read as it stands: longer than kLineSize - 1
    // characters once trimmed (the text holds the first part, the rest was passed over), or
    // holding a NUL byte (the text ends before it).
    bool IsDamaged() const { return damaged_; }

   private:
    IFile& file_;
    // Every byte past the last chunk read is kSentinel, so the last NUL in the buffer is the
    // one readLn wrote: the chunk's length shows even when the chunk holds NUL bytes.
    char line_[kLineSize];
    char spill_[kLineSize];
    long lineChunk_;
    long spillChunk_;
    long lines_;
    bool damaged_;
    bool atEnd_;

    // Reads the next physical line into line_, passing over the rest of an overlong one.
    void readPhysicalLine();
    // One readLn into buffer. chunk, the length of the previous chunk there, says how much to
    // refill with kSentinel first; it becomes the new chunk's length, which is returned.
    long readChunk(char* buffer, long& chunk);
    // Reads what is left of an overlong line; whether any of it is more than trailing blanks.
    bool passOverRest();
  };

  // Text dashes find their styles in styles; linetypes are made by factory. Both must outlive
  // the loader, and the styles must outlive every loaded linetype.
  CLtypeLoader(const CStyleTable& styles, CLtypeFactory& factory);
  // Copies every loaded linetype through the factory (so every text dash counts once more on its
  // style); the style table, factory and notifier are shared.
  CLtypeLoader(const CLtypeLoader& src);
  // Deleted: the style table and the factory are references that cannot be reseated, and
  // copying linetypes whose dashes use one style table under a loader tied to another would
  // mix the two.
  CLtypeLoader& operator=(const CLtypeLoader&) = delete;
  // Destroys the loaded linetypes, releasing their styles.
  virtual ~CLtypeLoader();

  // Empties the table, then reads fileName. 0 when the file was read to its end (faulty
  // definitions are reported and skipped), -1 when it cannot be opened. Other IFile failures
  // (a read error) pass to the caller, with the definitions read until then kept.
  int Load(const char* fileName);
  // Writes every loaded linetype to fileName, created or truncated. IFile exceptions pass to
  // the caller.
  void Save(const char* fileName);

  int GetNoLtype() const { return static_cast<int>(ltypes_.size()); }
  // The i-th loaded linetype; null when i is out of range.
  const CLtype* GetLtypeNo(int i);
  CNamedItemTable<CLtype>& GetTable() { return ltypes_; }
  const CNamedItemTable<CLtype>& GetTable() const { return ltypes_; }

  // notifier is not owned; null stops the reports (and the style requests).
  void SetNotifier(IErrorNotifier* notifier) { notifier_ = notifier; }

 private:
  CNamedItemTable<CLtype> ltypes_;
  const CStyleTable& styles_;
  CLtypeFactory& factory_;
  IErrorNotifier* notifier_;

  // Reads definitions until the lexer raises IFileEOF.
  void readDefinitions(CFileLtypeLexer& lexer, const String& fileName);
  void report(const String& fileName, long line, const String& name, long code) const;
};
