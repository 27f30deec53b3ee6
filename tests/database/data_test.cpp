// tests/database/data_test.cpp: a drawing as CDataFactory makes it, its current settings,
// its iterators with and without external references, and its destruction.
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include <gtest/gtest.h>

#include <string>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"

namespace {

// The names an iterator walks, checked against the count it announces.
template <class Iterator>
std::string walk(Iterator it) {
  std::string names;
  const long expected = it.size();
  long count = 0;
  for (; *it != nullptr; ++it, ++count) names += std::string((*it)->getName().c_str()) + " ";
  EXPECT_EQ(count, expected) << names;
  return names;
}

CBlockXRef* newXRef(CData& d, const char* name) {
  return d.getBlockFactory().createXRef(d.getLtypeContinuous(), d.getLtypeByLayer(),
                                        d.getLtypeByBlock(), d.getLayer0(), name);
}

TEST(Data, ANewDrawingHasItsFixedItemsAndDefaults) {
  DataPtr d = newDrawing();
  EXPECT_EQ(getCurLayer(*d), getLayer0(*d));
  EXPECT_EQ(getCurLtype(*d), getLtypeByLayer(*d));
  EXPECT_EQ(getCurStyle(*d), getStyleStandard(*d));
  EXPECT_EQ(getCurColor(*d), 256);
  EXPECT_EQ(getLtypeScale(*d), 1.0);
  EXPECT_EQ(d->getVars().getLimMax(), PNT_2D(420, 297));
  EXPECT_EQ(d->getLtypeContinuous().getLayers(), 1);  // layer 0 uses it
  EXPECT_EQ(d->getLayer0().getColor(), 7);
  for (const char* name : {"CONTINUOUS", "continuous"})
    EXPECT_EQ(getLtype(*d, name), &d->getLtypeContinuous());
  EXPECT_EQ(getLtype(*d, "ByBlock"), getLtypeByBlock(*d));
  EXPECT_EQ(getHandleGestor(*d).bookNext(), 32);
  // Without handling, every handle is 0.
  DataPtr plain = newDrawing(false);
  EXPECT_FALSE(getHandleGestor(*plain).handling());
  EXPECT_EQ(getHandleGestor(*plain).bookNext(), 0);
  EXPECT_EQ(getHandleGestor(*plain).bookHandle(57), 0);
}

TEST(Data, IteratorsWalkExternalReferencesSkippingEmptyTables) {
  DataPtr d = newDrawing();
  EXPECT_EQ(walk(CData::CLtypeIterator(*d, false, true)), "BYLAYER BYBLOCK Continuous ");
  CData::CLayerIterator it(*d, false);
  CData::CLayerIterator before = it++;
  EXPECT_EQ(*before, getLayer0(*d));
  EXPECT_EQ(*it, nullptr);
  ++it;  // stays at the end
  EXPECT_EQ(*it, nullptr);

  addLayer(*d, d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 1, 0));
  CBlockXRefTable& xrefs = d->getBlockXRefTable();
  for (const char* name : {"EMPTY", "A", "B"}) xrefs.add(newXRef(*d, name));
  const char* layerNames[] = {"", "DOORS", "ROOF"};
  for (int i = 1; i <= 2; ++i) {
    CBlockXRef& x = *xrefs[i];
    x.add(d->getLayerFactory().createXRef(x, layerNames[i], &d->getLtypeContinuous(), 2, 0));
    x.add(d->getLtypeFactory().createXRef(x, "DOT", "", CLtypeComplexDashSeq(), 0));
  }
  xrefs[0]->getStyleTable().clearAll();  // an empty style table is skipped too
  EXPECT_EQ(walk(CData::CLayerIterator(*d, false)), "0 WALLS ");
  EXPECT_EQ(walk(CData::CLayerIterator(*d, true)), "0 WALLS DOORS ROOF ");
  EXPECT_EQ(walk(CData::CLtypeIterator(*d, true, false)), "Continuous DOT DOT ");
  EXPECT_EQ(walk(CData::CStyleIterator(*d, false)), "STANDARD ");
  EXPECT_EQ(walk(CData::CStyleIterator(*d, true)), "STANDARD STANDARD STANDARD ");
  // With no layers of its own, the walk goes from layer 0 straight to the references.
  delete removeLayer(*d, "WALLS");
  EXPECT_EQ(walk(CData::CLayerIterator(*d, true)), "0 DOORS ROOF ");
}

TEST(Data, DeletingADrawingFreesEverythingItHolds) {
  const long liveBefore = TestPnt::live();
  {
    DataPtr d = newDrawing();
    CLtype* dashed = d->getLtypeFactory().create("DASHED", "", nullptr, 0, 0);
    addLtype(*d, dashed);
    CLayer* walls = d->getLayerFactory().create("WALLS", dashed, 1, 0);
    addLayer(*d, walls);
    IHandleGestor& g = getHandleGestor(*d);
    CBlock* b = d->getBlockFactory().create("B", 0);
    b->add(new TestPnt(g.bookNext(), walls, dashed, 256, PNT_3D(0, 0, 0)));
    d->getBlockTable().add(b);
    d->getEntTable().add(new TestInsert(b, PNT_3D(1, 1, 0), walls, dashed, g.bookNext()));
    d->getEntTable().add(new TestPnt(g.bookNext(), walls, dashed, 256, PNT_3D(2, 2, 0)));
    d->getBlockXRefTable().add(newXRef(*d, "X"));
    addStyle(*d, d->getStyleFactory().create("NOTES", nullptr, 0, 1, 0, 2.5, 0));
    EXPECT_EQ(walls->getEntities(), 3);
    EXPECT_EQ(b->getEntities(), 1);
    EXPECT_EQ(TestPnt::live(), liveBefore + 2);
  }
  EXPECT_EQ(TestPnt::live(), liveBefore);  // LeakSanitizer checks the rest
  deleteData(nullptr);
}

}  // namespace
