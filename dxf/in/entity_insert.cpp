// dxf/in/entity_insert.cpp: the INSERT record, with the ATTRIB records and SEQEND that follow it
// when it says attributes follow, or with the hatch data older files carry on it (then it is a
// hatch). A block named before its definition is made empty on demand and filled when the
// definition comes. An insert that fails after it was made is discarded with its attributes
// and their handles.
#include "dxf/in/version_readers.h"

#include <memory>
#include <new>
#include <optional>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/database/block.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/lexer.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>

#include "dxf/in/insert_hatch_data.h"
#include "dxf/in/pending_entities.h"

using veltcore::dxfin::kDegToRad;

namespace {

constexpr long kInsert = 8;
// Mask bits; group 8 (the layer) is bit 1.
constexpr long kX = 16;
constexpr long kY = 32;
constexpr long kBlockName = 64;

// Block flag 1: an anonymous block, as every generated hatch block is.
constexpr long kAnonymousBlock = 1;

// Owns an entity that has not been handed over; discarding gives its handles back.
using veltcore::dxfin::Discard;

}  // namespace

class CFileDXFIVersionReader::InsertReader {
 public:
  explicit InsertReader(CFileDXFIVersionReader& reader)
      : reader_(reader), common_(reader.beginEntity()) {}

  CEnt* read();

 private:
  CFileDXFIVersionReader& reader_;
  EntityCommon common_;
  String blockName_;
  PNT_3D pnt_{0.0, 0.0, 0.0};
  double sx_ = 1.0, sy_ = 1.0, sz_ = 1.0;
  double rotate_ = 0.0;
  long columns_ = 1, rows_ = 1;
  double columnSpacing_ = 0.0, rowSpacing_ = 0.0;
  bool attribsFollow_ = false;
  std::optional<veltcore::dxfin::InsertHatchData> hatch_;

  long readGroup(long g);
  void checkHatch() const;
  CBlock* block();
  CEnt* makeHatch(CBlock* block);
  CEntInsert* makeInsert(CBlock* block);
  void readAttributes(CEntInsert& insert);
};

CEnt* CFileDXFIVersionReader::readInsert() {
  return InsertReader(*this).read();
}

CEnt* CFileDXFIVersionReader::InsertReader::read() {
  for (long g = reader_.read(); g != 0;) g = readGroup(g);
  reader_.endEntity(common_, kInsert, 0x71);
  if (hatch_) checkHatch();
  CBlock* b = block();
  if (hatch_) return makeHatch(b);

  std::unique_ptr<CEntInsert, Discard> insert(
      makeInsert(b), Discard{&reader_.entFactory(), &reader_.semantor().getHandleGestor()});
  if (attribsFollow_) readAttributes(*insert);
  return insert.release();
}

// Takes the current pair (group g) and returns the group of the next one not yet taken: hatch
// data reads ahead.
long CFileDXFIVersionReader::InsertReader::readGroup(long g) {
  switch (g) {
    case 2:
      if (reader_.value().size() == 0) throw CFileDXFILexer::LexerErrorEmptyValue();
      blockName_ = reader_.value().c_str();
      common_.mask |= kBlockName;
      break;
    case 10:
      pnt_.setX(reader_.getDouble());
      common_.mask |= kX;
      break;
    case 20:
      pnt_.setY(reader_.getDouble());
      common_.mask |= kY;
      break;
    case 30:
      pnt_.setZ(reader_.getDouble());
      break;
    case 41:
      sx_ = reader_.getDouble();
      break;
    case 42:
      sy_ = reader_.getDouble();
      break;
    case 43:
      sz_ = reader_.getDouble();
      break;
    case 50:
      rotate_ = reader_.getDouble() * kDegToRad;
      break;
    case 70:
      columns_ = reader_.getInt();
      break;
    case 71:
      rows_ = reader_.getInt();
      break;
    case 44:
      columnSpacing_ = reader_.getDouble();
      break;
    case 45:
      rowSpacing_ = reader_.getDouble();
      break;
    case 66:
      attribsFollow_ = reader_.getInt() != 0;
      break;
    case 1001:
      if (reader_.hatchOnInsert()) return HatchDataReader(reader_).readXData(hatch_);
      break;
    default:
      reader_.readCommonGroup(common_);
  }
  return reader_.read();
}

// The data must belong to this insert (when both name a handle), and a hatch has no attributes.
void CFileDXFIVersionReader::InsertReader::checkHatch() const {
  if (hatch_->handle != 0 && common_.handle != 0 && hatch_->handle != common_.handle)
    throw CFileDXFIParser::BadValueParserError();
  if (attribsFollow_) throw CFileDXFIParser::BadFileFormatParserError();
}

// The named block, or an empty one made now for a definition still to come; boxes then need
// recomputing once the BLOCKS section is read.
CBlock* CFileDXFIVersionReader::InsertReader::block() {
  IFileDXFISemantor& semantor = reader_.semantor();
  if (CBlock* b = semantor.getBlock(blockName_)) return b;
  CBlock* b = semantor.createBlockHurried(blockName_, hatch_ ? kAnonymousBlock : 0);
  if (b == nullptr) throw IFileDXFISemantor::SemantorError();
  reader_.setBlockCreatedOnDemand();
  return b;
}

// A hatch keeps the block as it is: only a generated block (anonymous, not a reference) fits.
CEnt* CFileDXFIVersionReader::InsertReader::makeHatch(CBlock* block) {
  if ((block->getFlags() & kAnonymousBlock) == 0 || block->isXRef())
    throw CFileDXFIParser::BadFileFormatParserError();
  IFileDXFISemantor& semantor = reader_.semantor();
  return reader_.entFactory().createEntHatch(
      semantor.getHandleGestor(), common_.layer, common_.ltype, common_.color, block,
      *hatch_->pattern, hatch_->scale, hatch_->angle, hatch_->boundary, common_.handle);
}

// Groups 70 and 71 are columns and rows; the factory takes rows first.
CEntInsert* CFileDXFIVersionReader::InsertReader::makeInsert(CBlock* block) {
  IFileDXFISemantor& semantor = reader_.semantor();
  CEntFactory& factory = reader_.entFactory();
  const EntityCommon& c = common_;
  CEntInsert* insert =
      block->isXRef() ? factory.createEntInsertXRef(
                            semantor.getHandleGestor(), c.layer, c.ltype, c.color,
                            semantor.getDepend(), static_cast<CBlockXRef*>(block), pnt_, sx_, sy_,
                            sz_, rotate_, rows_, columns_, columnSpacing_, rowSpacing_, c.handle)
                      : factory.createEntInsert(semantor.getHandleGestor(), c.layer, c.ltype,
                                                c.color, block, pnt_, sx_, sy_, sz_, rotate_, rows_,
                                                columns_, columnSpacing_, rowSpacing_, c.handle);
  // Attributes may follow, and they need their insert.
  if (insert == nullptr) throw std::bad_alloc();
  return insert;
}

// ATTRIB records up to the SEQEND record, which is skipped.
void CFileDXFIVersionReader::InsertReader::readAttributes(CEntInsert& insert) {
  const Discard discard{&reader_.entFactory(), &reader_.semantor().getHandleGestor()};
  while (reader_.value().equal_ci("ATTRIB")) {
    CEntAttrib* a = reader_.readAttrib(insert);
    try {
      insert.add(a);
    } catch (...) {
      discard(a);
      throw;
    }
  }
  if (!reader_.value().equal_ci("SEQEND")) throw CFileDXFIParser::BadFileFormatParserError();
  reader_.skipRecord();
}
