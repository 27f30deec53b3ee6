// veltcore/database/block_table.h: CBlockTable, the blocks of a drawing (or of an external
// reference). It registers the blocks' entities with the handle manager, keeps the block
// graph, refuses redefinitions that would make a block contain itself, and deletes blocks
// only after every block that references them.
#pragma once

#include <list>

#include <veltcore/core/mylist.h>
#include <veltcore/core/point.h>
#include <veltcore/database/block.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/database/named_item.h>

class CBlockXRefDepend;
class CEnt;
class IHandleGestor;

class CBlockTable : public CNamedItemTableImp {
 public:
  CBlockTable(IHandleGestor& gestor, CBlockXRefDepend& depend);
  // clearAll, then the graph and the list.
  virtual ~CBlockTable();

  // Appends b (the table owns it), registers its entities and adds it to the graph.
  virtual void add(CBlock* b);
  // Takes b out (not deleted) and releases its entities, then takes it out of the graph;
  // throws CBlockGraph::CBrokenGraph (with those two steps done) while another block
  // references b.
  virtual void remove(CBlock* b);

  // The first block whose name equals name ignoring case; null when none.
  CBlock* get(const String& name) const;
  CBlock* operator[](int i) const;
  const CBlockGraph& getBlockGraph() const { return graph_; }
  // The external references that this table's blocks depend on.
  CBlockXRefDepend& getDepend() const { return depend_; }

  // Whether b may hold exactly the block references among ents without a cycle.
  bool canRedefine(CBlock* b, const std::mylist<CEnt*>& ents);
  // Gives b a new base point, flags and entities. Throws CBlockGraph::CCyclicGraph, with
  // nothing changed, when the new contents would make b contain itself. The old entities
  // leave the block undeleted: the caller keeps them.
  void redefine(CBlock* b, const PNT_3D& base, long flags, const std::mylist<CEnt*>& ents);
  // Recomputes every block's box, referenced blocks first.
  void recalcBdry();
  // Deletes every block, each before the blocks it references, then empties graph and list.
  void clearAll();

 protected:
  IHandleGestor& getGestor() const { return gestor_; }

 private:
  IHandleGestor& gestor_;
  CBlockXRefDepend& depend_;
  CBlockGraph graph_;
};
