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

namespace {

class BlockTableTest : public ::testing::Test {
 protected:
  BlockTableTest() : d_(newDrawing()), layer_(&d_->getLayer0()) {}

  // A point with a booked handle, as the entity factory makes them.
  TestPnt* point(double x, double y) {
    const long h = d_->getHandleGestor().bookNext();
    return new TestPnt(h, layer_, &d_->getLtypeContinuous(), 256, PNT_3D(x, y, 0));
  }
  // A block reference with a booked handle; user data carries a tag for destruction logs.
  TestInsert* insert(CBlock* block, double x, double y, long tag = 0) {
    const long h = d_->getHandleGestor().bookNext();
    auto* ins = new TestInsert(block, PNT_3D(x, y, 0), layer_, &d_->getLtypeContinuous(), h);
    ins->setUserData(tag);
    return ins;
  }
  CBlock* block(const char* name, double baseX = 0) {
    return d_->getBlockFactory().create(name, PNT_3D(baseX, 0, 0), 0);
  }
  CBlockTable& blocks() { return d_->getBlockTable(); }

  DataPtr d_;
  CLayer* layer_;
};

TEST_F(BlockTableTest, EntitiesEnterMovedAndLeaveWithTheirBlock) {
  CBlock* b = block("B", 10);
  TestInsert* ins = insert(nullptr, 12, 5);
  b->add(ins);
  EXPECT_EQ(ins->getPnt(), PNT_3D(2, 5, 0));  // stored relative to the base point
  TestPnt* p = point(1, 1);
  const long h = p->GetHandle();
  b->add(p);  // the test point has no visit slot: it keeps its place
  EXPECT_EQ(b->getBdry().min, PNT_3D(1, 1, 0));

  const long before = layer_->getEntities();
  blocks().add(b);
  EXPECT_EQ(layer_->getEntities(), before + 2);
  EXPECT_THROW(d_->getHandleGestor().bookHandle(h), IHandleGestor::HandleAlreadyUsedException);
  blocks().remove(b);
  EXPECT_EQ(layer_->getEntities(), before);
  EXPECT_EQ(d_->getHandleGestor().bookHandle(h), h);  // released
  d_->getHandleGestor().unbook(h);
  delete b;
}

TEST_F(BlockTableTest, RedefinitionThatClosesACycleChangesNothing) {
  CBlock* c = block("C");
  c->add(point(1, 1));
  blocks().add(c);
  CBlock* a = block("A");
  a->add(insert(c, 0, 0));
  blocks().add(a);

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
  c->insertBlock(d_->getHandleGestor());  // balance the release the refused removal did
  blocks().remove(c);
  EXPECT_EQ(blocks().getBlockGraph().size(), 0);
  delete c;
  d_->getEntFactory().unbookHandle(d_->getHandleGestor(), cyclic.front());
  delete cyclic.front();
}

TEST_F(BlockTableTest, RedefinitionSwapsContentsAndRefreshesBoxes) {
  CBlock* c = block("C");
  c->add(point(0, 0));
  c->add(point(1, 1));
  blocks().add(c);
  CBlock* a = block("A");
  a->add(insert(c, 10, 0));
  blocks().add(a);
  EXPECT_EQ(a->getBdry().max, PNT_3D(11, 1, 0));
  EXPECT_EQ(c->getEntities(), 1);  // one reference to c in a block of the table

  TestPnt* oldFirst = static_cast<TestPnt*>((*c)[0]);
  const long oldHandle = oldFirst->GetHandle();
  std::unique_ptr<CBlockMemento> undo(c->createMemento());
  TestInsert* moved = insert(nullptr, 7, 8);
  std::mylist<CEnt*> contents{point(2, 3), moved};
  blocks().redefine(c, PNT_3D(5, 5, 0), 0, contents);

  EXPECT_EQ(c->size(), 2);
  EXPECT_TRUE(*undo != *c);
  EXPECT_EQ(moved->getPnt(), PNT_3D(2, 3, 0));    // moved by minus the new base point
  EXPECT_EQ(c->getBdry().max, PNT_3D(2, 3, 0));   // the point; the empty reference adds nothing
  EXPECT_EQ(a->getBdry().max, PNT_3D(12, 3, 0));  // recomputed through a's reference
  EXPECT_EQ(d_->getHandleGestor().bookHandle(oldHandle), oldHandle);  // the old ones left
  d_->getHandleGestor().unbook(oldHandle);
  undo->destroyEntity();  // the old contents were only in the snapshot
}

TEST_F(BlockTableTest, BlocksAreDeletedBeforeTheBlocksTheyReference) {
  TestInsert::destroyed().clear();
  CBlock* c = block("C");
  c->add(insert(nullptr, 0, 0, 'C'));
  blocks().add(c);
  CBlock* b = block("B");
  b->add(insert(c, 0, 0, 'B'));
  CBlock* x = block("X");
  x->add(insert(nullptr, 0, 0, 'X'));
  blocks().add(x);
  blocks().add(b);
  CBlock* a = block("A");
  a->add(insert(b, 0, 0, 'A'));
  a->add(insert(c, 0, 0, 'a'));
  blocks().add(a);

  blocks().clearAll();
  std::string order;
  for (long tag : TestInsert::destroyed()) order += static_cast<char>(tag);
  // a (and its entities, last first) before b before c; x stands alone.
  EXPECT_LT(order.find('a'), order.find('B'));
  EXPECT_LT(order.find('B'), order.find('C'));
  EXPECT_EQ(order.size(), 5u);
  EXPECT_EQ(blocks().size(), 0);
  EXPECT_EQ(blocks().getBlockGraph().size(), 0);
}

TEST_F(BlockTableTest, SnapshotRestoresContentsWithoutMovingThemAndNamesCountWithCase) {
  CBlock* b = block("B", 1);
  b->add(point(3, 3));
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
  // The next free block name counts with case.
  blocks().add(block("B1"));
  EXPECT_STREQ(GetBlockProgressiveName("B", blocks()).c_str(), "B2");
  EXPECT_STREQ(GetBlockProgressiveName("b", blocks()).c_str(), "b1");
}

}  // namespace
