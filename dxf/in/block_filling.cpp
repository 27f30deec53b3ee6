// dxf/in/block_filling.cpp: new blocks filled from a DXF block definition, and blocks made
// early (an insert came first) refilled through their table's redefinition. Ownership of every
// entity is settled on every path, failures included.
#include "dxf/in/block_filling.h"

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/database/block_table.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace veltcore::dxfin {

namespace {

bool holds(const CBlockTable& table, const CBlock* block) {
  for (int i = 0; i < table.size(); ++i)
    if (table[i] == block) return true;
  return false;
}

// The block's entities, sorted for lookups by address.
std::vector<CEnt*> sortedEntities(const CBlock& block) {
  std::vector<CEnt*> ents;
  ents.reserve(static_cast<std::size_t>(block.size()));
  for (int i = 0; i < block.size(); ++i) ents.push_back(block[i]);
  std::sort(ents.begin(), ents.end(), std::less<CEnt*>());
  return ents;
}

bool contains(const std::vector<CEnt*>& sorted, CEnt* e) {
  return std::binary_search(sorted.begin(), sorted.end(), e, std::less<CEnt*>());
}

// After a redefinition, finished or not, every entity has exactly one owner: those the block
// holds leave the caller's list, and the old contents the block no longer holds are deleted
// (the redefinition has already released them from the handle manager and their tables).
void settleOwnership(const CBlock& block, const std::vector<CEnt*>& oldEntities,
                     std::mylist<CEnt*>& entities) {
  const std::vector<CEnt*> held = sortedEntities(block);
  entities.remove_if([&held](CEnt* e) { return contains(held, e); });
  for (CEnt* e : oldEntities)
    if (!contains(held, e)) delete e;
}

}  // namespace

void discardNewBlock(CEntFactory& entFactory, IHandleGestor& gestor, CBlock* block) noexcept {
  for (int i = 0; i < block->size(); ++i) {
    try {
      entFactory.unbookHandle(gestor, (*block)[i]);
    } catch (...) {
    }
  }
  delete block;
}

void addNewBlock(const BlockHome& home, CBlock* block) {
  try {
    home.table.add(block);
  } catch (...) {
    if (!holds(home.table, block)) discardNewBlock(home.entFactory, home.gestor, block);
    throw;
  }
}

CBlock* fillNewBlock(const BlockHome& home, const String& name, const PNT_3D& base, long flags,
                     std::mylist<CEnt*>& entities) {
  CBlock* block = home.factory.create(name, base, flags);
  // A factory that hands back nothing could not get the memory: reading cannot go on.
  if (block == nullptr) throw IFileDXFISemantor::SemantorError();
  try {
    // An entity leaves the list only once the block holds it, so each has one owner.
    while (!entities.empty()) {
      block->add(entities.front());
      entities.pop_front();
    }
  } catch (...) {
    discardNewBlock(home.entFactory, home.gestor, block);
    throw;
  }
  addNewBlock(home, block);
  return block;
}

void redefineBlock(CBlockTable& table, CBlock* block, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities) {
  const std::vector<CEnt*> oldEntities = sortedEntities(*block);
  try {
    table.redefine(block, base, flags, entities);
  } catch (const CBlockGraph::CCyclicGraph&) {
    throw IFileDXFISemantor::SemantorError();  // nothing changed: the list is still the caller's
  } catch (...) {
    settleOwnership(*block, oldEntities, entities);
    throw;
  }
  settleOwnership(*block, oldEntities, entities);
}

}  // namespace veltcore::dxfin
