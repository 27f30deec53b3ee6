// tests/dxf/in/semantor_test.cpp: the load semantor on a fresh drawing: first definitions win,
// layer "0" and the standard style change in place, blocks made early are filled later,
// external references are made, initialised and loaded, names used twice are refused, and a
// new block that cannot be filled takes its entities with it.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/linetypes/dash.h>

#include <gtest/gtest.h>

#include <iterator>
#include <new>
#include <type_traits>
#include <vector>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"
#include "geometry/test_font.h"

namespace {

static_assert(std::is_abstract_v<IFileDXFISemantor>);
static_assert(!std::has_virtual_destructor_v<IFileDXFISemantor>);
static_assert(sizeof(IFileDXFISemantor) == sizeof(void*), "the interface holds no data");
static_assert(std::is_base_of_v<IFileDXFISemantor::SemantorError,
                                IFileDXFISemantor::BlockAlreadyDefinedSemantorError>);
static_assert(std::is_base_of_v<IFileDXFISemantor::SemantorError,
                                IFileDXFISemantor::BlockSecondDefinitionSemantorError>);

using SemantorError = IFileDXFISemantor::SemantorError;
using AlreadyDefined = IFileDXFISemantor::BlockAlreadyDefinedSemantorError;
using SecondDefinition = IFileDXFISemantor::BlockSecondDefinitionSemantorError;

class LoadSemantor : public ::testing::Test {
 protected:
  void SetUp() override { livePoints_ = TestPnt::live(); }
  // The drawing deletes what it holds; anything else still alive leaked.
  void TearDown() override {
    data.reset();
    EXPECT_EQ(TestPnt::live(), livePoints_) << "points leaked";
  }

  CLtype* addLtype(const char* name) {
    CLtype* lt = data->getLtypeFactory().create(name, "", nullptr, 0, 0);
    data->getLtypeTable().add(lt);
    return lt;
  }
  CLayer* addLayer(const char* name) {
    sem.createLayer(name, nullptr, 7, 0);
    return data->getLayerTable().get(name);
  }
  TestPnt* point(CLayer* layer) {
    return ents.createTestPnt(data->getHandleGestor(), layer, &data->getLtypeByLayer(), 256,
                              PNT_3D(1, 2, 3), 0);
  }
  std::mylist<CEnt*> points(int n, CLayer* layer) {
    std::mylist<CEnt*> list;
    for (int i = 0; i < n; ++i) list.push_back(point(layer));
    return list;
  }
  static void dispose(std::mylist<CEnt*>& list) {
    for (CEnt* e : list) delete e;
    list.clear();
  }

  DataPtr data = newDrawing();
  CFileDXFILoadDataSemantor sem{*data};
  TestEntFactory ents;

 private:
  long livePoints_ = 0;
};

TEST_F(LoadSemantor, LooksUpAndServesFromTheDrawing) {
  CLtype* dashed = addLtype("DASHED");
  CLayer* walls = addLayer("WALLS");
  IFileDXFISemantor& s = sem;
  EXPECT_TRUE(s.shouldReadHeaders() && s.shouldRespectHandles());
  EXPECT_EQ(s.getVars(), &data->getVars());
  EXPECT_EQ(s.getLtype("dashed"), dashed);
  EXPECT_EQ(s.getLtype("BYLAYER"), &data->getLtypeByLayer());
  EXPECT_EQ(s.getLtype("DOTTED"), nullptr);
  EXPECT_EQ(s.getLtypeByLayer(), &data->getLtypeByLayer());
  EXPECT_EQ(s.getLayer("walls"), walls);
  EXPECT_EQ(s.getLayer("0"), &data->getLayer0());
  EXPECT_EQ(s.getLayer("ROOF"), nullptr);
  EXPECT_EQ(s.getStyle("standard"), &data->getStyleTable().getStyleStandard());
  EXPECT_EQ(s.getStyleStandard(), &data->getStyleTable().getStyleStandard());
  EXPECT_EQ(s.getStyle("NOTES"), nullptr);
  EXPECT_EQ(&s.getBlockFactory(), &data->getBlockFactory());
  EXPECT_EQ(&s.getBlockTable(), &data->getBlockTable());
  EXPECT_EQ(&s.getDepend(), &data->getDepend());
  EXPECT_EQ(&s.getHandleGestor(), &data->getHandleGestor());
  EXPECT_EQ(&s.getEntFactory(), &data->getEntFactory());
  // Added entities enter the drawing.
  TestPnt* p = point(walls);
  s.add(p);
  EXPECT_EQ(data->getEntTable().getEntityTbl().back(), p);
  EXPECT_EQ(walls->getEntities(), 1);
}

TEST_F(LoadSemantor, LayersKeepTheirFirstDefinitionAndLayer0ChangesInPlace) {
  CLtype* dashed = addLtype("DASHED");
  CLtypeContinuous& continuous = data->getLtypeContinuous();
  const long continuousLayers = continuous.getLayers();
  sem.createLayer("WALLS", dashed, 1, CLayer::kLocked);
  sem.createLayer("walls", &continuous, 2, CLayer::kFrozen);
  ASSERT_EQ(data->getLayerTable().size(), 1);
  CLayer* walls = data->getLayerTable().get("WALLS");
  EXPECT_STREQ(walls->getName().c_str(), "WALLS");
  EXPECT_EQ(walls->getLtype(), dashed);
  EXPECT_EQ(walls->getColor(), 1);
  EXPECT_EQ(walls->getFlags(), CLayer::kLocked);

  CLayer0& layer0 = data->getLayer0();
  sem.createLayer0(dashed, 5, CLayer::kOff);
  EXPECT_EQ(layer0.getColor(), 5);
  EXPECT_EQ(layer0.getLtype(), dashed);
  EXPECT_EQ(layer0.getFlags(), CLayer::kOff);
  EXPECT_EQ(data->getLayerTable().size(), 1);
  // Layer 0's use moved from continuous to the new linetype.
  EXPECT_EQ(dashed->getLayers(), 2);
  EXPECT_EQ(continuous.getLayers(), continuousLayers - 1);

  // Without a linetype, layers get continuous.
  sem.createLayer("ROOF", nullptr, 3, 0);
  EXPECT_EQ(data->getLayerTable().get("ROOF")->getLtype(), &continuous);
  sem.createLayer0(nullptr, 4, 0);
  EXPECT_EQ(layer0.getLtype(), &continuous);
  sem.createLayerXRef("REF", "DOORS", nullptr, 5, 16);
  EXPECT_EQ(data->getBlockXRefTable().get("REF")->getLayer("DOORS")->getLtype(), &continuous);
  EXPECT_EQ(continuous.getLayers(), continuousLayers + 2);
}

TEST_F(LoadSemantor, LinetypesAndStylesKeepTheirFirstDefinitionAndBuiltInsStay) {
  CLtypeComplexDashSeq first, second;
  first.AddDashDouble(0.5);
  first.AddDashDouble(-0.25);
  second.AddDashDouble(1.0);
  sem.createLtype("DASHED", "__ __", first, 0);
  sem.createLtype("Dashed", "other", second, 0);
  sem.createLtype("CONTINUOUS", "Solid", second, 0);
  ASSERT_EQ(data->getLtypeTable().size(), 1);
  CLtype* dashed = data->getLtypeTable().get("DASHED");
  EXPECT_STREQ(dashed->getDesc().c_str(), "__ __");
  EXPECT_EQ(dashed->getNoDashes(), 2);
  EXPECT_DOUBLE_EQ(dashed->getPatternLen(), 0.75);

  TestFont font("txt", TestFont::Metrics{10, 3, 6, 7, -2});
  CStyleStandard* standard = &data->getStyleTable().getStyleStandard();
  sem.createStyleStandard(&font, 2.5, 0.8, 0.2, 3.0, CStyle::kBold);
  EXPECT_EQ(&data->getStyleTable().getStyleStandard(), standard);
  EXPECT_EQ(standard->getFont(), &font);
  const double values[] = {standard->getFixedHeight(), standard->getWidthScale(),
                           standard->getOblique(), standard->getLastHeight()};
  EXPECT_EQ(std::vector<double>(values, values + 4), std::vector<double>({2.5, 0.8, 0.2, 3.0}));
  EXPECT_EQ(standard->getFlags(), CStyle::kBold);
  sem.createStyle("NOTES", &font, 0.0, 1.0, 0.0, 2.5, 0);
  sem.createStyle("notes", nullptr, 9.0, 2.0, 1.0, 9.0, CStyle::kItalic);
  ASSERT_EQ(data->getStyleTable().size(), 2);
  CStyle* notes = data->getStyleTable().get("NOTES");
  EXPECT_EQ(notes->getFont(), &font);
  EXPECT_EQ(notes->getLastHeight(), 2.5);
  EXPECT_EQ(notes->getFlags(), 0);
}

TEST_F(LoadSemantor, ANewBlockTakesTheEntitiesOfTheList) {
  CLayer* walls = addLayer("WALLS");
  std::mylist<CEnt*> list = points(3, walls);
  const std::vector<CEnt*> expected(list.begin(), list.end());
  sem.createBlock("DOOR", PNT_3D(1, 0, 0), 0, list);
  EXPECT_TRUE(list.empty());
  CBlock* door = data->getBlockTable().get("door");
  ASSERT_NE(door, nullptr);
  EXPECT_EQ(door->getPnt(), PNT_3D(1, 0, 0));
  ASSERT_EQ(door->size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*door)[i], expected[static_cast<std::size_t>(i)]);
  EXPECT_EQ(walls->getEntities(), 3);
}

TEST_F(LoadSemantor, AHurriedBlockIsFilledByItsLaterDefinition) {
  CLayer* walls = addLayer("WALLS");
  CBlock* hurried = sem.createBlockHurried("WINDOW", 0);
  ASSERT_NE(hurried, nullptr);
  EXPECT_EQ(data->getBlockTable().get("WINDOW"), hurried);
  EXPECT_EQ(hurried->size(), 0);

  std::mylist<CEnt*> list = points(2, walls);
  sem.createBlock("window", PNT_3D(0, 5, 0), 4, list);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(data->getBlockTable().size(), 1);
  EXPECT_EQ(data->getBlockTable().get("WINDOW"), hurried);
  EXPECT_EQ(hurried->size(), 2);
  EXPECT_EQ(hurried->getPnt(), PNT_3D(0, 5, 0));
  EXPECT_EQ(hurried->getFlags(), 4);
  EXPECT_EQ(walls->getEntities(), 2);
}

TEST_F(LoadSemantor, ABlockDefinedAgainTakesTheNewContentsAndDropsTheOld) {
  CLayer* walls = addLayer("WALLS");
  std::mylist<CEnt*> first = points(3, walls);
  sem.createBlock("DOOR", PNT_3D(0, 0, 0), 0, first);
  const long liveAfterFirst = TestPnt::live();
  std::mylist<CEnt*> second = points(1, walls);
  CEnt* survivor = second.front();
  sem.createBlock("DOOR", PNT_3D(0, 0, 0), 0, second);
  CBlock* door = data->getBlockTable().get("DOOR");
  ASSERT_EQ(door->size(), 1);
  EXPECT_EQ((*door)[0], survivor);
  EXPECT_EQ(TestPnt::live(), liveAfterFirst + 1 - 3);
  EXPECT_EQ(walls->getEntities(), 1);
}

TEST_F(LoadSemantor, ARedefinitionThatWouldContainItselfFailsWithNothingChanged) {
  CBlock* a = sem.createBlockHurried("A", 0);
  std::mylist<CEnt*> list{new TestInsert(a, PNT_3D(0, 0, 0))};
  EXPECT_THROW(sem.createBlock("A", PNT_3D(0, 0, 0), 0, list), SemantorError);
  EXPECT_EQ(a->size(), 0);
  ASSERT_EQ(list.size(), 1u);  // still the caller's
  dispose(list);
}

TEST_F(LoadSemantor, OneNameCannotBeBothABlockAndAnExternalReference) {
  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(0, 0, 0), 0);
  std::mylist<CEnt*> list = points(2, &data->getLayer0());
  EXPECT_THROW(sem.createBlock("ref", PNT_3D(0, 0, 0), 0, list), AlreadyDefined);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(data->getBlockTable().size(), 0);
  dispose(list);

  sem.createBlockHurried("DOOR", 0);
  EXPECT_THROW(sem.createBlockXRef("door", "/nowhere/door.dxf", PNT_3D(0, 0, 0), 0),
               AlreadyDefined);
  EXPECT_THROW(sem.createLayerXRef("DOOR", "WALLS", nullptr, 1, 16), AlreadyDefined);
  CLtypeComplexDashSeq dashes;
  EXPECT_THROW(sem.createLtypeXRef("DOOR", "DASHED", "", dashes, 16), AlreadyDefined);
  EXPECT_EQ(data->getBlockXRefTable().size(), 1);
}

TEST_F(LoadSemantor, GetBlockFindsBlocksAndReferencesButNotANameHeldByBoth) {
  CBlock* door = sem.createBlockHurried("DOOR", 0);
  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(0, 0, 0), 0);
  EXPECT_EQ(sem.getBlock("door"), door);
  EXPECT_EQ(sem.getBlock("ref"), data->getBlockXRefTable().get("REF"));
  EXPECT_EQ(sem.getBlock("WINDOW"), nullptr);

  // Only a drawing edited from outside can come to this.
  data->getBlockXRefTable().add(
      data->getBlockFactory().createXRef(data->getLtypeContinuous(), data->getLtypeByLayer(),
                                         data->getLtypeByBlock(), data->getLayer0(), "DOOR"));
  EXPECT_THROW(sem.getBlock("DOOR"), SemantorError);
}

TEST_F(LoadSemantor, DependentItemsMakeTheirReferenceWhichItsRecordInitialisesLater) {
  CLtypeComplexDashSeq dashes;
  dashes.AddDashDouble(1.0);
  sem.createLtypeXRef("REF", "DASHED", "__", dashes, 16);
  CBlockXRef* ref = data->getBlockXRefTable().get("REF");
  ASSERT_NE(ref, nullptr);
  EXPECT_FALSE(ref->initialized());
  CLtype* refDashed = ref->getLtype("DASHED");
  ASSERT_NE(refDashed, nullptr);
  EXPECT_STREQ(refDashed->getFullName().c_str(), "REF|DASHED");

  sem.createLayerXRef("ref", "WALLS", refDashed, 3, 16);
  sem.createLayerXRef("REF", "walls", nullptr, 4, 16);  // the first definition stays
  sem.createLtypeXRef("REF", "dashed", "other", dashes, 16);
  EXPECT_EQ(data->getBlockXRefTable().size(), 1);
  CLayer* refWalls = ref->getLayer("WALLS");
  ASSERT_NE(refWalls, nullptr);
  EXPECT_EQ(refWalls->getColor(), 3);
  EXPECT_EQ(refWalls->getLtype(), refDashed);
  EXPECT_STREQ(refDashed->getDesc().c_str(), "__");
  // The drawing's own tables are not touched.
  EXPECT_EQ(data->getLayerTable().size(), 0);
  EXPECT_EQ(data->getLtypeTable().size(), 0);

  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(1, 2, 3), 0);
  EXPECT_EQ(data->getBlockXRefTable().get("REF"), ref);
  EXPECT_TRUE(ref->initialized());
  EXPECT_STREQ(ref->getPath().c_str(), "/nowhere/ref.dxf");
  EXPECT_EQ(ref->getPnt(), PNT_3D(1, 2, 3));
  EXPECT_EQ(ref->getStatus(), CBlockXRef::kNotLoaded);
}

TEST_F(LoadSemantor, AReferenceDefinedWithTwoPathsIsRefused) {
  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(0, 0, 0), 0);
  CBlockXRef* ref = data->getBlockXRefTable().get("REF");
  // The same path (compared as file names are on the library's native platform) changes
  // nothing.
  sem.createBlockXRef("ref", "/NOWHERE/REF.DXF", PNT_3D(9, 9, 9), 0);
  EXPECT_EQ(ref->getPnt(), PNT_3D(0, 0, 0));
  EXPECT_THROW(sem.createBlockXRef("REF", "/nowhere/other.dxf", PNT_3D(0, 0, 0), 0),
               SecondDefinition);
  EXPECT_STREQ(ref->getPath().c_str(), "/nowhere/ref.dxf");
  EXPECT_EQ(data->getBlockXRefTable().size(), 1);
}

TEST_F(LoadSemantor, AReferenceMarkedLoadedIsLoadedAtOnce) {
  // A missing file fails with the reader's error, after the status became file-not-found.
  EXPECT_THROW(
      sem.createBlockXRef("NEW", "/nowhere/new.dxf", PNT_3D(0, 0, 0), CBlockXRef::kXRefLoaded),
      CFileDXFIParser::FileDXFException);
  EXPECT_EQ(data->getBlockXRefTable().get("NEW")->getStatus(), CBlockXRef::kFileNotFound);

  // A reference met again with the loaded mark is loaded then, if it was not yet.
  sem.createBlockXRef("LATE", "/nowhere/late.dxf", PNT_3D(0, 0, 0), 0);
  CBlockXRef* late = data->getBlockXRefTable().get("LATE");
  EXPECT_EQ(late->getStatus(), CBlockXRef::kNotLoaded);
  EXPECT_THROW(
      sem.createBlockXRef("LATE", "/nowhere/late.dxf", PNT_3D(0, 0, 0), CBlockXRef::kXRefLoaded),
      CFileDXFIParser::FileDXFException);
  EXPECT_EQ(late->getStatus(), CBlockXRef::kFileNotFound);
}

// A block that cannot take a third entity, as one that runs out of memory would.
class FailingBlock : public CBlock {
 public:
  static int& live() {
    static int count = 0;
    return count;
  }
  FailingBlock(const String& name, const PNT_3D& base, long flags) : CBlock(name, base, flags) {
    ++live();
  }
  ~FailingBlock() override { --live(); }
  void add(CEnt* e) override {
    if (size() == 2) throw std::bad_alloc();
    CBlock::add(e);
  }
};

class FailingBlockFactory : public CBlockFactory {
 public:
  using CBlockFactory::create;
  CBlock* create(const String& name, const PNT_3D& base, long flags) const override {
    return new FailingBlock(name, base, flags);
  }
};

class FailingDataFactory : public CDataFactory {
 protected:
  CBlockFactory* doCreateBlockFactory() const override { return new FailingBlockFactory; }
};

TEST(LoadSemantorCleanup, ANewBlockThatCannotBeFilledIsDestroyedWithWhatItHeld) {
  const long livePoints = TestPnt::live();
  {
    DataPtr data(FailingDataFactory().createData());
    CFileDXFILoadDataSemantor sem(*data);
    TestEntFactory ents;
    std::mylist<CEnt*> list;
    for (int i = 0; i < 4; ++i)
      list.push_back(ents.createTestPnt(data->getHandleGestor(), &data->getLayer0(),
                                        &data->getLtypeByLayer(), 256, PNT_3D(i, 0, 0), 0));
    const std::vector<CEnt*> notMoved(std::next(list.begin(), 2), list.end());
    const long movedHandles[] = {list.front()->GetHandle(),
                                 (*std::next(list.begin()))->GetHandle()};

    EXPECT_THROW(sem.createBlock("B", PNT_3D(0, 0, 0), 0, list), std::bad_alloc);
    EXPECT_EQ(FailingBlock::live(), 0);
    EXPECT_EQ(data->getBlockTable().size(), 0);
    EXPECT_EQ(data->getLayer0().getEntities(), 0);
    // The two the block held went with it; the rest are still the caller's.
    EXPECT_EQ(TestPnt::live(), livePoints + 2);
    EXPECT_EQ(std::vector<CEnt*>(list.begin(), list.end()), notMoved);
    // The destroyed entities gave their handles back.
    for (long h : movedHandles) EXPECT_NO_THROW(data->getHandleGestor().bookHandle(h)) << h;
    for (CEnt* e : list) delete e;
  }
  EXPECT_EQ(TestPnt::live(), livePoints);
}

}  // namespace
