// tests/entities/entity_test.cpp: CEnt's counts on layers and linetypes through table membership,
// setLayer, setLtype and base snapshots; the comparisons with both kinds of snapshot.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/linetypes/linetype.h>

#include "entities/test_entity.h"

namespace {

struct Items {
  CLtypeFactory ltypes;
  CLayerFactory layers;
  std::unique_ptr<CLtype> t1{ltypes.create("DASHED", "", nullptr, 0, 0)};
  std::unique_ptr<CLtype> t2{ltypes.create("HIDDEN", "", nullptr, 0, 0)};
  std::unique_ptr<CLayer> l1{layers.create("WALLS", t1.get(), 7, 0)};
  std::unique_ptr<CLayer> l2{layers.create("DOORS", t1.get(), 3, 0)};
};

}  // namespace

TEST(EntityTest, CountsMoveOnlyWithReferencesAndMembership) {
  Items it;
  CHandleGestorDefault g;
  CBlockXRefDepend depend;
  CEntTable table(g, depend);
  auto* e = new TestPnt(0, it.l1.get(), it.t1.get(), 7, PNT_3D(1, 2, 3));
  auto* other = new TestPnt(*e, 0);
  const std::unique_ptr<CEntBaseMemento> first(e->createBaseMemento());
  std::unique_ptr<TestPnt> removed;
  struct Step {
    const char* what;
    std::function<void()> run;
    long l1, l2, t1, t2;
  };
  const Step steps[] = {
      {"constructed and copied", [] {}, 0, 0, 0, 0},
      {"added", [&] { table.add(e); }, 1, 0, 1, 0},
      {"copy added", [&] { table.add(other); }, 2, 0, 2, 0},
      {"added again", [&] { table.add(e); }, 2, 0, 2, 0},
      {"setLayer", [&] { e->setLayer(it.l2.get()); }, 1, 1, 2, 0},
      {"setLayer to the same", [&] { e->setLayer(it.l2.get()); }, 1, 1, 2, 0},
      {"setLtype", [&] { e->setLtype(it.t2.get()); }, 1, 1, 1, 1},
      {"base snapshot restored", [&] { e->setMemento(first.get()); }, 2, 0, 2, 0},
      {"restored twice", [&] { e->setMemento(first.get()); }, 2, 0, 2, 0},
      {"other moved", [&] { other->setLayer(it.l2.get()); }, 1, 1, 2, 0},
      {"other removed", [&] { table.remove(other), removed.reset(other); }, 1, 0, 1, 0},
      {"removed twice", [&] { table.remove(other); }, 1, 0, 1, 0},
      {"cleared", [&] { table.clearAll(); }, 0, 0, 0, 0},
  };
  for (const Step& s : steps) {
    s.run();
    EXPECT_EQ(it.l1->getEntities(), s.l1) << s.what;
    EXPECT_EQ(it.l2->getEntities(), s.l2) << s.what;
    EXPECT_EQ(it.t1->getEntities(), s.t1) << s.what;
    EXPECT_EQ(it.t2->getEntities(), s.t2) << s.what;
  }
}

TEST(EntityTest, SnapshotComparisonsAndRestore) {
  Items it;
  TestPnt e(0, it.l1.get(), it.t1.get(), 7, PNT_3D(1, 2, 3));
  const std::unique_ptr<CEntBaseMemento> base(e.createBaseMemento());
  const std::unique_ptr<IEntDerivedMemento> own(e.createDerivedMemento());
  EXPECT_EQ(own->fitMemento(e), nullptr);
  struct Case {
    const char* what;
    std::function<void(TestPnt&)> change;
    bool baseEqual, ownEqual;
  };
  const Case cases[] = {
      {"unchanged", [](TestPnt&) {}, true, true},
      {"colour", [](TestPnt& x) { x.setColor(256); }, false, true},
      {"layer", [&](TestPnt& x) { x.setLayer(it.l2.get()); }, false, true},
      {"linetype", [&](TestPnt& x) { x.setLtype(it.t2.get()); }, false, true},
      {"user words", [](TestPnt& x) { x.setUserInfo(5, 6); }, true, true},
      {"point", [](TestPnt& x) { x.setPnt(PNT_3D(1, 2, 4)); }, true, false},
  };
  CData* d = CDataFactory().createData();
  for (const Case& c : cases) {
    c.change(e);
    EXPECT_EQ(e == *base, c.baseEqual) << c.what;
    EXPECT_EQ(e != *base, !c.baseEqual) << c.what;
    EXPECT_EQ(e == *own, c.ownEqual) << c.what;
    EXPECT_EQ(e != *own, !c.ownEqual) << c.what;
    e.setMemento(base.get());
    e.setMemento(*d, own.get());
    EXPECT_TRUE(e == *base && e == *own) << c.what;
    EXPECT_EQ(e.getBdry(), RECT_3D(PNT_3D(1, 2, 3), PNT_3D(1, 2, 3))) << c.what;
  }
  deleteData(d);
  // Restoring moved the counts in and out of the entity's items in equal measure.
  EXPECT_EQ(it.l1->getEntities(), 0);
  EXPECT_EQ(it.t1->getEntities(), 0);
  EXPECT_EQ(it.l2->getEntities(), 0);
}
