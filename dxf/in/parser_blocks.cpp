// dxf/in/parser_blocks.cpp: the BLOCKS section: each BLOCK record with its entities becomes a
// block or an external reference through the semantor; layout blocks and empty anonymous
// blocks are dropped. Entities not handed over are discarded with their handles.
#include <veltcore/dxf/in/parser.h>

#include <veltcore/core/point.h>
#include <veltcore/database/block.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/database/block_table.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/insert.h>

#include "core/text.h"
#include "dxf/in/pending_entities.h"
#include "dxf/in/version_readers.h"

namespace {

constexpr long kAnonymous = 1;
constexpr long kXRef = 4;

// "*Model_Space", "*Paper_Space0" and the like: the layouts of newer files, which hold
// nothing a drawing of this library keeps.
// prefix is lower case; s may be shorter than it.
bool startsWithNoCase(const char* s, const char* prefix) {
  for (; *prefix != '\0'; ++s, ++prefix)
    if (veltcore::text::foldCase(*s) != *prefix) return false;
  return true;
}

bool isLayoutBlock(const String& name) {
  if (name.size() < 1) return false;
  const char* rest = name.c_str() + 1;
  return startsWithNoCase(rest, "model_space") || startsWithNoCase(rest, "paper_space");
}

// Widens each block's box by the boxes of its inserts, once the blocks those inserts name
// (made on demand, filled later) have their contents.
class InsertBoundsOperation final : public IBlockOperation {
 public:
  void doOperation(CBlock& block) override {
    for (CBlock::CInsertIterator it(block); *it != nullptr; ++it) {
      CEntInsert* insert = *it;
      insert->calcBdry();
      block.getBdry().updateRegion(insert->getBdry());
    }
  }
};

}  // namespace

void CFileDXFIParser::readBlocks() {
  RealizeVersion();
  if (read() != 0) throw BadFileFormatParserError();
  while (!value_.equal_ci("ENDSEC")) readBlockRecord();
  if (reader_->blockCreatedOnDemand()) {
    InsertBoundsOperation op;
    semantor_.getBlockTable().getBlockGraph().visitUndep(op);
  }
}

void CFileDXFIParser::readBlockRecord() {
  // 1. The BLOCK record's own groups.
  String name, path;
  PNT_3D base(0.0, 0.0, 0.0);
  long flags = 0;
  while (read() != 0) {
    switch (getGroupValue()) {
      case 2:
        name = value_.c_str();
        break;
      case 1:
        path = value_.c_str();
        break;
      case 10:
        base.setX(getDouble());
        break;
      case 20:
        base.setY(getDouble());
        break;
      case 30:
        base.setZ(getDouble());
        break;
      case 70:
        flags = getInt();
        break;
      default:
        break;
    }
  }

  // 2. Its entities, up to the ENDBLK record, which is skipped.
  veltcore::dxfin::PendingEntities entities(entFactory_, semantor_.getHandleGestor());
  while (!value_.equal_ci("ENDBLK")) {
    if (CEnt* e = readAnEntity()) entities.append(e);
  }
  readEntityOther();

  // 3. Layouts and empty anonymous blocks are dropped with their entities.
  if (isLayoutBlock(name)) return;
  if (name.size() > 0 && name[0] == '*' && entities.empty() && (flags & kAnonymous) == 0) return;

  // 4. An external reference takes no entities from the file that names it: any are dropped.
  if ((flags & kXRef) != 0) {
    semantor_.createBlockXRef(name, path, base, flags);
  } else {
    semantor_.createBlock(name, base, flags, entities.list());
  }
}
