// dxf/in/block_semantor.cpp: CFileDXFIBlockSemantor, which reads a DXF file as one new block of a
// drawing. Tables are filled as importDXF fills them and entities go into the block. A failed
// read takes out everything it added, blocks referencing-first, so the tables are as they were.
#include <veltcore/database/block_graph.h>
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/semantor.h>

#include <unordered_set>
#include <vector>

#include "dxf/in/block_filling.h"

namespace {

using BlockSet = std::unordered_set<const CBlock*>;

// The blocks of a set in the order CBlockGraph::visitDep gives: each before every block it
// references, so that no removal finds its block still referenced (CBrokenGraph). Recording
// order would not do: a block made on demand early and filled late by a redefinition can
// reference blocks made after it.
class ReferencingFirst final : public IBlockOperation {
 public:
  explicit ReferencingFirst(const BlockSet& wanted) : wanted_(wanted) {}
  void doOperation(CBlock& block) override {
    if (wanted_.count(&block) != 0) order.push_back(&block);
  }
  std::vector<CBlock*> order;

 private:
  const BlockSet& wanted_;
};

// The blocks of table from index `from` on, referencing-first; blocks the graph does not know
// (a table add that failed half way) come last.
std::vector<CBlock*> addedBlocksInRemovalOrder(const CBlockTable& table, long from) {
  BlockSet added;
  for (long i = from; i < table.size(); ++i) added.insert(table[static_cast<int>(i)]);
  ReferencingFirst walk(added);
  try {
    table.getBlockGraph().visitDep(walk);
  } catch (const CBlockGraph::CCyclicGraph&) {
    // Not in a graph kept by its table's own operations; the blocks still go below.
  }
  for (const CBlock* b : walk.order) added.erase(b);
  for (long i = table.size() - 1; i >= from; --i) {
    CBlock* block = table[static_cast<int>(i)];
    if (added.count(block) != 0) walk.order.push_back(block);
  }
  return walk.order;
}

// Takes out and deletes, last first, the items of table past index `from` that nothing uses
// any more.
template <class Table, class InUse>
void removeUnused(Table& table, long from, InUse inUse) {
  for (long i = table.size() - 1; i >= from; --i) {
    auto* item = table[static_cast<int>(i)];
    if (inUse(*item)) continue;
    table.remove(item);
    delete item;
  }
}

// Whether anything outside the reference still points into it: an insert, a dependency record,
// or an entity or layer on one of its layers or linetypes. Once the read's own blocks and
// references are gone, only a reference the drawing had before, loaded during the read, can
// still do so; the new reference then stays rather than leave it pointing at nothing.
bool stillUsed(const CBlockXRef& xref) {
  if (xref.getEntities() != 0 || xref.getNeeded() != 0) return true;
  const CLayerTable& layers = xref.getLayerTable();
  for (int i = 0; i < layers.size(); ++i)
    if (layers[i]->getEntities() != 0) return true;
  const CLtypeTable& ltypes = xref.getLtypeTable();
  for (int i = 0; i < ltypes.size(); ++i)
    if (ltypes[i]->getEntities() != 0 || ltypes[i]->getLayers() != 0) return true;
  return false;
}

}  // namespace

CFileDXFIBlockSemantor::CFileDXFIBlockSemantor(CData& data, const String& name)
    : IFileDXFIDataSemantor(data),
      asImport_(data),
      block_(nullptr),
      before_{data.getLayerTable().size(), data.getLtypeTable().size(), data.getStyleTable().size(),
              data.getBlockTable().size(), data.getBlockXRefTable().size()} {
  if (data.getBlockXRefTable().get(name) != nullptr || data.getBlockTable().get(name) != nullptr)
    throw BlockAlreadyDefinedSemantorError();
  block_ = data.getBlockFactory().create(name, PNT_3D(0.0, 0.0, 0.0), 0);
  if (block_ == nullptr) throw SemantorError();
}

CFileDXFIBlockSemantor::~CFileDXFIBlockSemantor() {
  if (block_ != nullptr)
    veltcore::dxfin::discardNewBlock(getData().getEntFactory(), getData().getHandleGestor(),
                                     block_);
}

void CFileDXFIBlockSemantor::unrecovableError() {
  CData& data = getData();
  if (block_ != nullptr) {
    veltcore::dxfin::discardNewBlock(data.getEntFactory(), data.getHandleGestor(), block_);
    block_ = nullptr;
  }
  removeAddedBlocks();
  removeAddedXRefs();
  removeAddedItems();
}

void CFileDXFIBlockSemantor::transition() {
  CData& data = getData();
  CBlock* block = block_;
  // From here the block is the table's, or addNewBlock has discarded it.
  block_ = nullptr;
  veltcore::dxfin::addNewBlock(
      {data.getBlockTable(), data.getBlockFactory(), data.getEntFactory(), data.getHandleGestor()},
      block);
}

void CFileDXFIBlockSemantor::createLayer(const String& name, CLtype* ltype, short color,
                                         long flags) {
  asImport_.createLayer(name, ltype, color, flags);
}

void CFileDXFIBlockSemantor::createLayerXRef(const String& xrefName, const String& name,
                                             CLtype* ltype, short color, long flags) {
  refuseOwnName(xrefName);
  asImport_.createLayerXRef(xrefName, name, ltype, color, flags);
}

void CFileDXFIBlockSemantor::createLtype(const String& name, const String& description,
                                         CLtypeComplexDashSeq& dashes, long flags) {
  asImport_.createLtype(name, description, dashes, flags);
}

void CFileDXFIBlockSemantor::createLtypeXRef(const String& xrefName, const String& name,
                                             const String& description,
                                             CLtypeComplexDashSeq& dashes, long flags) {
  refuseOwnName(xrefName);
  asImport_.createLtypeXRef(xrefName, name, description, dashes, flags);
}

void CFileDXFIBlockSemantor::createStyle(const String& name, const ICADFont* font, double height,
                                         double widthScale, double oblique, double lastHeight,
                                         long flags) {
  asImport_.createStyle(name, font, height, widthScale, oblique, lastHeight, flags);
}

void CFileDXFIBlockSemantor::createBlock(const String& name, const PNT_3D& base, long flags,
                                         std::mylist<CEnt*>& entities) {
  refuseOwnName(name);
  asImport_.createBlock(name, base, flags, entities);
}

void CFileDXFIBlockSemantor::createBlockXRef(const String& name, const String& path,
                                             const PNT_3D& base, long flags) {
  refuseOwnName(name);
  asImport_.createBlockXRef(name, path, base, flags);
}

CBlock* CFileDXFIBlockSemantor::createBlockHurried(const String& name, long flags) {
  refuseOwnName(name);
  return asImport_.createBlockHurried(name, flags);
}

void CFileDXFIBlockSemantor::add(CEnt* entity) {
  block_->add(entity);
}

void CFileDXFIBlockSemantor::refuseOwnName(const String& name) const {
  if (block_ != nullptr && block_->getName().equal(name)) throw BlockAlreadyDefinedSemantorError();
}

void CFileDXFIBlockSemantor::removeAddedBlocks() {
  CBlockTable& table = getData().getBlockTable();
  for (CBlock* block : addedBlocksInRemovalOrder(table, before_.blocks)) {
    table.remove(block);
    delete block;
  }
}

void CFileDXFIBlockSemantor::removeAddedXRefs() {
  CBlockXRefTable& xrefs = getData().getBlockXRefTable();
  // References may insert one another: each lets go of the others before any is deleted.
  for (long i = before_.xrefs; i < xrefs.size(); ++i) xrefs[static_cast<int>(i)]->unload();
  for (long i = xrefs.size() - 1; i >= before_.xrefs; --i) {
    CBlockXRef* xref = xrefs[static_cast<int>(i)];
    if (stillUsed(*xref)) continue;
    xrefs.remove(xref);
    delete xref;
  }
}

void CFileDXFIBlockSemantor::removeAddedItems() {
  CData& data = getData();
  removeUnused(data.getStyleTable(), before_.styles,
               [](const CStyle& s) { return s.getEntities() != 0; });
  removeUnused(data.getLayerTable(), before_.layers,
               [](const CLayer& l) { return l.getEntities() != 0; });
  // A layer this read added to a reference the drawing already had may use a new linetype.
  removeUnused(data.getLtypeTable(), before_.ltypes,
               [](const CLtype& lt) { return lt.getEntities() != 0 || lt.getLayers() != 0; });
}
