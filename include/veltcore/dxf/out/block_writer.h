// veltcore/dxf/out/block_writer.h: CFileDXFOBlockWriter, the block operation that writes one
// BLOCK ... ENDBLK record with the block's entities. Run it through the block graph's
// visitUndep so that each block follows the blocks it inserts.
#pragma once

#include <veltcore/database/block_graph.h>

class CBlock;
class CFileDXFOVisitor;
class CFileDXFOWriter;
class CNameAcadConverter;

class CFileDXFOBlockWriter : public IBlockOperation {
 public:
  CFileDXFOBlockWriter(CFileDXFOWriter& writer, CFileDXFOVisitor& visitor,
                       CNameAcadConverter& converter);

  // The base point is always written as the origin: entities are stored relative to it.
  void doOperation(CBlock& b) override;

 private:
  CFileDXFOWriter& writer_;
  CFileDXFOVisitor& visitor_;
  CNameAcadConverter& converter_;
};
