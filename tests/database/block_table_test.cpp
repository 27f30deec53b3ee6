// tests/database/block_table_test.cpp: blocks in a drawing's block table: registration of
// their entities, safe redefinition, boxes through nested references, deletion order and
// block snapshots.
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"
#include "support/handle_probe.h"

namespace {

class BlockTableTest : public ::testing::Test {
 protected:
  // A point or a block reference with a booked handle, as the entity factory makes them; the
  // reference's user data carries a tag for destruction logs.
  TestPnt* point(double x, double y) {
    return new TestPnt(g.bookNext(), layer, &d->getLtypeContinuous(), 256, PNT_3D(x, y, 0));
  }
  TestInsert* insert(CBlock* block, double x, double y, long tag = 0) {
    auto* ins =
        new TestInsert(block, PNT_3D(x, y, 0), layer, &d->getLtypeContinuous(), g.bookNext());
    ins->setUserData(tag);
    return ins;
  }
  // A block listed in the table (when asked) holding the given entities.
  CBlock* block(const char* name, std::initializer_list<CEnt*> entities, bool listed = true,
                double baseX = 0) {
    CBlock* b = d->getBlockFactory().create(name, PNT_3D(baseX, 0, 0), 0);
    for (CEnt* e : entities) b->add(e);
    if (listed) blocks().add(b);
    return b;
  }
  CBlockTable& blocks() { return d->getBlockTable(); }

  DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
  CLayer* layer = &d->getLayer0();
};

TEST_F(BlockTableTest, EntitiesEnterMovedAndLeaveWithTheirBlock) {
  TestInsert* ins = insert(nullptr, 12, 5);
  TestPnt* p = point(1, 1);  // the test point has no visit slot: it keeps its place
  CBlock* b = block("B", {ins, p}, false, 10);
  EXPECT_EQ(ins->getPnt(), PNT_3D(2, 5, 0));  // stored relative to the base point
  EXPECT_EQ(b->getBdry().min, PNT_3D(1, 1, 0));
  const long before = layer->getEntities();
  blocks().add(b);
  EXPECT_EQ(layer->getEntities(), before + 2);
  EXPECT_FALSE(handleFree(g, p->GetHandle()));
  blocks().remove(b);
  EXPECT_EQ(layer->getEntities(), before);
  EXPECT_TRUE(handleFree(g, p->GetHandle()));  // released
  delete b;
}

TEST_F(BlockTableTest, RedefinitionThatClosesACycleChangesNothing) {
  CBlock* c = block("C", {point(1, 1)});
  CBlock* a = block("A", {insert(c, 0, 0)});
  std::mylist<CEnt*> cyclic{insert(a, 5, 5)};
  EXPECT_FALSE(blocks().canRedefine(c, cyclic));
  EXPECT_THROW(blocks().redefine(c, PNT_3D(9, 9, 9), 0, cyclic), CBlockGraph::CCyclicGraph);
  EXPECT_EQ(c->size(), 1);
  EXPECT_EQ(c->getPnt(), PNT_3D(0, 0, 0));
  EXPECT_EQ(a->getEntities(), 0);  // the rejected reference was never counted on a
  EXPECT_THROW(blocks().remove(c), CBlockGraph::CBrokenGraph);  // a still references c
  // The refused removal has taken c out of the list and released its entities; c's node now
  // stands last in the graph. Once a is gone, c can leave the graph too.
  EXPECT_EQ(blocks().size(), 1);
  EXPECT_EQ(blocks().getBlockGraph().getBlock(1), c);
  blocks().remove(a);
  delete a;
  c->insertBlock(g);  // balance the release the refused removal did
  blocks().remove(c);
  EXPECT_EQ(blocks().getBlockGraph().size(), 0);
  delete c;
  d->getEntFactory().unbookHandle(g, cyclic.front());
  delete cyclic.front();
}

TEST_F(BlockTableTest, RedefinitionSwapsContentsAndRefreshesBoxes) {
  CBlock* c = block("C", {point(0, 0), point(1, 1)});
  CBlock* a = block("A", {insert(c, 10, 0)});
  EXPECT_EQ(a->getBdry().max, PNT_3D(11, 1, 0));
  EXPECT_EQ(c->getEntities(), 1);  // one reference to c in a block of the table
  const long oldHandle = (*c)[0]->GetHandle();
  std::unique_ptr<CBlockMemento> undo(c->createMemento());
  TestInsert* moved = insert(nullptr, 7, 8);
  std::mylist<CEnt*> contents{point(2, 3), moved};
  blocks().redefine(c, PNT_3D(5, 5, 0), 0, contents);
  EXPECT_EQ(c->size(), 2);
  EXPECT_TRUE(*undo != *c);
  EXPECT_EQ(moved->getPnt(), PNT_3D(2, 3, 0));    // moved by minus the new base point
  EXPECT_EQ(c->getBdry().max, PNT_3D(2, 3, 0));   // the point; the empty reference adds nothing
  EXPECT_EQ(a->getBdry().max, PNT_3D(12, 3, 0));  // recomputed through a's reference
  EXPECT_TRUE(handleFree(g, oldHandle));          // the old ones left
  undo->destroyEntity();                          // the old contents were only in the snapshot
}

TEST_F(BlockTableTest, BlocksAreDeletedBeforeTheBlocksTheyReference) {
  TestInsert::destroyed().clear();
  CBlock* c = block("C", {insert(nullptr, 0, 0, 'C')});
  CBlock* b = block("B", {insert(c, 0, 0, 'B')}, false);
  block("X", {insert(nullptr, 0, 0, 'X')});
  blocks().add(b);
  block("A", {insert(b, 0, 0, 'A'), insert(c, 0, 0, 'a')});
  blocks().clearAll();
  const std::string order(TestInsert::destroyed().begin(), TestInsert::destroyed().end());
  // a (and its entities, last first) before b before c; x stands alone.
  EXPECT_LT(order.find('a'), order.find('B'));
  EXPECT_LT(order.find('B'), order.find('C'));
  EXPECT_EQ(order.size(), 5u);
  EXPECT_EQ(blocks().size(), 0);
  EXPECT_EQ(blocks().getBlockGraph().size(), 0);
}

TEST_F(BlockTableTest, SnapshotRestoresContentsWithoutMovingThemAndNamesCountWithCase) {
  CBlock* b = block("B", {point(3, 3)}, false, 1);
  std::unique_ptr<CBlockMemento> m(b->createMemento());
  EXPECT_TRUE(*m == *b);
  CEnt* kept = (*b)[0];
  b->clearEntities();
  EXPECT_FALSE(b->getBdry().validRegion());
  EXPECT_TRUE(*m != *b);
  b->setMemento(*m);
  EXPECT_TRUE(*m == *b);
  EXPECT_EQ((*b)[0], kept);
  EXPECT_EQ(b->getBdry().min, PNT_3D(3, 3, 0));
  blocks().add(b);
  block("B1", {});
  EXPECT_STREQ(GetBlockProgressiveName("B", blocks()).c_str(), "B2");
  EXPECT_STREQ(GetBlockProgressiveName("b", blocks()).c_str(), "b1");
}

}  // namespace
