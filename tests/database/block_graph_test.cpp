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

// Blocks named by one letter, each holding references to the blocks its text names.
class Blocks {
 public:
  CBlock& make(char name, const char* refs = "") {
    auto& block = blocks_[name];
    block.reset(factory_.create(std::string(1, name).c_str(), 0));
    for (const char* r = refs; *r != '\0'; ++r)
      block->add(new TestInsert(&get(*r), PNT_3D(0, 0, 0)));
    return *block;
  }
  CBlock& get(char name) { return *blocks_.at(name); }
  std::list<CBlock*> list(const char* names) {
    std::list<CBlock*> out;
    for (const char* r = names; *r != '\0'; ++r) out.push_back(&get(*r));
    return out;
  }

 private:
  CBlockFactory factory_;
  std::map<char, std::unique_ptr<CBlock>> blocks_;
};

// The names of the blocks a walk operates on, dependencies first or last.
std::string walk(const CBlockGraph& g, bool dependenciesFirst = true) {
  struct NameLog : IBlockOperation {
    void doOperation(CBlock& b) override { names += b.getName().c_str(); }
    std::string names;
  } log;
  dependenciesFirst ? g.visitUndep(log) : g.visitDep(log);
  return log.names;
}

std::string order(const CBlockGraph& g) {
  std::string names;
  for (int i = 0; i < g.size(); ++i) names += g.getBlock(i)->getName().c_str();
  return names;
}

TEST(BlockGraph, WalksFollowDependenciesThenAdditionOrder) {
  const struct {
    const char* addOrder;  // blocks in the order they are added
    const char* refs[4];   // what each added block references
    const char *undep, *dep;
  } cases[] = {
      {"CBA", {"", "C", "B"}, "CBA", "ABC"},
      {"BCA", {"", "", "C"}, "BCA", "ACB"},
      {"CAB", {"", "C", ""}, "CAB", "BAC"},
      {"DCBA", {"", "D", "DC", "BCD"}, "DCBA", "ABCD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.addOrder);
    Blocks blocks;
    CBlockGraph graph(0);
    for (int i = 0; c.addOrder[i] != '\0'; ++i)
      graph.addBlock(blocks.make(c.addOrder[i], c.refs[i]));
    EXPECT_EQ(walk(graph), c.undep);
    EXPECT_EQ(walk(graph, false), c.dep);
  }
}

TEST(BlockGraph, SubstitutionIsRefusedWhenItClosesACycle) {
  Blocks blocks;
  CBlockGraph graph(4);
  graph.addBlock(blocks.make('C'));
  graph.addBlock(blocks.make('B', "C"));
  graph.addBlock(blocks.make('A', "B"));
  const struct {
    char block;
    const char* refs;
    bool allowed;
  } cases[] = {{'A', "A", false}, {'A', "", true},  {'C', "A", false},
               {'C', "B", false}, {'A', "C", true}, {'B', "CC", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.block) + "->" + c.refs);
    std::list<CBlock*> refs = blocks.list(c.refs);
    EXPECT_EQ(graph.canSubstitute(blocks.get(c.block), refs), c.allowed);
    EXPECT_EQ(walk(graph), "CBA");  // the edges are as before
  }
  std::list<CBlock*> cyclic = blocks.list("A");
  EXPECT_THROW(graph.substitute(blocks.get('C'), cyclic), CBlockGraph::CCyclicGraph);
  EXPECT_EQ(walk(graph), "CBA");
  graph.doSubstitute(blocks.get('C'), cyclic);  // no check: the graph now has a cycle
  EXPECT_THROW(walk(graph), CBlockGraph::CCyclicGraph);
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
  EXPECT_EQ(walk(graph), "A");
}

TEST(BlockGraph, AReferencedBlockCannotBeRemoved) {
  Blocks blocks;
  CBlockGraph graph(0);
  graph.addBlock(blocks.make('C'));
  graph.addBlock(blocks.make('X'));
  graph.addBlock(blocks.make('B', "CC"));  // two references, one edge
  graph.addBlock(blocks.make('A', "B"));
  EXPECT_THROW(graph.removeBlock(blocks.get('C')), CBlockGraph::CBrokenGraph);
  EXPECT_EQ(order(graph), "XBAC");  // the refused block now stands last
  EXPECT_EQ(walk(graph), "XCBA");
  graph.removeBlock(blocks.get('A'));
  EXPECT_EQ(order(graph), "XBC");
  graph.removeBlock(blocks.get('B'));
  graph.removeBlock(blocks.get('C'));  // nothing references it any more
  EXPECT_EQ(order(graph), "X");
}

}  // namespace
