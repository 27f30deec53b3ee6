// tests/entities/entity_factory_test.cpp: handle booking for new entities, cloning through the
// factory and cloneEnt, unbooking a discarded entity, and null from a clone out of memory.
#include <gtest/gtest.h>

#include <memory>
#include <new>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>

#include "entities/test_entity.h"

namespace {

// An entity whose copies can never be had.
class Unclonable : public TestPnt {
 public:
  using TestPnt::TestPnt;

 protected:
  CEnt* clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&, long) const override {
    throw std::bad_alloc();
  }
};

}  // namespace

TEST(EntityFactoryTest, BooksTheAskedHandleOrAFreshOne) {
  CHandleGestorDefault g(32, 1000000000);
  TestEntFactory f;
  const long live = TestPnt::live();
  const struct { long asked, got; } cases[] = {{0, 32}, {57, 57}, {0, 33}};
  for (const auto& c : cases) {
    const std::unique_ptr<TestPnt> e(f.createTestPnt(g, nullptr, nullptr, 7, {}, c.asked));
    EXPECT_EQ(e->GetHandle(), c.got) << c.asked;
    EXPECT_THROW(f.createTestPnt(g, nullptr, nullptr, 7, {}, c.got),
                 IHandleGestor::HandleAlreadyUsedException);
    EXPECT_EQ(TestPnt::live(), live + 1);
    // Discarded without entering the drawing: the handle is free again.
    f.unbookHandle(g, e.get());
    EXPECT_NO_THROW(g.bookHandle(c.got));
  }
}

TEST(EntityFactoryTest, CloneIsAFreshUnlistedCopy) {
  CData* d = CDataFactory().createData();
  CLayer* layer = &d->getLayer0();
  auto* src = new TestPnt(0, layer, &d->getLtypeContinuous(), 5, PNT_3D(1, 2, 3));
  src->setUserInfo(11, 12);
  d->getEntTable().add(src);
  d->getEntTable().select(src);
  const long layerCount = layer->getEntities();
  const std::unique_ptr<CEnt> copy(cloneEnt(*d, *src));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->getType(), TestPnt::kType);
  EXPECT_EQ(static_cast<TestPnt&>(*copy).getPnt(), src->getPnt());
  EXPECT_EQ(copy->getBdry(), src->getBdry());
  EXPECT_TRUE(*copy == *std::unique_ptr<CEntBaseMemento>(src->createBaseMemento()));
  EXPECT_EQ(copy->getUserType() * 100 + copy->getUserData(), 1112);
  EXPECT_NE(copy->GetHandle(), src->GetHandle());
  EXPECT_FALSE(copy->isSelected());
  EXPECT_EQ(d->getEntTable().get(copy->GetHandle()), nullptr);
  EXPECT_EQ(layer->getEntities(), layerCount);
  // The copy's handle is booked until the copy is discarded.
  IHandleGestor& g = d->getHandleGestor();
  EXPECT_THROW(g.bookHandle(copy->GetHandle()), IHandleGestor::HandleAlreadyUsedException);
  d->getEntFactory().unbookHandle(g, copy.get());
  EXPECT_NO_THROW(g.bookHandle(copy->GetHandle()));

  const Unclonable hopeless(0, layer, nullptr, 7, PNT_3D(0, 0, 0));
  const long next = g.nextseed();
  EXPECT_EQ(cloneEnt(*d, hopeless), nullptr);
  // The handle booked for the copy stays booked.
  EXPECT_THROW(g.bookHandle(next), IHandleGestor::HandleAlreadyUsedException);
  deleteData(d);
}
