// tests/database/xref_test.cpp: external references: dependency records and needed counts,
// load status without a readable file, unloading, and dependent names.
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/parser.h>

#include <gtest/gtest.h>

#include "database/test_drawing.h"
#include "database/test_insert.h"

namespace {

class XRefTest : public ::testing::Test {
 protected:
  // A listed reference to plan.dxf, which cannot be read from the test's directory.
  CBlockXRef* xref(const char* name) {
    CBlockXRef* x = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                    d->getLtypeByBlock(), d->getLayer0(), name,
                                                    "plan.dxf", PNT_3D(0, 0, 0), 0);
    d->getBlockXRefTable().add(x);
    return x;
  }

  DataPtr d = newDrawing();
};

TEST_F(XRefTest, DependRecordsCountUsesAndReferencesCountRecords) {
  CBlockXRef* x = xref("X");
  CBlockXRef* y = xref("Y");
  CBlockXRefDepend first, second;
  first.add(x);
  first.add(x);
  first.add(y);
  second.add(x);
  EXPECT_EQ(x->getNeeded(), 2);  // two records name x, whatever their counts
  EXPECT_EQ(first.getDependList().size(), 2u);
  EXPECT_EQ(first.getDependList()[0]->count, 2);
  first.dec(x);
  EXPECT_EQ(x->getNeeded(), 2);
  first.dec(x);
  EXPECT_EQ(x->getNeeded(), 1);
  EXPECT_EQ(first.getDependList().size(), 1u);
  first.dec(x);  // no record: nothing happens
  EXPECT_EQ(x->getNeeded(), 1);
  second.zero();
  first.zero();
  EXPECT_EQ(x->getNeeded() + y->getNeeded(), 0);
  EXPECT_TRUE(first.getDependList().empty());
}

TEST_F(XRefTest, LoadWithoutAReadableFileEndsNotFound) {
  CBlockXRef* x = xref("PLAN");
  EXPECT_TRUE(x->initialized());
  EXPECT_EQ(x->getStatus(), CBlockXRef::kNotLoaded);
  EXPECT_THROW(x->load(*d), CFileDXFIParser::FileDXFException);
  EXPECT_EQ(x->getStatus(), CBlockXRef::kFileNotFound);
  EXPECT_FALSE(x->loaded());
  EXPECT_EQ(x->getFlags() & 32, 0);
  x->setPath(*d, "other.dxf");  // not loaded: only the path changes
  EXPECT_STREQ(x->getPath().c_str(), "other.dxf");
  EXPECT_EQ(x->getStatus(), CBlockXRef::kFileNotFound);
}

TEST_F(XRefTest, UnloadDropsContentsButKeepsLayersAndLinetypes) {
  CBlockXRef* x = xref("PLAN");
  CLtypeXRef* dashed = d->getLtypeFactory().createXRef(*x, "DASHED", "", CLtypeComplexDashSeq(), 0);
  x->add(dashed);
  CLayerXRef* walls = d->getLayerFactory().createXRef(*x, "WALLS", dashed, 1, 16 | 32);
  x->add(walls);
  EXPECT_EQ(dashed->getLayers(), 1);
  x->add(new TestInsert(nullptr, PNT_3D(1, 1, 0), walls, dashed));
  EXPECT_EQ(walls->getEntities(), 1);
  x->add(d->getBlockFactory().create("INNER", 0));
  CBlockXRef* other = xref("OTHER");
  x->getDepend().add(other);
  x->unload();
  EXPECT_EQ(x->size(), 0);
  EXPECT_EQ(walls->getEntities(), 0);
  EXPECT_EQ(x->getBlockTable().size(), 0);
  EXPECT_EQ(x->getStyleTable().size(), 0);
  EXPECT_EQ(x->getLayer("walls"), walls);
  EXPECT_EQ(walls->getFlags(), 16);
  EXPECT_EQ(dashed->getFlags() & 0x30, 0x10);
  EXPECT_STREQ(dashed->getFullName().c_str(), "PLAN|DASHED");
  EXPECT_EQ(other->getNeeded(), 1);  // unload keeps the dependencies; load resets them
  EXPECT_THROW(x->load(*d), CFileDXFIParser::FileDXFException);
  EXPECT_EQ(other->getNeeded(), 0);
}

TEST(XRef, DependentNamesSplitAtTheFirstBar) {
  const struct {
    const char *full, *prefix, *name;  // prefix null: no split
  } cases[] = {{"A|WALL", "A", "WALL"}, {"A|B|C", "A", "B|C"}, {"|WALL", nullptr, ""},
               {"WALL|", nullptr, ""},  {"WALL", nullptr, ""}, {"", nullptr, ""},
               {"|", nullptr, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.full);
    String prefix("untouched"), name("untouched");
    EXPECT_EQ(scomposeName(c.full, prefix, name), c.prefix != nullptr);
    EXPECT_STREQ(prefix.c_str(), c.prefix ? c.prefix : "untouched");
    EXPECT_STREQ(name.c_str(), c.prefix ? c.name : "untouched");
  }
}

}  // namespace
