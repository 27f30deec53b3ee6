// veltcore/dxf/out/saver.h: SaveDXF and CFileDXFOSaver, which write a drawing as an ASCII DXF
// file of version AC1009: HEADER, TABLES, BLOCKS, ENTITIES, EOF. The saver opens and closes
// the file itself; the drawing must not change while save() runs.
#pragma once

#include <veltcore/dxf/in/name_converter.h>
#include <veltcore/dxf/out/visitor.h>
#include <veltcore/dxf/out/writer.h>

class CData;
class IFile;

class CFileDXFOSaver {
 public:
  // Option bits of SaveDXF, in any combination.
  static constexpr unsigned int kFlat = 1;            // every Z of an entity point is 0
  static constexpr unsigned int kSkipFrozen = 2;      // ENTITIES skips frozen or off layers
  static constexpr unsigned int kSelectedOnly = 4;    // ENTITIES holds the selection only
  static constexpr unsigned int kNoHeaderTables = 8;  // no HEADER or TABLES section

  // Converts the drawing's names now: items added later are not known to this saver.
  CFileDXFOSaver(const CData& data, IFile& file, unsigned int flags);
  virtual ~CFileDXFOSaver();
  CFileDXFOSaver(const CFileDXFOSaver&) = delete;
  CFileDXFOSaver& operator=(const CFileDXFOSaver&) = delete;

  // Opens, writes every section, closes. IFile::IFileCantWrite from open() passes on with
  // nothing written; IFile::IFileDiskFull closes the file and passes on; any other exception
  // passes on with the file left open.
  void save();

 protected:
  void writeHeaders();
  void writeTables();
  void writeTableLtypes();
  void writeTableLayers();
  void writeTableStyles();
  void writeBlocks();
  void writeEntities();

  void write(long code, bool value);
  void write(long code, long value);
  void write(long code, double value);
  void write(long code, const char* value);
  void writeHex(long code, long value);

 private:
  const CData& data_;
  IFile& file_;
  CFileDXFOWriter writer_;
  CFileDXFOVisitor visitor_;
  CNameAcadConverter converter_;
  unsigned int flags_;
};

// Writes data to file with the option bits of CFileDXFOSaver.
void SaveDXF(const CData& data, IFile& file, unsigned int flags);
