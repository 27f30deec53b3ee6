// hatch/ent_hatch.cpp: CEntHatch: construction (with a ready block, generating one, cloning one),
// the visit, and redefine, which swaps the generated block for a new one in the block table.
#include <veltcore/hatch/ent_hatch.h>

#include <memory>
#include <new>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/hatch/pattern.h>

namespace {

const PNT_3D kOrigin(0, 0, 0);

std::vector<PNT_3D> compacted(const std::vector<PNT_3D>& boundary) {
  std::vector<PNT_3D> out;
  _hatch_compactVertex(boundary, out);
  return out;
}

}  // namespace

CEntHatch::CEntHatch(long handle, CLayer* layer, CLtype* ltype, short color, CBlock* block,
                     const HATCH_TYPE& type, double scale, double angle,
                     const std::vector<PNT_3D>& boundary)
    : CEntInsert(handle, layer, ltype, color, block, kOrigin, 1, 1, 1, 0, 1, 1, 0, 0),
      scale_(scale),
      angle_(angle),
      boundary_(compacted(boundary)),
      type_(&type) {}

CEntHatch::CEntHatch(long handle, CLayer* layer, CLtype* ltype, short color,
                     const String& blockName, const HATCH_TYPE& type, double scale, double angle,
                     const std::vector<PNT_3D>& boundary, CData& d)
    : CEntHatch(handle, layer, ltype, color, nullptr, type, scale, angle, boundary) {
  setBlock(createHatch(blockName, type, scale, angle, boundary_, d));
  calcBdry();
}

// The clones of the block's entities take fresh handles after the hatch's own, in block order.
CEntHatch::CEntHatch(IHandleGestor& g, CEntFactory& f, CBlockFactory& bf, CBlockTable& bt,
                     const CEntHatch& src, long handle)
    : CEntInsert(g, f, src, handle),
      scale_(src.scale_),
      angle_(src.angle_),
      boundary_(src.boundary_),
      type_(src.type_) {
  std::unique_ptr<CBlock> block(bf.create(getHatchName(bt), kOrigin, 1));
  if (block == nullptr) throw std::bad_alloc();
  if (const CBlock* from = src.getBlock()) {
    for (int i = 0; i < from->size(); ++i) {
      CEnt* copy = f.clone(g, bf, bt, *(*from)[i]);
      if (copy == nullptr) throw std::bad_alloc();
      block->add(copy);
    }
  }
  bt.add(block.get());
  setBlock(block.release());
  calcBdry();
}

void CEntHatch::accept(IEntVisitor& v) {
  v.visit(*this);
}

CEnt* CEntHatch::clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
                       long handle) const {
  return new CEntHatch(g, ef, bf, bt, *this, handle);
}

// The old block leaves the table before the new name is asked, so that the only hatch of a
// drawing gets "*PAT1" again.
void CEntHatch::redefine(CData& d, double scale, double angle, const HATCH_TYPE& type) {
  if (scale == scale_ && angle == angle_ && &type == type_) return;
  CBlockTable& blocks = d.getBlockTable();
  std::unique_ptr<CBlock> old(getBlock());
  if (old != nullptr) {
    old->decEntity();
    blocks.remove(old.get());
  }
  // Put the old block back as it was when no new one can be made.
  const auto restoreOld = [&] {
    if (old == nullptr) return;
    blocks.add(old.get());
    old.release()->addEntity();
  };
  CBlock* fresh = nullptr;
  try {
    fresh = createHatch(getHatchName(blocks), type, scale, angle, boundary_, d);
  } catch (...) {
    restoreOld();
    throw;
  }
  if (fresh == nullptr) {
    restoreOld();
    return;
  }
  blocks.add(fresh);
  fresh->addEntity();
  setBlock(fresh);
  type_ = &type;
  scale_ = scale;
  angle_ = angle;
  calcBdry();
}
