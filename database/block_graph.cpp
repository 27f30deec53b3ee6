// database/block_graph.cpp: the block dependency graph and its depth-first walks.
// Marks live in the nodes, so walks of one graph must not overlap; every walk starts with
// init(). Blocks that are external references never become edge targets.
#include <veltcore/database/block.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/entities/insert.h>

#include <algorithm>

namespace {

enum Mark : short { kNotVisited = 0, kVisiting = 1, kDone = 2 };

// Gathers the blocks in the order a walk operates on them.
class Collector : public IBlockOperation {
 public:
  void doOperation(CBlock& block) override { blocks.push_back(&block); }
  std::vector<CBlock*> blocks;
};

// Walks only to find cycles.
class NoOperation : public IBlockOperation {
 public:
  void doOperation(CBlock&) override {}
};

}  // namespace

CBlockGraph::CBlockGraph(long n) {
  if (n > 0) items_.reserve(static_cast<std::size_t>(n));
}

CBlockGraph::~CBlockGraph() {
  clearAll();
}

CBlock* CBlockGraph::getBlock(int i) const {
  return items_[static_cast<std::size_t>(i)]->block;
}

void CBlockGraph::addBlock(CBlock& b) {
  items_.push_back(std::make_unique<CItem>(CItem{&b, {}, kNotVisited}));
  CItem* item = items_.back().get();
  nodes_[&b] = item;
  for (CBlock::CInsertIterator it(b); *it != nullptr; ++it) {
    CBlock* target = (*it)->getBlock();
    if (target != nullptr && !target->isXRef()) addEdge(item, *target);
  }
}

// A target that is not in the graph gets no edge: the table's users add referenced blocks
// first, and a dangling edge would make the walks unsafe.
void CBlockGraph::addEdge(CItem* from, CBlock& to) const {
  const auto found = nodes_.find(&to);
  if (found == nodes_.end()) return;
  CItem* target = found->second;
  auto& deps = from->dependencies;
  if (std::find(deps.begin(), deps.end(), target) == deps.end()) deps.push_back(target);
}

void CBlockGraph::removeBlock(CBlock& b) {
  const long index = findItem(b);
  if (index < 0) return;
  // Take the node out of the order; it is freed only once nothing references it.
  auto position = items_.begin() + index;
  std::unique_ptr<CItem> node = std::move(*position);
  items_.erase(position);
  if (isReferenced(*node)) {
    items_.push_back(std::move(node));  // the node comes back, last in the order
    throw CBrokenGraph();
  }
  nodes_.erase(&b);
}

// A walk of the remaining nodes would reach the removed node exactly through the nodes
// that list it as a dependency; asking them directly gives the same answer, and stays
// right even where a cycle elsewhere would cut a walk short.
bool CBlockGraph::isReferenced(const CItem& node) const {
  for (const auto& item : items_)
    for (const CItem* dependency : item->dependencies)
      if (dependency == &node) return true;
  return false;
}

void CBlockGraph::visitUndep(IBlockOperation& op) const {
  init();
  for (const auto& item : items_)
    if (item->mark == kNotVisited) visit(*item, op);
}

void CBlockGraph::visitDep(IBlockOperation& op) const {
  Collector collector;
  visitUndep(collector);
  for (auto it = collector.blocks.rbegin(); it != collector.blocks.rend(); ++it)
    op.doOperation(**it);
}

void CBlockGraph::visit(CItem& item, IBlockOperation& op) const {
  item.mark = kVisiting;
  for (CItem* dependency : item.dependencies) {
    if (dependency->mark == kVisiting) throw CCyclicGraph();
    if (dependency->mark == kNotVisited) visit(*dependency, op);
  }
  op.doOperation(*item.block);
  item.mark = kDone;
}

bool CBlockGraph::canSubstitute(CBlock& b, std::list<CBlock*>& refs) {
  if (refs.empty()) return true;
  const long index = findItem(b);
  if (index < 0) return true;
  CItem& item = *items_[static_cast<std::size_t>(index)];
  const std::vector<CItem*> saved = item.dependencies;
  setDependencies(item, refs);
  bool acyclic = true;
  NoOperation noOperation;
  try {
    visitUndep(noOperation);
  } catch (const CCyclicGraph&) {
    acyclic = false;
  }
  item.dependencies = saved;
  return acyclic;
}

void CBlockGraph::doSubstitute(CBlock& b, std::list<CBlock*>& refs) {
  const long index = findItem(b);
  if (index >= 0) setDependencies(*items_[static_cast<std::size_t>(index)], refs);
}

void CBlockGraph::substitute(CBlock& b, std::list<CBlock*>& refs) const {
  const long index = findItem(b);
  if (index < 0) return;
  CItem& item = *items_[static_cast<std::size_t>(index)];
  const std::vector<CItem*> saved = item.dependencies;
  setDependencies(item, refs);
  if (refs.empty()) return;
  NoOperation noOperation;
  try {
    visitUndep(noOperation);
  } catch (const CCyclicGraph&) {
    item.dependencies = saved;
    throw;
  }
}

void CBlockGraph::setDependencies(CItem& item, const std::list<CBlock*>& refs) const {
  item.dependencies.clear();
  for (CBlock* ref : refs)
    if (ref != nullptr && !ref->isXRef()) addEdge(&item, *ref);
}

void CBlockGraph::clearAll() {
  items_.clear();
  nodes_.clear();
}

void CBlockGraph::init() const {
  for (const auto& item : items_) item->mark = kNotVisited;
}

long CBlockGraph::findItem(CBlock& b) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->block == &b) return static_cast<long>(i);
  return -1;
}
