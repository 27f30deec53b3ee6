// tests/entities/entity_table_test.cpp: CEntTable's extent with frozen layers, selection upkeep,
// the iterator at its ends and with remove(), get(handle) against a plain walk of the list, and
// the handles given back by remove and clearAll; CEnt's counts on layers and linetypes through
// table membership, setLayer, setLtype and base snapshots, and the comparisons with both kinds of
// snapshot.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"

namespace {

class EntityTableTest : public ::testing::Test {
 protected:
  // A new point at (x, x, x) with a freshly booked handle, added to the table.
  TestPnt* add(double x, CLayer* layer) {
    TestPnt* e = factory.createTestPnt(g, layer, &continuous, 7, PNT_3D(x, x, x), 0);
    table.add(e);
    return e;
  }

  CLtypeContinuous continuous;
  CLtypeFactory ltypes;
  std::unique_ptr<CLtype> dashed{ltypes.create("DASHED", "", nullptr, 0, 0)};
  CLayerFactory layers;
  std::unique_ptr<CLayer> thawed{layers.create("A", &continuous, 7, 0)};
  std::unique_ptr<CLayer> frozen{layers.create("B", &continuous, 7, CLayer::kFrozen)};
  CHandleGestorDefault g;
  CBlockXRefDepend depend;
  CEntTable table{g, depend};
  TestEntFactory factory;
};

RECT_3D box(double lo, double hi) {
  return RECT_3D(PNT_3D(lo, lo, lo), PNT_3D(hi, hi, hi));
}

}  // namespace

// The extent leaves frozen layers out whether kept up or recomputed, and a recomputation renews
// block references; clearAll deletes, unselects, uncounts and gives the handles back.
TEST_F(EntityTableTest, ExtentSkipsFrozenLayersAndClearAllGivesEverythingBack) {
  const long live = TestPnt::live();
  RECT_3D empty;
  empty.initRegion();
  EXPECT_EQ(table.getBdry(), empty);
  const long first = add(1, thawed.get())->GetHandle();
  TestPnt* far = add(9, frozen.get());
  TestPnt* last = add(4, thawed.get());
  table.select(last);
  EXPECT_EQ(table.getBdry(), box(1, 4));
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 4));
  frozen->setFrozen(false);
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 9));
  table.remove(far);
  delete far;
  EXPECT_EQ(table.getBdry(), box(1, 4));

  const std::unique_ptr<CBlock> block(CBlockFactory().create("B", PNT_3D(0, 0, 0), 0));
  auto* inside = new TestPnt(0, thawed.get(), &continuous, 7, PNT_3D(2, 2, 2));
  block->add(inside);
  table.add(new TestInsert(block.get(), PNT_3D(0, 0, 0), thawed.get(), &continuous));
  inside->setPnt(PNT_3D(6, 6, 6));
  block->calcBdry();
  table.invalidateBdry();
  EXPECT_EQ(table.getBdry(), box(1, 6));

  const long lastHandle = last->GetHandle();
  table.clearAll();  // before the block goes
  EXPECT_EQ(table.getBdry(), empty);
  EXPECT_EQ(TestPnt::live(), live + 1);  // the one in the block
  EXPECT_TRUE(table.getSelectedEntityTbl().empty());
  EXPECT_EQ(thawed->getEntities(), 0);
  for (long h : {first, lastHandle}) EXPECT_NO_THROW(g.bookHandle(h));
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

// Over the selection, remove() unselects; over the entities it takes out, and what is taken out
// gives its handle back.
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
  EXPECT_EQ(*it--, nullptr);
  EXPECT_EQ(*it, b);
}

// Random adds and removes with repeated handles; get(handle) must agree with a walk of the list.
TEST_F(EntityTableTest, GetAgreesWithAWalkOfTheList) {
  auto walk = [this](long handle) -> CEnt* {
    for (CEnt* e : table.getEntityTbl())
      if (e->GetHandle() == handle) return e;
    return nullptr;
  };
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
      ASSERT_EQ(table.get(h), walk(h)) << "step " << step << " handle " << h;
  }
  for (CEnt* e : outside) delete e;
}

TEST_F(EntityTableTest, CountsMoveOnlyWithReferencesAndMembership) {
  CLayer* l1 = thawed.get();
  CLayer* l2 = frozen.get();
  auto* e = new TestPnt(0, l1, &continuous, 7, PNT_3D(1, 2, 3));
  auto* other = new TestPnt(*e, 0);
  const std::unique_ptr<CEntBaseMemento> first(e->createBaseMemento());
  std::unique_ptr<TestPnt> removed;
  const struct {
    const char* what;
    std::function<void()> run;
    long l1, l2, t1, t2;
  } steps[] = {
      {"constructed and copied", [] {}, 0, 0, 0, 0},
      {"added", [&] { table.add(e); }, 1, 0, 1, 0},
      {"copy added", [&] { table.add(other); }, 2, 0, 2, 0},
      {"added again", [&] { table.add(e); }, 2, 0, 2, 0},
      {"setLayer", [&] { e->setLayer(l2); }, 1, 1, 2, 0},
      {"setLayer to the same", [&] { e->setLayer(l2); }, 1, 1, 2, 0},
      {"setLtype", [&] { e->setLtype(dashed.get()); }, 1, 1, 1, 1},
      {"base snapshot restored", [&] { e->setMemento(first.get()); }, 2, 0, 2, 0},
      {"restored twice", [&] { e->setMemento(first.get()); }, 2, 0, 2, 0},
      {"other moved", [&] { other->setLayer(l2); }, 1, 1, 2, 0},
      {"other removed", [&] { table.remove(other), removed.reset(other); }, 1, 0, 1, 0},
      {"removed twice", [&] { table.remove(other); }, 1, 0, 1, 0},
      {"cleared", [&] { table.clearAll(); }, 0, 0, 0, 0},
  };
  for (const auto& s : steps) {
    s.run();
    EXPECT_EQ(l1->getEntities(), s.l1) << s.what;
    EXPECT_EQ(l2->getEntities(), s.l2) << s.what;
    EXPECT_EQ(continuous.getEntities(), s.t1) << s.what;
    EXPECT_EQ(dashed->getEntities(), s.t2) << s.what;
  }
}

// The base snapshot sees colour, layer and linetype (not the caller's words), the class's own
// snapshot the point; each restores what it records, and the counts move in equal measure.
TEST_F(EntityTableTest, SnapshotComparisonsAndRestore) {
  TestPnt e(0, thawed.get(), &continuous, 7, PNT_3D(1, 2, 3));
  const std::unique_ptr<CEntBaseMemento> base(e.createBaseMemento());
  const std::unique_ptr<IEntDerivedMemento> own(e.createDerivedMemento());
  EXPECT_EQ(own->fitMemento(e), nullptr);
  const struct {
    const char* what;
    std::function<void(TestPnt&)> change;
    bool baseEqual, ownEqual;
  } cases[] = {
      {"unchanged", [](TestPnt&) {}, true, true},
      {"colour", [](TestPnt& x) { x.setColor(256); }, false, true},
      {"layer", [&](TestPnt& x) { x.setLayer(frozen.get()); }, false, true},
      {"linetype", [&](TestPnt& x) { x.setLtype(dashed.get()); }, false, true},
      {"user words", [](TestPnt& x) { x.setUserInfo(5, 6); }, true, true},
      {"point", [](TestPnt& x) { x.setPnt(PNT_3D(1, 2, 4)); }, true, false},
  };
  const DataPtr d = newDrawing();
  for (const auto& c : cases) {
    c.change(e);
    EXPECT_EQ(e == *base, c.baseEqual) << c.what;
    EXPECT_EQ(e != *base, !c.baseEqual) << c.what;
    EXPECT_EQ(e == *own, c.ownEqual) << c.what;
    EXPECT_EQ(e != *own, !c.ownEqual) << c.what;
    e.setMemento(base.get());
    e.setMemento(*d, own.get());
    EXPECT_TRUE(e == *base && e == *own) << c.what;
    EXPECT_EQ(e.getBdry(), RECT_3D(1, 2, 3, 1, 2, 3)) << c.what;
  }
  EXPECT_EQ((std::vector<long>{thawed->getEntities(), frozen->getEntities(),
                               continuous.getEntities(), dashed->getEntities()}),
            std::vector<long>(4, 0));
}
