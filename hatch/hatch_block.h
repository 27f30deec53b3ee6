// hatch/hatch_block.h: HatchBlock, the block a generation fills with line and point entities
// made through the entity factory. Until released it owns the block: on any early exit the
// handles booked for its entities are given back and the block is deleted with them.
#pragma once

#include <memory>

#include <veltcore/core/point.h>
#include <veltcore/database/block.h>

class CEnt;
class CEntFactory;
class CLayer;
class CLtype;
class IHandleGestor;

namespace veltcore::hatch {

// What every entity of the block is made with.
struct EntityStyle {
  CLayer* layer;
  CLtype* ltype;
  short color;
  double z;
};

class HatchBlock {
 public:
  // Takes block (not null).
  HatchBlock(CBlock* block, IHandleGestor& g, CEntFactory& ef, const EntityStyle& style);
  ~HatchBlock();
  HatchBlock(const HatchBlock&) = delete;
  HatchBlock& operator=(const HatchBlock&) = delete;

  // Each makes one entity with a fresh handle and appends it to the block. Throws
  // std::bad_alloc when the factory has no memory for it, the handle manager's exceptions
  // when no handle can be had.
  void addLine(const PNT_2D& from, const PNT_2D& to);
  void addPoint(const PNT_2D& at);

  // The block, now the caller's.
  CBlock* release() { return block_.release(); }

 private:
  std::unique_ptr<CBlock> block_;
  IHandleGestor& g_;
  CEntFactory& ef_;
  EntityStyle style_;

  void adopt(CEnt* e);
};

}  // namespace veltcore::hatch
