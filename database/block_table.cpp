// database/block_table.cpp: CBlockTable. Adding a block registers its entities and adds it
// to the graph; redefinition is refused, with nothing changed, when it would close a cycle;
// boxes are recomputed bottom-up and blocks deleted top-down through the graph.
#include <veltcore/database/block_table.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/insert.h>

#include <unordered_set>

#include "database/referenced_blocks.h"

namespace veltcore::database {

std::list<CBlock*> referencedBlocks(const std::mylist<CEnt*>& ents) {
  std::list<CBlock*> blocks;
  for (CEnt* e : ents) {
    CEntInsert* insert = e->getEntInsert();
    if (insert == nullptr) continue;
    CBlock* block = insert->getBlock();
    if (block != nullptr && !block->isXRef()) blocks.push_back(block);
  }
  return blocks;
}

}  // namespace veltcore::database

using veltcore::database::referencedBlocks;

namespace {

// Recomputes one block's box; the blocks it references are already up to date.
class RecalcBoxOperation : public IBlockOperation {
 public:
  void doOperation(CBlock& block) override {
    RECT_3D& box = block.getBdry();
    box.initRegion();
    for (int i = 0; i < block.size(); ++i) {
      CEnt* e = block[i];
      if (CEntInsert* insert = e->getEntInsert()) insert->calcBdry();
      box.updateRegion(e->getBdry());
    }
  }
};

// Releases and deletes each block it meets, remembering which.
class DeleteOperation : public IBlockOperation {
 public:
  explicit DeleteOperation(IHandleGestor& gestor) : gestor_(gestor) {}
  void doOperation(CBlock& block) override {
    deleted_.insert(&block);
    block.removeBlock(gestor_);
    delete &block;
  }
  // Blocks are remembered by address only: a deleted one is never touched again.
  bool isDeleted(const void* block) const { return deleted_.count(block) != 0; }

 private:
  IHandleGestor& gestor_;
  std::unordered_set<const void*> deleted_;
};

}  // namespace

CBlockTable::CBlockTable(IHandleGestor& gestor, CBlockXRefDepend& depend)
    : gestor_(gestor), depend_(depend), graph_(0) {}

CBlockTable::~CBlockTable() {
  clearAll();
}

void CBlockTable::add(CBlock* b) {
  CNamedItemTableImp::add(b);
  b->insertBlock(gestor_);
  graph_.addBlock(*b);
}

void CBlockTable::remove(CBlock* b) {
  CNamedItemTableImp::remove(b);
  b->removeBlock(gestor_);
  graph_.removeBlock(*b);
}

CBlock* CBlockTable::get(const String& name) const {
  return static_cast<CBlock*>(CNamedItemTableImp::get(name));
}

CBlock* CBlockTable::operator[](int i) const {
  return static_cast<CBlock*>(CNamedItemTableImp::operator[](i));
}

bool CBlockTable::canRedefine(CBlock* b, const std::mylist<CEnt*>& ents) {
  std::list<CBlock*> refs = referencedBlocks(ents);
  return graph_.canSubstitute(*b, refs);
}

void CBlockTable::redefine(CBlock* b, const PNT_3D& base, long flags,
                           const std::mylist<CEnt*>& ents) {
  std::list<CBlock*> refs = referencedBlocks(ents);
  if (!graph_.canSubstitute(*b, refs)) throw CBlockGraph::CCyclicGraph();
  graph_.doSubstitute(*b, refs);
  b->removeBlock(gestor_);
  b->redefine(base, flags);
  for (CEnt* e : ents) b->add(e);
  b->insertBlock(gestor_);
  recalcBdry();
}

void CBlockTable::recalcBdry() {
  RecalcBoxOperation recalc;
  graph_.visitUndep(recalc);
}

void CBlockTable::clearAll() {
  DeleteOperation deleter(gestor_);
  try {
    graph_.visitDep(deleter);
  } catch (const CBlockGraph::CCyclicGraph&) {
    // Only a graph edited from outside can hold a cycle; the blocks are deleted below all
    // the same, so that nothing leaks.
  }
  // Blocks the walk did not reach (none, in a table kept through its own operations).
  for (int i = 0; i < size(); ++i) {
    const CNamedItem* item = CNamedItemTableImp::operator[](i);
    if (!deleter.isDeleted(item)) deleter.doOperation(*(*this)[i]);
  }
  graph_.clearAll();
  releaseAll();
}
