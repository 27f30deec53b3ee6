// veltcore/database/block_graph.h: CBlockGraph, the graph of which block references which,
// kept by every block table so that no block comes to contain itself, no referenced block
// disappears, and blocks are boxed bottom-up and deleted top-down. External references
// never appear as edge targets. Nodes are found by block identity, never by name.
#pragma once

#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

class CBlock;

// An operation applied once to each block of a graph walk.
class IBlockOperation {
 public:
  virtual void doOperation(CBlock& block) = 0;

 protected:
  ~IBlockOperation() = default;
};

class CBlockGraph {
 public:
  // A walk met a cycle.
  class CCyclicGraph {};
  // A block to be removed is still referenced by another block.
  class CBrokenGraph {};

  // Empty; n > 0 reserves room for n nodes.
  explicit CBlockGraph(long n);
  ~CBlockGraph();
  CBlockGraph(const CBlockGraph&) = delete;
  CBlockGraph& operator=(const CBlockGraph&) = delete;

  // Appends a node for b with an edge to every non-external block that b references.
  // Every such block must be in the graph already.
  void addBlock(CBlock& b);
  // Takes b's node out. Throws CBrokenGraph, with b's node moved last, while a block still
  // references b.
  void removeBlock(CBlock& b);
  // Applies op to every block after all the blocks it depends on (post-order).
  void visitUndep(IBlockOperation& op) const;
  // Applies op to every block before any block it depends on.
  void visitDep(IBlockOperation& op) const;
  // Whether b may depend on exactly the non-external blocks of refs without a cycle;
  // the graph is left as it was.
  bool canSubstitute(CBlock& b, std::list<CBlock*>& refs);
  // Replaces b's dependencies by the non-external blocks of refs, without a check.
  void doSubstitute(CBlock& b, std::list<CBlock*>& refs);
  // As doSubstitute, then checks: on a cycle the old dependencies come back and
  // CCyclicGraph is thrown.
  void substitute(CBlock& b, std::list<CBlock*>& refs) const;
  void clearAll();

  // Number of nodes, and the block of node i in graph order (for inspection and tests).
  long size() const { return static_cast<long>(items_.size()); }
  CBlock* getBlock(int i) const;

 protected:
  // One block: the nodes it depends on (each once, in order of first appearance) and the
  // mark of the walk in progress (0 not visited, 1 being visited, 2 done).
  struct CItem {
    CBlock* block;
    std::vector<CItem*> dependencies;
    short mark;
  };

  void addEdge(CItem* from, CBlock& to) const;
  void init() const;
  long findItem(CBlock& b) const;

 private:
  std::vector<std::unique_ptr<CItem>> items_;
  // The node of each block, so that adding edges does not search the sequence.
  std::unordered_map<const CBlock*, CItem*> nodes_;

  void visit(CItem& item, IBlockOperation& op) const;
  bool isReferenced(const CItem& node) const;
  void setDependencies(CItem& item, const std::list<CBlock*>& refs) const;
};
