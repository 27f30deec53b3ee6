// dxf/in/version_readers.h (internal): the DXF version readers, which read LTYPE records and
// entities through the parser's lexer; AC1009/AC1012 behave the older way, AC1014/AC1015 the
// newer. Every reader leaves the lexer on the group 0 pair that follows the record it read.
#pragma once

#include <cstddef>

#include <veltcore/core/string.h>
#include <veltcore/linetypes/dash.h>

#include "dxf/in/name_cache.h"

class CEnt;
class CEntAttrib;
class CEntFactory;
class CEntInsert;
class CFileDXFILexer;
class CLayer;
class CLtype;
class IFileDXFISemantor;

namespace veltcore::dxfin {

// Degrees in DXF files become radians with this factor, the one the reader has always used
// rather than the full-precision pi / 180, so that drawings read back to the same values.
inline constexpr double kDegToRad = 0.01745329251994;

}  // namespace veltcore::dxfin

class CFileDXFIVersionReader {
 public:
  // Reads one LTYPE record, from the pair after its 0/LTYPE up to the next group 0, and hands
  // it to the semantor.
  virtual void readLtype() = 0;
  // Reads one entity, called on the group 0 pair naming its type; null for a skipped type.
  // The entity belongs to the caller.
  virtual CEnt* readEntity() = 0;
  virtual ~CFileDXFIVersionReader();
  CFileDXFIVersionReader(const CFileDXFIVersionReader&) = delete;
  CFileDXFIVersionReader& operator=(const CFileDXFIVersionReader&) = delete;

  // An insert named a block not yet defined, so block boundaries need recomputing.
  bool blockCreatedOnDemand() const { return blockCreatedOnDemand_; }
  // Whether INSERT records may carry hatch data (older files).
  bool hatchOnInsert() const { return hatchOnInsert_; }

 protected:
  // One entity type and its reader, for the dispatch tables of the derived readers.
  using EntityReader = CEnt* (CFileDXFIVersionReader::*)();
  struct EntityKind {
    const char* name;
    EntityReader read;
  };

  // The fields every entity record shares: layer (group 8), linetype (6), handle (5),
  // colour (62), and the mask of the groups seen.
  struct EntityCommon {
    CLayer* layer;
    CLtype* ltype;
    long handle;
    short color;
    long mask;
  };

  // An LTYPE record as far as it has been read.
  struct LtypeRecord {
    String name;
    String description;
    CLtypeComplexDashSeq dashes;
    long flags = 0;
  };

  CFileDXFIVersionReader(CFileDXFILexer& lexer, IFileDXFISemantor& semantor, CEntFactory& factory,
                         bool hatchOnInsert);

  IFileDXFISemantor& semantor() const { return semantor_; }
  CEntFactory& entFactory() const { return entFactory_; }
  const SmartString& value() const { return value_; }
  void setBlockCreatedOnDemand() { blockCreatedOnDemand_ = true; }

  long read();
  long group() const;
  double getDouble() const;
  long getInt() const;
  long getHex() const;
  // Reads pairs up to the next group 0.
  void skipRecord();

  // Calls the reader of kinds whose name equals the current value ignoring case; any other
  // type is skipped and gives null.
  CEnt* dispatchEntity(const EntityKind* kinds, std::size_t count);

  // Groups 2, 3, 72 and 70 of an LTYPE record; any other group is ignored.
  void readLtypeGroup(LtypeRecord& r);
  // The end of an LTYPE record: the built-in names are dropped, the others created.
  void finishLtype(LtypeRecord& r);

  // Fresh common fields: no layer, the by-layer linetype, handle 0, colour by layer.
  EntityCommon beginEntity();
  // Groups 5, 6, 8 and 62; any other group is skipped.
  void readCommonGroup(EntityCommon& c);
  // The layer must be set, then the mask must equal the required one.
  void endEntity(const EntityCommon& c, long kind, long required) const;
  // Groups 1i, 2i and 3i are X, Y and Z of corner i (0 <= i < count); X and Y set the mask
  // bits 16 and 32 shifted two places per corner. False, with nothing read, for other groups.
  bool readCornerGroup(long g, PNT_3D* corners, int count, long& mask);

  CEnt* readPoint();
  CEnt* readLine();
  CEnt* readCircle();
  CEnt* readArc();
  CEnt* read3DFace();

  // TEXT and ATTDEF records, and the ATTRIB records of an INSERT (entity_text.cpp). The text
  // groups they share set the mask bits 16 and 32 (insertion point) and 64 (height).
  struct TextRecord;
  bool readTextGroup(TextRecord& r, long& mask);
  CEnt* readText();
  CEnt* readAttdef();
  // Its placement, read in drawing coordinates, is carried into insert's own.
  CEntAttrib* readAttrib(const CEntInsert& insert);

  // INSERT records with their attributes (entity_insert.cpp), and the hatch data that older
  // files carry on an INSERT as extended data (insert_hatch_data.h).
  class InsertReader;
  class HatchDataReader;
  CEnt* readInsert();
  // POLYLINE with its VERTEX records up to SEQEND; LWPOLYLINE; HATCH (newer files only).
  CEnt* readPolyline();
  CEnt* readLwPolyline();
  CEnt* readHatch();
  // The parts of the POLYLINE and HATCH readers, defined beside them.
  class PolylineReader;
  class HatchReader;

 private:
  CFileDXFILexer& lexer_;
  IFileDXFISemantor& semantor_;
  CEntFactory& entFactory_;
  const SmartString& value_;
  bool blockCreatedOnDemand_;
  const bool hatchOnInsert_;
  veltcore::dxfin::NameCache<CLayer> layers_;
  veltcore::dxfin::NameCache<CLtype> ltypes_;

  // The layer a record names, from the cache or through layerOf.
  CLayer* namedLayer(const char* name);
  CLayer* layerOf(const String& name);
  CLayer* xrefLayer(const String& xref, const String& item);
};

// Versions 0 to 2: LTYPE records of plain dashes only; LWPOLYLINE and HATCH are skipped.
class CFileDXFIVersionReaderAC1009 : public CFileDXFIVersionReader {
 public:
  CFileDXFIVersionReaderAC1009(CFileDXFILexer& lexer, IFileDXFISemantor& semantor,
                               CEntFactory& factory);

  void readLtype() override;
  CEnt* readEntity() override;
};

class CFileDXFIVersionReaderAC1012 : public CFileDXFIVersionReaderAC1009 {
 public:
  using CFileDXFIVersionReaderAC1009::CFileDXFIVersionReaderAC1009;
};

// Versions 3 and 4: LTYPE records with complex (text and shape) elements.
class CFileDXFIVersionReaderAC1014 : public CFileDXFIVersionReader {
 public:
  CFileDXFIVersionReaderAC1014(CFileDXFILexer& lexer, IFileDXFISemantor& semantor,
                               CEntFactory& factory);

  void readLtype() override;
  CEnt* readEntity() override;

 private:
  void readComplexElement(LtypeRecord& r, long type);
  void expectGroup(long code);
};

class CFileDXFIVersionReaderAC1015 : public CFileDXFIVersionReaderAC1014 {
 public:
  using CFileDXFIVersionReaderAC1014::CFileDXFIVersionReaderAC1014;
};
