// hatch/hatch_memento.cpp: CEntHatchMemento and the hatch's snapshot and restore. A restore either
// gives each entity of the recorded block its snapshot back or, when the block is another one (or
// has another entity count), swaps it for a block generated from the restored values.
#include <veltcore/hatch/ent_hatch.h>

#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/hatch/pattern.h>

namespace {

long entityCount(const CBlock* b) {
  return b == nullptr ? 0 : b->size();
}

}  // namespace

CEntHatchMemento::CEntHatchMemento(const CEntHatch& h)
    : CEntInsertMemento(h),
      scale_(h.getHatchScale()),
      angle_(h.getHatchRotate()),
      type_(&h.getHatchType()),
      block_(h.getBlock()) {
  boundary_.reserve(static_cast<std::size_t>(h.getNoPnts()));
  for (long i = 0; i < h.getNoPnts(); ++i) boundary_.push_back(h.getPnt(i));
  // Reserved first, so that no snapshot is lost between its creation and its slot.
  entities_.reserve(static_cast<std::size_t>(entityCount(block_)));
  for (int i = 0; i < entityCount(block_); ++i)
    entities_.emplace_back((*block_)[i]->createDerivedMemento());
}

CEntHatchMemento::~CEntHatchMemento() = default;

bool CEntHatchMemento::operator==(const CEnt& e) const {
  const auto* h = dynamic_cast<const CEntHatch*>(&e);
  if (h == nullptr || !CEntInsertMemento::operator==(e)) return false;
  if (h->getBlock() != block_ || &h->getHatchType() != type_ || h->getHatchScale() != scale_ ||
      h->getHatchRotate() != angle_ || h->getNoPnts() != getNoPnts())
    return false;
  for (long i = 0; i < getNoPnts(); ++i)
    if (h->getPnt(i) != boundary_[static_cast<std::size_t>(i)]) return false;
  if (entityCount(block_) != getNoEntities()) return false;
  for (int i = 0; i < getNoEntities(); ++i)
    if (*getEntityMemento(i) != *(*block_)[i]) return false;
  return true;
}

IEntDerivedMemento* CEntHatch::createDerivedMemento() const {
  return new CEntHatchMemento(*this);
}

namespace {

// The block is the recorded one with as many entities: each takes its snapshot back in place.
void restoreBlockEntities(CData& d, CBlock* block, const CEntHatchMemento& m) {
  if (block == nullptr) return;
  for (int i = 0; i < block->size(); ++i) (*block)[i]->setMemento(d, m.getEntityMemento(i));
  block->calcBdry();
}

// Swaps h's block for one generated from h's restored values and boundary, as redefine does. The
// old block leaves the table before the name is asked, so the new one may take its name; it is
// deleted only once the new one is in place, so that the new block never takes the address of the
// one it replaces, which snapshots still record. When no block can be generated, the old one is
// put back as it was.
void replaceBlock(CData& d, CEntHatch& h, const std::vector<PNT_3D>& boundary) {
  CBlockTable& blocks = d.getBlockTable();
  CBlock* old = h.getBlock();
  if (old != nullptr) {
    old->decEntity();
    try {
      blocks.remove(old);
    } catch (...) {
      old->addEntity();
      throw;
    }
  }
  const auto putOldBack = [&] {
    if (old == nullptr) return;
    blocks.add(old);
    old->addEntity();
  };
  CBlock* fresh = nullptr;
  try {
    fresh = createHatch(getHatchName(blocks), h.getHatchType(), h.getHatchScale(),
                        h.getHatchRotate(), boundary, d);
    // Should adding fail, the new block is not deleted: the table may already hold it.
    if (fresh != nullptr) blocks.add(fresh);
  } catch (...) {
    putOldBack();
    throw;
  }
  if (fresh == nullptr) {
    putOldBack();
    return;
  }
  fresh->addEntity();
  h.setBlock(fresh);
  delete old;
}

}  // namespace

void CEntHatch::setMemento(CData& d, const IEntDerivedMemento* base) {
  const auto* m = static_cast<const CEntHatchMemento*>(base);
  // Copied before anything changes: running out of memory here leaves the hatch as it was.
  std::vector<PNT_3D> boundary(m->getBoundary());
  CEntInsert::setMemento(d, m);
  scale_ = m->getHatchScale();
  angle_ = m->getHatchRotate();
  type_ = &m->getHatchType();
  boundary_.swap(boundary);
  if (getBlock() == m->getBlock() && entityCount(getBlock()) == m->getNoEntities())
    restoreBlockEntities(d, getBlock(), *m);
  else
    replaceBlock(d, *this, boundary_);
  calcBdry();
}
