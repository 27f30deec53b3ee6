// tests/dxf/in/semantor_test.cpp: the load semantor on a fresh drawing: layer "0" moves its
// linetype's use, blocks made early are filled later and redefined, external references are
// made, initialised and loaded, names used twice are refused, and a new block that cannot be
// filled takes its entities with it. First definitions of table items are checked in DXF.
#include <veltcore/veltcore.h>

#include <gtest/gtest.h>

#include <iterator>
#include <new>
#include <type_traits>
#include <vector>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"

namespace {

using SemantorError = IFileDXFISemantor::SemantorError;
using AlreadyDefined = IFileDXFISemantor::BlockAlreadyDefinedSemantorError;
using SecondDefinition = IFileDXFISemantor::BlockSecondDefinitionSemantorError;
static_assert(std::is_abstract_v<IFileDXFISemantor> &&
              !std::has_virtual_destructor_v<IFileDXFISemantor> &&
              sizeof(IFileDXFISemantor) == sizeof(void*) &&  // the interface holds no data
              std::is_base_of_v<SemantorError, AlreadyDefined> &&
              std::is_base_of_v<SemantorError, SecondDefinition>);

class LoadSemantor : public ::testing::Test {
 protected:
  void SetUp() override { livePoints_ = TestPnt::live(); }
  // The drawing deletes what it holds; anything else still alive leaked.
  void TearDown() override {
    data.reset();
    EXPECT_EQ(TestPnt::live(), livePoints_) << "points leaked";
  }
  std::mylist<CEnt*> points(int n) {
    std::mylist<CEnt*> list;
    for (int i = 0; i < n; ++i)
      list.push_back(ents.createTestPnt(data->getHandleGestor(), walls, &data->getLtypeByLayer(),
                                        256, PNT_3D(i, 2, 3), 0));
    return list;
  }

  DataPtr data = newDrawing();
  CFileDXFILoadDataSemantor sem{*data};
  TestEntFactory ents;
  CLayer* walls = (sem.createLayer("WALLS", nullptr, 7, 0), data->getLayerTable().get("WALLS"));

 private:
  long livePoints_ = 0;
};

// Layer 0 and the standard style change in place (the DXF table tests check their values);
// here the use counts of the linetypes follow.
TEST_F(LoadSemantor, Layer0MovesItsLinetypeUse) {
  IFileDXFISemantor& s = sem;
  EXPECT_TRUE(s.shouldReadHeaders() && s.shouldRespectHandles());
  EXPECT_EQ(&s.getEntFactory(), &data->getEntFactory());
  CLtypeComplexDashSeq dashes;
  dashes.AddDashDouble(0.5);
  sem.createLtype("DASHED", "__ __", dashes, 0);
  CLtype* dashed = s.getLtype("dashed");
  CLtypeContinuous& continuous = data->getLtypeContinuous();
  const long continuousLayers = continuous.getLayers();
  sem.createLayer0(dashed, 5, CLayer::kOff);
  EXPECT_EQ(s.getLayer("0"), &data->getLayer0());
  EXPECT_EQ(dashed->getLayers(), 1);
  EXPECT_EQ(continuous.getLayers(), continuousLayers - 1);
  sem.createLayer0(nullptr, 4, 0);  // without a linetype, continuous
  sem.createLayerXRef("REF", "DOORS", nullptr, 5, 16);
  EXPECT_EQ(data->getBlockXRefTable().get("REF")->getLayer("DOORS")->getLtype(), &continuous);
  EXPECT_EQ(continuous.getLayers(), continuousLayers + 1);
  EXPECT_EQ(dashed->getLayers(), 0);
}

TEST_F(LoadSemantor, BlocksTakeTheListAndRedefinitionsDropTheOldContents) {
  std::mylist<CEnt*> list = points(3);
  const std::vector<CEnt*> expected(list.begin(), list.end());
  sem.createBlock("DOOR", PNT_3D(1, 0, 0), 0, list);
  EXPECT_TRUE(list.empty());
  CBlock* door = data->getBlockTable().get("door");
  ASSERT_TRUE(door != nullptr && door->size() == 3);
  EXPECT_EQ(door->getPnt(), PNT_3D(1, 0, 0));
  EXPECT_EQ(std::vector<CEnt*>({(*door)[0], (*door)[1], (*door)[2]}), expected);
  // A block named before its definition is made empty and filled by it.
  CBlock* hurried = sem.createBlockHurried("WINDOW", 0);
  ASSERT_TRUE(hurried != nullptr && hurried->size() == 0);
  EXPECT_EQ(sem.getBlock("WINDOW"), hurried);
  std::mylist<CEnt*> two = points(2);
  sem.createBlock("window", PNT_3D(0, 5, 0), 4, two);
  EXPECT_EQ(data->getBlockTable().size(), 2);
  EXPECT_EQ(hurried->size(), 2);
  EXPECT_EQ(hurried->getPnt(), PNT_3D(0, 5, 0));
  EXPECT_EQ(hurried->getFlags(), 4);
  EXPECT_EQ(walls->getEntities(), 5);

  const long liveBefore = TestPnt::live();
  std::mylist<CEnt*> second = points(1);
  CEnt* survivor = second.front();
  sem.createBlock("DOOR", PNT_3D(0, 0, 0), 0, second);
  ASSERT_EQ(door->size(), 1);
  EXPECT_EQ((*door)[0], survivor);
  EXPECT_EQ(TestPnt::live(), liveBefore + 1 - 3);
  EXPECT_EQ(walls->getEntities(), 3);
  // A redefinition that would contain itself fails with nothing changed.
  std::mylist<CEnt*> self{new TestInsert(door, PNT_3D(0, 0, 0))};
  EXPECT_THROW(sem.createBlock("DOOR", PNT_3D(0, 0, 0), 0, self), SemantorError);
  EXPECT_EQ((*door)[0], survivor);
  ASSERT_EQ(self.size(), 1u);  // still the caller's
  delete self.front();
}

TEST_F(LoadSemantor, OneNameCannotBeBothABlockAndAnExternalReference) {
  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(0, 0, 0), 0);
  std::mylist<CEnt*> list = points(2);
  EXPECT_THROW(sem.createBlock("ref", PNT_3D(0, 0, 0), 0, list), AlreadyDefined);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(data->getBlockTable().size(), 0);
  for (CEnt* e : list) delete e;
  sem.createBlockHurried("DOOR", 0);
  EXPECT_THROW(sem.createBlockXRef("door", "/nowhere/door.dxf", PNT_3D(0, 0, 0), 0),
               AlreadyDefined);
  EXPECT_THROW(sem.createLayerXRef("DOOR", "WALLS", nullptr, 1, 16), AlreadyDefined);
  CLtypeComplexDashSeq dashes;
  EXPECT_THROW(sem.createLtypeXRef("DOOR", "DASHED", "", dashes, 16), AlreadyDefined);
  EXPECT_EQ(data->getBlockXRefTable().size(), 1);
  EXPECT_EQ(sem.getBlock("ref"), data->getBlockXRefTable().get("REF"));
  EXPECT_EQ(sem.getBlock("WINDOW"), nullptr);
  // Only a drawing edited from outside can come to hold both.
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
  ASSERT_NE(ref->getLayer("WALLS"), nullptr);
  EXPECT_EQ(ref->getLayer("WALLS")->getColor(), 3);
  EXPECT_EQ(ref->getLayer("WALLS")->getLtype(), refDashed);
  EXPECT_STREQ(refDashed->getDesc().c_str(), "__");
  EXPECT_EQ(data->getLayerTable().size() + data->getLtypeTable().size(), 1);  // WALLS alone

  sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(1, 2, 3), 0);
  EXPECT_EQ(data->getBlockXRefTable().get("REF"), ref);
  EXPECT_TRUE(ref->initialized());
  EXPECT_STREQ(ref->getPath().c_str(), "/nowhere/ref.dxf");
  EXPECT_EQ(ref->getPnt(), PNT_3D(1, 2, 3));
  EXPECT_EQ(ref->getStatus(), CBlockXRef::kNotLoaded);
  // The same path (compared as file names are on the library's native platform) changes
  // nothing; another is refused.
  sem.createBlockXRef("ref", "/NOWHERE/REF.DXF", PNT_3D(9, 9, 9), 0);
  EXPECT_EQ(ref->getPnt(), PNT_3D(1, 2, 3));
  EXPECT_THROW(sem.createBlockXRef("REF", "/nowhere/other.dxf", PNT_3D(0, 0, 0), 0),
               SecondDefinition);
  EXPECT_STREQ(ref->getPath().c_str(), "/nowhere/ref.dxf");
  // Marked loaded, a reference is loaded at once, here from a missing file: the reader's
  // error, after the status became file-not-found; also when it is met again so marked.
  const long loaded = CBlockXRef::kXRefLoaded;
  EXPECT_THROW(sem.createBlockXRef("REF", "/nowhere/ref.dxf", PNT_3D(0, 0, 0), loaded),
               CFileDXFIParser::FileDXFException);
  EXPECT_EQ(ref->getStatus(), CBlockXRef::kFileNotFound);
  EXPECT_THROW(sem.createBlockXRef("NEW", "/nowhere/new.dxf", PNT_3D(0, 0, 0), loaded),
               CFileDXFIParser::FileDXFException);
  EXPECT_EQ(data->getBlockXRefTable().get("NEW")->getStatus(), CBlockXRef::kFileNotFound);
}

// A block that cannot take a third entity, as one that runs out of memory would.
class FailingBlock : public CBlock {
 public:
  static inline int live = 0;
  FailingBlock(const String& name, const PNT_3D& base, long flags) : CBlock(name, base, flags) {
    ++live;
  }
  ~FailingBlock() override { --live; }
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
    EXPECT_EQ(FailingBlock::live, 0);
    EXPECT_EQ(data->getBlockTable().size() + data->getLayer0().getEntities(), 0);
    // The two the block held went with it, giving their handles back; the rest are the caller's.
    EXPECT_EQ(TestPnt::live(), livePoints + 2);
    EXPECT_EQ(std::vector<CEnt*>(list.begin(), list.end()), notMoved);
    for (long h : movedHandles) EXPECT_NO_THROW(data->getHandleGestor().bookHandle(h)) << h;
    for (CEnt* e : list) delete e;
  }
  EXPECT_EQ(TestPnt::live(), livePoints);
}

}  // namespace
