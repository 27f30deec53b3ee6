// tests/database/block_graph_test.cpp: walk orders, cycle refusal, removal of referenced
// blocks and edge bookkeeping of the block dependency graph.
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/database/xref.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "database/test_insert.h"

namespace {

// Records the names of the blocks a walk operates on.
class NameLog : public IBlockOperation {
 public:
  void doOperation(CBlock& b) override { names += b.getName().c_str(); }
  std::string names;
};

// Blocks named by one letter, each holding references to the blocks its text names.
class Blocks {
 public:
  CBlock& make(const char* name, const char* refs = "") {
    auto block = std::unique_ptr<CBlock>(factory_.create(name, 0));
    for (const char* r = refs; *r != '\0'; ++r)
      block->add(new TestInsert(&get(*r), PNT_3D(0, 0, 0)));
    CBlock& result = *block;
    blocks_[*name] = std::move(block);
    return result;
  }
  CBlock& get(char name) { return *blocks_.at(name); }

 private:
  CBlockFactory factory_;
  std::map<char, std::unique_ptr<CBlock>> blocks_;
};

std::string undep(const CBlockGraph& g) {
  NameLog log;
  g.visitUndep(log);
  return log.names;
}

std::string dep(const CBlockGraph& g) {
  NameLog log;
  g.visitDep(log);
  return log.names;
}

std::string order(const CBlockGraph& g) {
  std::string names;
  for (int i = 0; i < g.size(); ++i) names += g.getBlock(i)->getName().c_str();
  return names;
}

TEST(BlockGraph, WalksFollowDependenciesThenAdditionOrder) {
  struct Case {
    const char* addOrder;  // blocks in the order they are added
    const char* refs[4];   // what each added block references
    const char* undep;
    const char* dep;
  };
  const Case cases[] = {
      {"CBA", {"", "C", "B"}, "CBA", "ABC"},
      {"BCA", {"", "", "C"}, "BCA", "ACB"},
      {"CAB", {"", "C", ""}, "CAB", "BAC"},
      {"DCBA", {"", "D", "DC", "BCD"}, "DCBA", "ABCD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.addOrder);
    Blocks blocks;
    CBlockGraph graph(0);
    for (int i = 0; c.addOrder[i] != '\0'; ++i) {
      const char name[2] = {c.addOrder[i], '\0'};
      graph.addBlock(blocks.make(name, c.refs[i]));
    }
    EXPECT_EQ(undep(graph), c.undep);
    EXPECT_EQ(dep(graph), c.dep);
  }
}

TEST(BlockGraph, SubstitutionIsRefusedWhenItClosesACycle) {
  Blocks blocks;
  CBlockGraph graph(4);
  graph.addBlock(blocks.make("C"));
  graph.addBlock(blocks.make("B", "C"));
  graph.addBlock(blocks.make("A", "B"));
  struct Case {
    char block;
    const char* refs;
    bool allowed;
  };
  const Case cases[] = {
      {'A', "A", false}, {'A', "", true},  {'C', "A", false},
      {'C', "B", false}, {'A', "C", true}, {'B', "CC", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.block) + "->" + c.refs);
    std::list<CBlock*> refs;
    for (const char* r = c.refs; *r != '\0'; ++r) refs.push_back(&blocks.get(*r));
    EXPECT_EQ(graph.canSubstitute(blocks.get(c.block), refs), c.allowed);
    EXPECT_EQ(undep(graph), "CBA");  // the edges are as before
  }

  std::list<CBlock*> cyclic{&blocks.get('A')};
  EXPECT_THROW(graph.substitute(blocks.get('C'), cyclic), CBlockGraph::CCyclicGraph);
  EXPECT_EQ(undep(graph), "CBA");
  graph.doSubstitute(blocks.get('C'), cyclic);  // no check: the graph now has a cycle
  EXPECT_THROW(undep(graph), CBlockGraph::CCyclicGraph);
}

TEST(BlockGraph, ExternalReferencesNeverBecomeDependencies) {
  CLtypeContinuous continuous;
  CLtypeByLayer byLayer;
  CLtypeByBlock byBlock;
  CLayer0 layer0(&continuous, 7, 0);
  CBlockFactory factory;
  std::unique_ptr<CBlockXRef> xref(
      factory.createXRef(continuous, byLayer, byBlock, layer0, "PLAN"));
  std::unique_ptr<CBlock> a(factory.create("A", 0));
  a->add(new TestInsert(xref.get(), PNT_3D(0, 0, 0)));

  CBlockGraph graph(0);
  graph.addBlock(*a);
  std::list<CBlock*> refs{xref.get(), a.get()};
  EXPECT_FALSE(graph.canSubstitute(*a, refs));  // a itself closes the cycle
  refs.pop_back();
  EXPECT_TRUE(graph.canSubstitute(*a, refs));
  graph.substitute(*a, refs);
  EXPECT_EQ(undep(graph), "A");
}

TEST(BlockGraph, AReferencedBlockCannotBeRemoved) {
  Blocks blocks;
  CBlockGraph graph(0);
  graph.addBlock(blocks.make("C"));
  graph.addBlock(blocks.make("X"));
  graph.addBlock(blocks.make("B", "CC"));  // two references, one edge
  graph.addBlock(blocks.make("A", "B"));

  EXPECT_THROW(graph.removeBlock(blocks.get('C')), CBlockGraph::CBrokenGraph);
  EXPECT_EQ(order(graph), "XBAC");  // the refused block now stands last
  EXPECT_EQ(undep(graph), "XCBA");

  graph.removeBlock(blocks.get('A'));
  EXPECT_EQ(order(graph), "XBC");
  graph.removeBlock(blocks.get('B'));
  graph.removeBlock(blocks.get('C'));  // nothing references it any more
  EXPECT_EQ(order(graph), "X");
}

}  // namespace
