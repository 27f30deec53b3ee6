// tests/entities/entity_table_test.cpp: CEntTable's extent with frozen layers, selection upkeep,
// the iterator at its ends and with remove(), get(handle) against a plain walk of the list, and
// the handles given back by remove and clearAll.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_insert.h"
#include "entities/test_entity.h"

namespace {

class EntityTableTest : public ::testing::Test {
 protected:
  CLtypeContinuous continuous;
  CLayerFactory layers;
  std::unique_ptr<CLayer> thawed{layers.create("A", &continuous, 7, 0)};
  std::unique_ptr<CLayer> frozen{layers.create("B", &continuous, 7, CLayer::kFrozen)};
  CHandleGestorDefault g{32, 1000000000};
  CBlockXRefDepend depend;
  CEntTable table{g, depend};
  TestEntFactory factory;

  // A new point at (x, x, x) with a freshly booked handle, added to the table.
  TestPnt* add(double x, CLayer* layer) {
    TestPnt* e = factory.createTestPnt(g, layer, &continuous, 7, PNT_3D(x, x, x), 0);
    table.add(e);
    return e;
  }
};

RECT_3D box(double lo, double hi) {
  return RECT_3D(PNT_3D(lo, lo, lo), PNT_3D(hi, hi, hi));
}

// The definition get(handle) must agree with.
CEnt* walk(const CEntTable& t, long handle) {
  for (CEnt* e : t.getEntityTbl())
    if (e->GetHandle() == handle) return e;
  return nullptr;
}

}  // namespace

TEST_F(EntityTableTest, ExtentSkipsFrozenLayersWhetherKeptOrRecomputed) {
  RECT_3D empty;
  empty.initRegion();
  EXPECT_EQ(table.getBdry(), empty);
  add(1, thawed.get());
  TestPnt* far = add(9, frozen.get());
  TestPnt* last = add(4, thawed.get());
  EXPECT_EQ(table.getBdry(), box(1, 4));
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 4));
  frozen->setFrozen(false);
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 9));
  table.remove(far);
  table.remove(last);
  EXPECT_EQ(table.getBdry(), box(1, 1));
  delete far;
  delete last;
  table.clearAll();
  EXPECT_EQ(table.getBdry(), empty);
}

TEST_F(EntityTableTest, RecomputedExtentRenewsBlockReferences) {
  const std::unique_ptr<CBlock> block(CBlockFactory().create("B", PNT_3D(0, 0, 0), 0));
  auto* inside = new TestPnt(0, thawed.get(), &continuous, 7, PNT_3D(2, 2, 2));
  block->add(inside);
  table.add(new TestInsert(block.get(), PNT_3D(0, 0, 0), thawed.get(), &continuous));
  add(1, thawed.get());
  EXPECT_EQ(table.getBdry(), box(1, 2));
  inside->setPnt(PNT_3D(6, 6, 6));
  block->calcBdry();
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 6));
  table.clearAll();  // before the block goes
}

TEST_F(EntityTableTest, SelectionStaysInsideTheTable) {
  TestPnt* a = add(1, thawed.get());
  TestPnt* b = add(2, thawed.get());
  TestPnt outsider(0, thawed.get(), &continuous, 7, PNT_3D(0, 0, 0));
  table.select(a);
  table.select(a);
  table.select(&outsider, true);
  table.unselect(b);
  table.select(b, true);
  EXPECT_EQ(table.getSelectedEntityTbl(), (std::mylist<CEnt*>{a, b}));
  EXPECT_FALSE(outsider.isSelected());
  table.remove(a);
  EXPECT_FALSE(a->isSelected());
  EXPECT_EQ(table.getSelectedEntityTbl(), std::mylist<CEnt*>{b});
  table.add(a);
  table.select(a);
  table.select(b, false);
  EXPECT_EQ(table.getSelectedEntityTbl(), std::mylist<CEnt*>{a});
  table.unselectAll();
  EXPECT_TRUE(table.getSelectedEntityTbl().empty());
  EXPECT_FALSE(a->isSelected() || b->isSelected());
}

TEST_F(EntityTableTest, IteratorRemoveOverEitherList) {
  std::vector<TestPnt*> ents;
  for (int i = 0; i < 5; ++i) ents.push_back(add(i, thawed.get()));
  for (int i : {3, 0, 4}) table.select(ents[i]);
  CEntTable::CEntIterator sel(table, false);
  EXPECT_EQ(sel.get_no_entities(), 3);
  while (!sel.isLast()) sel.remove();
  EXPECT_TRUE(table.getSelectedEntityTbl().empty());
  EXPECT_EQ(table.getEntityTbl().size(), 5u);
  for (TestPnt* e : ents) EXPECT_FALSE(e->isSelected());

  // Take out every other entity; what is taken out gives its handle back.
  table.select(ents[2]);
  CEntTable::CEntIterator all(table, true);
  std::vector<std::unique_ptr<CEnt>> out;
  for (int i = 0; !all.isLast(); ++i) {
    if (i % 2) {
      ++all;
      continue;
    }
    out.emplace_back(*all);
    all.remove();
  }
  EXPECT_EQ(table.getEntityTbl(), (std::mylist<CEnt*>{ents[1], ents[3]}));
  EXPECT_TRUE(table.getSelectedEntityTbl().empty());
  for (const auto& e : out) EXPECT_NO_THROW(g.bookHandle(e->GetHandle()));
  EXPECT_EQ(thawed->getEntities(), 2);
}

TEST_F(EntityTableTest, IteratorStopsAtBothEnds) {
  CEntTable::CEntIterator none(table, true);
  EXPECT_TRUE(none.isLast());
  --none;
  none.remove();
  EXPECT_EQ(*none, nullptr);
  TestPnt* a = add(1, thawed.get());
  TestPnt* b = add(2, thawed.get());
  CEntTable::CEntIterator it(table, true);
  --it;
  EXPECT_EQ(*it, a);
  const CEntTable::CEntIterator before = it++;
  EXPECT_EQ(*before, a);
  EXPECT_EQ(*it, b);
  ++it;
  ++it;
  EXPECT_TRUE(it.isLast());
  EXPECT_EQ(*it, nullptr);
  EXPECT_EQ(*it--, nullptr);
  EXPECT_EQ(*it, b);
}

TEST_F(EntityTableTest, GetAgreesWithAWalkOfTheList) {
  std::mt19937 rng(20240611);
  std::vector<CEnt*> outside;
  for (int step = 0; step < 4000; ++step) {
    const auto& list = table.getEntityTbl();
    // Slightly more entities come in than go out, so the list and its duplicates grow.
    const int op = static_cast<int>(rng() % 5);
    if (op < 2 || list.empty()) {
      table.add(new TestPnt(static_cast<long>(rng() % 12), thawed.get(), &continuous, 7,
                            PNT_3D(0, 0, 0)));
    } else if (op == 2 && !outside.empty()) {  // back in, now last of its handle
      table.add(outside.back());
      outside.pop_back();
    } else {
      auto pos = list.begin();
      std::advance(pos, static_cast<long>(rng() % list.size()));
      outside.push_back(*pos);
      table.remove(*pos);
    }
    for (long h : {-1L, 0L, 3L, 7L, 11L, 12L, 4294967296L + 3})
      ASSERT_EQ(table.get(h), walk(table, h)) << "step " << step << " handle " << h;
  }
  for (CEnt* e : outside) delete e;
}

TEST_F(EntityTableTest, ClearAllDeletesAndGivesHandlesBack) {
  const long liveBefore = TestPnt::live();
  std::vector<long> handles;
  for (long h : {0L, 57L, 0L}) {
    TestPnt* e = factory.createTestPnt(g, thawed.get(), &continuous, 7, PNT_3D(0, 0, 0), h);
    table.add(e);
    table.select(e);
    handles.push_back(e->GetHandle());
  }
  EXPECT_EQ(handles, (std::vector<long>{32, 57, 33}));
  table.clearAll();
  EXPECT_EQ(TestPnt::live(), liveBefore);
  EXPECT_TRUE(table.getSelectedEntityTbl().empty());
  EXPECT_EQ(thawed->getEntities(), 0);
  for (long h : handles) EXPECT_NO_THROW(g.bookHandle(h));
}
