// tests/entities/insert_test.cpp: block inserts and external-reference inserts: boxes (arrays,
// rotations, attributes, bad input), counts through table entry and exit, copies and their
// handles, unbooking, snapshots, visits, and real inserts nested three deep in the block table.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/geometry/font.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_drawing.h"
#include "geometry/test_font.h"
#include "support/handle_probe.h"

namespace {

const double kPi = std::acos(-1.0);

// Registered once for the program (the font table owns it) and made the default while a test
// runs, so that the standard style of a new drawing can measure attributes.
const ICADFont* insertTestFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* f = fonts.get("insfont", false)) return f;
  fonts.add(new TestFont("insfont", {10, 2, 6, 8, -2}));
  return fonts.get("insfont", false);
}

const ICADFont* useTestFont() {
  const ICADFont* f = insertTestFont();
  CFontTable::getInstance().setDefault(f);
  return f;
}

void expectBox(const RECT_3D& got, const RECT_3D& want, const std::string& what) {
  double g[6], w[6];
  got.get(g[0], g[1], g[2], g[3], g[4], g[5]);
  want.get(w[0], w[1], w[2], w[3], w[4], w[5]);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(g[i], w[i], 1e-12) << what << ", coordinate " << i;
}

// Counts the visits an entity's accept reaches.
class Recorder : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntInsertXRef&) override { seen += 'X'; }
  void visit(CEntInsert&) override { seen += 'I'; }
  std::string seen;
};

// Hands out copies of attributes until it runs out, then null as if memory were short.
class ShortFactory : public CEntFactory {
 public:
  using CEntFactory::createEntAttrib;
  explicit ShortFactory(int copies) : left_(copies) {}
  CEntAttrib* createEntAttrib(IHandleGestor& g, const CEntAttrib& src) override {
    return left_-- > 0 ? CEntFactory::createEntAttrib(g, src) : nullptr;
  }

 private:
  int left_;
};

class InsertTest : public ::testing::Test {
 protected:
  InsertTest() {
    walls_ = d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 1, 0);
    text_ = d->getLayerFactory().create("TEXT", &d->getLtypeContinuous(), 2, 0);
    addLayer(*d, walls_);
    addLayer(*d, text_);
    style_ = d->getStyleFactory().create("LABELS", font_, 0, 1, 0, 0, 0);
    addStyle(*d, style_);
    unit_ = block("UNIT", PNT_3D(0, 0, 0));
    unit_->add(line(0, 0, 0, 1, 1, 0));
    blocks().add(unit_);
  }
  ~InsertTest() override { CFontTable::getInstance().setDefault(nullptr); }

  CBlockTable& blocks() { return d->getBlockTable(); }
  CBlock* block(const char* name, const PNT_3D& base) {
    return d->getBlockFactory().create(name, base, 0);
  }
  CEntLine* line(double x1, double y1, double z1, double x2, double y2, double z2) {
    return createEntLine(*d, walls_, &d->getLtypeContinuous(), 256, LINE_3D(x1, y1, z1, x2, y2, z2),
                         0);
  }
  CEntInsert* insert(CBlock& b, const PNT_3D& at, double s = 1, double rotate = 0) {
    return createEntInsert(*d, walls_, &d->getLtypeContinuous(), 256, b, at, s, s, s, rotate, 1, 1,
                           0, 0, 0);
  }
  // An attribute on layer TEXT, linetype by layer and style LABELS, placed in block coordinates.
  CEntAttrib* attrib(const char* value, const PNT_3D& at, const char* tag = "TAG") {
    const TEXT_3D t(value, style_, 1, 0, 1, 0, at.getX(), at.getY(), at.getZ(), 0);
    return d->getEntFactory().createEntAttrib(d->getHandleGestor(), text_, &d->getLtypeByLayer(),
                                              256, t, tag, 0, 0);
  }
  // A reference listed in the drawing, never loaded: its block box stays empty.
  CBlockXRef* xref(const char* name) {
    CBlockXRef* x = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                    d->getLtypeByBlock(), d->getLayer0(), name);
    d->getBlockXRefTable().add(x);
    return x;
  }
  IHandleGestor& gestor() { return d->getHandleGestor(); }
  const ICADFont* font_ = useTestFont();
  DataPtr d = newDrawing();
  CBlock* unit_;
  CLayer* walls_;
  CLayer* text_;
  CStyle* style_;
};

}  // namespace

TEST_F(InsertTest, BoxFollowsPlacementArrayAndZScale) {
  CBlock* tall = block("TALL", PNT_3D(0, 0, 0));
  tall->add(line(0, 0, -1, 1, 1, 2));
  blocks().add(tall);
  const struct {
    const char* what;
    CBlock* b;
    double sx, sy, sz, rotate;
    long rows, columns;
    double columnSpacing, rowSpacing;
    RECT_3D want;
  } cases[] = {
      {"plain", unit_, 1, 1, 1, 0, 1, 1, 0, 0, {10, 20, 0, 11, 21, 0}},
      {"quarter turn", unit_, 1, 1, 1, kPi / 2, 1, 1, 0, 0, {9, 20, 0, 10, 21, 0}},
      {"three columns", unit_, 1, 1, 1, 0, 1, 3, 5, 0, {10, 20, 0, 21, 21, 0}},
      {"negative spacing", unit_, 1, 1, 1, 0, 1, 3, -5, 0, {0, 20, 0, 11, 21, 0}},
      {"rows 0 count as 1", unit_, 1, 1, 1, 0, 0, 3, 5, 7, {10, 20, 0, 21, 21, 0}},
      // Spacings are not scaled; the block is.
      {"scaled array", unit_, 2, 1, 1, 0, 1, 2, 5, 0, {10, 20, 0, 17, 21, 0}},
      // Two rows 4 below, turned a quarter: the rows go to +X.
      {"rows down, turned", unit_, 1, 1, 1, kPi / 2, 2, 0, 0, -4, {9, 20, 0, 14, 21, 0}},
      {"mirrored", unit_, -1, 1, 1, 0, 1, 1, 0, 0, {9, 20, 0, 10, 21, 0}},
      {"z scale", tall, 2, 3, 4, 0, 1, 1, 0, 0, {10, 20, -4, 12, 23, 8}},
      {"z scale in an array", tall, 2, 3, 4, 0, 1, 2, 1, 0, {10, 20, -4, 13, 23, 8}},
      {"negative z scale", tall, 1, 1, -1, 0, 1, 1, 0, 0, {10, 20, -2, 11, 21, 1}},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<CEntInsert> ins(createEntInsert(*d, *c.b, PNT_3D(10, 20, 0), c.sx, c.sy,
                                                          c.sz, c.rotate, c.rows, c.columns,
                                                          c.columnSpacing, c.rowSpacing, 0));
    expectBox(ins->getBdry(), c.want, c.what);
  }
}

TEST_F(InsertTest, SettersRenewTheBoxButSetBlockDoesNot) {
  const std::unique_ptr<CEntInsert> ins(insert(*unit_, PNT_3D(0, 0, 0)));
  const struct {
    const char* what;
    std::function<void()> change;
    RECT_3D want;
  } steps[] = {
      {"setPnt", [&] { ins->setPnt(PNT_3D(1, 2, 3)); }, {1, 2, 3, 2, 3, 3}},
      {"setPnt(xyz)", [&] { ins->setPnt(2, 0, 0); }, {2, 0, 0, 3, 1, 0}},
      {"setScale", [&] { ins->setScale(3, 2, 1); }, {2, 0, 0, 5, 2, 0}},
      {"setRotate", [&] { ins->setRotate(kPi); }, {-1, -2, 0, 2, 0, 0}},
      {"setArray", [&] { ins->setArray(1, 2, 10, 0); }, {-11, -2, 0, 2, 0, 0}},
      {"setInsert(5)", [&] { ins->setInsert(PNT_3D(0, 0, 0), 1, 1, 1, 0); }, {0, 0, 0, 11, 1, 0}},
      {"setInsert(9)",
       [&] { ins->setInsert(PNT_3D(0, 0, 0), 1, 1, 1, 0, 2, 1, 0, 3); },
       {0, 0, 0, 1, 4, 0}},
  };
  for (const auto& s : steps) {
    s.change();
    expectBox(ins->getBdry(), s.want, s.what);
  }
  CBlock* big = block("BIG", PNT_3D(0, 0, 0));
  big->add(line(0, 0, 0, 100, 100, 0));
  blocks().add(big);
  ins->setBlock(big);
  EXPECT_EQ(ins->getBlock(), big);
  expectBox(ins->getBdry(), {0, 0, 0, 1, 4, 0}, "setBlock keeps the box");
  EXPECT_EQ(unit_->getEntities(), 0);  // and moves no count
  ins->calcBdry();
  expectBox(ins->getBdry(), {0, 0, 0, 100, 103, 0}, "after calcBdry");
}

TEST_F(InsertTest, NothingToBoxGivesTheEmptyRegion) {
  CBlock* empty = block("EMPTY", PNT_3D(0, 0, 0));
  blocks().add(empty);
  const std::unique_ptr<CEntInsert> ins(insert(*empty, PNT_3D(5, 5, 5)));
  EXPECT_FALSE(ins->getBdry().validRegion());
  ins->setBlock(nullptr);
  ins->setPnt(PNT_3D(1, 1, 1));
  EXPECT_FALSE(ins->getBdry().validRegion());
}

TEST_F(InsertTest, AttributesJoinTheBlockBoxInBlockCoordinates) {
  const std::unique_ptr<CEntInsert> ins(insert(*unit_, PNT_3D(10, 20, 0)));
  CEntAttrib* a = attrib("AB", PNT_3D(5, -1, 2));
  const RECT_3D ab = a->getBdry();  // the attribute's own box, in block coordinates
  ASSERT_TRUE(ab.validRegion());
  ASSERT_GT(ab.max.getX(), 5.0);  // the test font gives the text an extent
  RECT_3D u(0, 0, 0, 1, 1, 0);
  u.updateRegion(ab);

  ins->add(a);  // renews the box
  EXPECT_EQ(ins->size(), 1);
  EXPECT_EQ(&(*ins)[0], a);
  expectBox(ins->getBdry(),
            {10 + u.min.getX(), 20 + u.min.getY(), u.min.getZ(), 10 + u.max.getX(),
             20 + u.max.getY(), u.max.getZ()},
            "plain");

  // Scale 2, Z scale 3, a quarter turn: (x, y, z) -> (-2y, 2x, 3z).
  ins->setInsert(PNT_3D(10, 20, 0), 2, 2, 3, kPi / 2);
  expectBox(ins->getBdry(),
            {10 - 2 * u.max.getY(), 20 + 2 * u.min.getX(), 3 * u.min.getZ(), 10 - 2 * u.min.getY(),
             20 + 2 * u.max.getX(), 3 * u.max.getZ()},
            "scaled and turned");

  // Two columns 4 apart: the scaled box grows along X before the turn.
  ins->setArray(1, 2, 4, 0);
  expectBox(ins->getBdry(),
            {10 - 2 * u.max.getY(), 20 + 2 * u.min.getX(), 3 * u.min.getZ(), 10 - 2 * u.min.getY(),
             20 + 2 * u.max.getX() + 4, 3 * u.max.getZ()},
            "array");

  // Bad input, an insert with attributes and no block: the attributes alone are boxed.
  ins->setBlock(nullptr);
  ins->setInsert(PNT_3D(10, 20, 0), 1, 1, 1, 0, 1, 1, 0, 0);
  expectBox(ins->getBdry(),
            {10 + ab.min.getX(), 20 + ab.min.getY(), ab.min.getZ(), 10 + ab.max.getX(),
             20 + ab.max.getY(), ab.max.getZ()},
            "no block");
}

TEST_F(InsertTest, ZeroScalesCollapseTheBoxAndNeverFail) {
  const std::unique_ptr<CEntInsert> ins(insert(*unit_, PNT_3D(10, 20, 30)));
  ins->add(attrib("X", PNT_3D(3, 3, 3)));
  ins->setScale(0, 0, 0);
  expectBox(ins->getBdry(), {10, 20, 30, 10, 20, 30}, "no array");
  ins->setArray(2, 2, 5, 5);
  expectBox(ins->getBdry(), {10, 20, 30, 15, 25, 30}, "array: only the spacings remain");
}

TEST_F(InsertTest, CountsComeBackAfterEveryTripThroughTheTable) {
  CEntInsert* ins = insert(*unit_, PNT_3D(0, 0, 0));
  ins->add(attrib("A", PNT_3D(0, 2, 0)));
  ins->add(attrib("B", PNT_3D(0, 4, 0)));
  const long handles[] = {ins->GetHandle(), (*ins)[0].GetHandle(), (*ins)[1].GetHandle()};
  CNamedItem* items[] = {walls_, text_, &d->getLtypeContinuous(), &d->getLtypeByLayer(),
                         style_, unit_};
  const long perInsert[] = {1, 2, 1, 2, 2, 1};
  long base[6];
  for (int i = 0; i < 6; ++i) base[i] = items[i]->getEntities();
  CEntTable& table = d->getEntTable();
  for (int trip = 0; trip < 3; ++trip) {
    table.add(ins);
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(items[i]->getEntities(), base[i] + perInsert[i]) << "in, item " << i;
    for (long h : handles) EXPECT_FALSE(handleFree(gestor(), h)) << h;
    table.remove(ins);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(items[i]->getEntities(), base[i]) << "out, item " << i;
    for (long h : handles) EXPECT_TRUE(handleFree(gestor(), h)) << h;
  }
  delete ins;  // the attributes go with it
}

TEST_F(InsertTest, ReferenceInsertsHoldTheReferenceNeededWhileInATable) {
  CBlockXRef* x = xref("PLAN");
  setCurLayer(*d, walls_);
  CEntInsertXRef* first = createEntInsertXRef(*d, text_, &d->getLtypeContinuous(), 3, x,
                                              PNT_3D(1, 2, 3), 1, 1, 1, 0, 1, 1, 0, 0, 0);
  CEntInsertXRef* second =
      createEntInsertXRef(*d, d->getDepend(), x, PNT_3D(0, 0, 0), 2, 2, 2, 0, 1, 1, 0, 0, 0);
  EXPECT_EQ(first->getXRef(), x);
  EXPECT_EQ(first->getType(), 8);
  EXPECT_EQ(first->getLayer(), text_);
  EXPECT_EQ(second->getLayer(), walls_);  // the current layer
  second->add(attrib("V", PNT_3D(0, 0, 0)));
  const auto& records = d->getDepend().getDependList();
  CEntTable& table = d->getEntTable();

  table.add(first);
  table.add(second);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->count, 2);
  EXPECT_EQ(x->getNeeded(), 1);
  EXPECT_EQ(x->getEntities(), 2);  // the reference counts its inserts as a block does
  // A clone is a reference insert on the same record.
  CEnt* clone = cloneEnt(*d, *second);
  Recorder r;
  clone->accept(r);
  EXPECT_EQ(r.seen, "X");
  table.add(clone);
  EXPECT_EQ(records[0]->count, 3);
  for (CEnt* e : {clone, static_cast<CEnt*>(first), static_cast<CEnt*>(second)}) {
    table.remove(e);
    delete e;
  }
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(x->getNeeded(), 0);
  EXPECT_EQ(x->getEntities(), 0);

  // The form without layer counts the insert in the record the caller gives.
  CBlockXRefDepend own;
  const std::unique_ptr<CEntInsertXRef> elsewhere(
      createEntInsertXRef(*d, own, x, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0));
  elsewhere->addTbls(gestor());
  EXPECT_EQ(own.getDependList().size(), 1u);
  EXPECT_TRUE(records.empty());
  elsewhere->removeTbls(gestor());
  EXPECT_TRUE(own.getDependList().empty());
}

TEST_F(InsertTest, CopiesGetFreshHandlesAfterTheInsertsOwn) {
  const std::unique_ptr<CEntInsert> src(insert(*unit_, PNT_3D(1, 1, 0), 2, 0.5));
  src->setArray(2, 3, 4, 5);
  src->add(attrib("ONE", PNT_3D(0, 2, 0), "T1"));
  src->add(attrib("TWO", PNT_3D(0, 4, 0), "T2"));
  const std::unique_ptr<CEnt> viaClone(cloneEnt(*d, *src));
  const std::unique_ptr<CEntInsert> viaFactory(d->getEntFactory().createEntInsert(gestor(), *src));
  for (const CEntInsert* copy : {static_cast<const CEntInsert*>(viaClone->getEntInsert()),
                                 static_cast<const CEntInsert*>(viaFactory.get())}) {
    ASSERT_NE(copy, nullptr);
    const std::unique_ptr<IEntDerivedMemento> same(src->createDerivedMemento());
    EXPECT_TRUE(*copy == *same);  // placement and attribute texts alike
    EXPECT_EQ(copy->getBlock(), unit_);
    EXPECT_EQ(copy->getBdry(), src->getBdry());
    ASSERT_EQ(copy->size(), 2);
    for (int i = 0; i < 2; ++i) {
      EXPECT_NE(&(*copy)[i], &(*src)[i]);
      EXPECT_EQ((*copy)[i].getTag(), (*src)[i].getTag());
      EXPECT_EQ((*copy)[i].GetHandle(), copy->GetHandle() + 1 + i);
    }
  }
  EXPECT_EQ(unit_->getEntities(), 0);  // copies are in no table

  // Discarded unlisted: the factory gives back the insert's handle and its attributes'.
  const long h = viaFactory->GetHandle();
  d->getEntFactory().unbookHandle(gestor(), viaFactory.get());
  for (long k = h; k < h + 3; ++k) EXPECT_TRUE(handleFree(gestor(), k)) << k;
}

TEST_F(InsertTest, CopyThatCannotHaveAnAttributeFailsWithoutLeaking) {
  const std::unique_ptr<CEntInsert> src(insert(*unit_, PNT_3D(0, 0, 0)));
  for (const char* v : {"A", "B", "C"}) src->add(attrib(v, PNT_3D(0, 0, 0)));
  ShortFactory factory(2);
  EXPECT_EQ(factory.createEntInsert(gestor(), *src), nullptr);  // the two copies are freed
}

TEST_F(InsertTest, UnbookingGivesBackAttributeHandlesOfBothKinds) {
  CBlockXRef* x = xref("X");
  const std::unique_ptr<CEntInsert> plain(insert(*unit_, PNT_3D(0, 0, 0)));
  const std::unique_ptr<CEntInsert> ref(
      createEntInsertXRef(*d, walls_, nullptr, 256, x, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0));
  for (CEntInsert* ins : {plain.get(), ref.get()}) {
    ins->add(attrib("A", PNT_3D(0, 0, 0)));
    ins->add(attrib("B", PNT_3D(0, 0, 0)));
    const long hs[] = {ins->GetHandle(), (*ins)[0].GetHandle(), (*ins)[1].GetHandle()};
    for (long h : hs) ASSERT_FALSE(handleFree(gestor(), h));
    d->getEntFactory().unbookHandle(gestor(), ins);
    for (long h : hs) EXPECT_TRUE(handleFree(gestor(), h)) << h;
  }
}

TEST_F(InsertTest, VisitsReachTheClassOwnSlotAndMovesCarryTheBox) {
  CBlockXRef* x = xref("X");
  const std::unique_ptr<CEntInsert> plain(insert(*unit_, PNT_3D(1, 1, 1)));
  const std::unique_ptr<CEntInsertXRef> ref(
      createEntInsertXRef(*d, walls_, nullptr, 256, x, PNT_3D(1, 1, 1), 1, 1, 1, 0, 1, 1, 0, 0, 0));
  ref->getBdry().set(0, 0, 0, 2, 2, 2);  // a reference that is not loaded has no box of its own
  Recorder r;
  plain->accept(r);
  ref->accept(r);
  EXPECT_EQ(r.seen, "IX");
  CEntMoveVisitor move(PNT_3D(10, -10, 5));
  for (CEntInsert* ins : {plain.get(), static_cast<CEntInsert*>(ref.get())}) {
    const RECT_3D before = ins->getBdry();
    ins->accept(move);
    EXPECT_EQ(ins->getPnt(), PNT_3D(11, -9, 6));
    expectBox(ins->getBdry(),
              {before.min.getX() + 10, before.min.getY() - 10, before.min.getZ() + 5,
               before.max.getX() + 10, before.max.getY() - 10, before.max.getZ() + 5},
              "moved");
  }
}

TEST_F(InsertTest, SnapshotRecordsPlacementAndAttributesButNotTheBlock) {
  const std::unique_ptr<CEntInsert> ins(insert(*unit_, PNT_3D(1, 2, 3)));
  ins->add(attrib("OLD", PNT_3D(0, 2, 0)));
  const std::unique_ptr<IEntDerivedMemento> m(ins->createDerivedMemento());
  EXPECT_EQ(m->size(), static_cast<long>(sizeof(CEntInsertMemento)));
  const RECT_3D box = ins->getBdry();
  const struct {
    const char* what;
    std::function<void()> change;
  } changes[] = {
      {"point", [&] { ins->setPnt(PNT_3D(1, 2, 4)); }},
      {"x scale", [&] { ins->setScale(1.5, 1, 1); }},
      {"z scale", [&] { ins->setScale(1, 1, -1); }},
      {"rotation", [&] { ins->setRotate(0.1); }},
      {"rows", [&] { ins->setArray(2, 1, 0, 0); }},
      {"column spacing", [&] { ins->setArray(1, 1, 3, 0); }},
      {"attribute value", [&] { (*ins)[0].setValue("NEW"); }},
      {"attribute tag", [&] { (*ins)[0].setTag("OTHER"); }},
  };
  for (const auto& c : changes) {
    c.change();
    EXPECT_FALSE(*ins == *m) << c.what;
    EXPECT_TRUE(*m != *ins) << c.what;
    ins->setMemento(*d, m.get());
    EXPECT_TRUE(*ins == *m) << c.what;
    EXPECT_EQ(ins->getBdry(), box) << c.what;
  }
  // The block is not recorded: a new block neither shows as a change nor comes back.
  CBlock* other = block("OTHER", PNT_3D(0, 0, 0));
  blocks().add(other);
  ins->setBlock(other);
  EXPECT_TRUE(*ins == *m);
  ins->setMemento(*d, m.get());
  EXPECT_EQ(ins->getBlock(), other);
  // Another class never matches.
  const std::unique_ptr<CEntLine> l(line(0, 0, 0, 1, 1, 1));
  EXPECT_FALSE(*m == *l);
}

TEST_F(InsertTest, SnapshotRestoresOnlyTheAttributesBothHave) {
  const std::unique_ptr<CEntInsert> two(insert(*unit_, PNT_3D(0, 0, 0)));
  two->add(attrib("A1", PNT_3D(0, 0, 0)));
  two->add(attrib("A2", PNT_3D(0, 0, 0)));
  const std::unique_ptr<CEntInsert> one(insert(*unit_, PNT_3D(5, 5, 5)));
  one->add(attrib("B1", PNT_3D(0, 0, 0)));
  const std::unique_ptr<IEntDerivedMemento> ofTwo(two->createDerivedMemento());
  const std::unique_ptr<IEntDerivedMemento> ofOne(one->createDerivedMemento());

  one->setMemento(*d, ofTwo.get());  // more snapshots than attributes
  EXPECT_EQ(one->getPnt(), PNT_3D(0, 0, 0));
  EXPECT_STREQ((*one)[0].getValue().c_str(), "A1");
  EXPECT_EQ(one->size(), 1);
  EXPECT_FALSE(*one == *ofTwo);  // the attribute counts differ

  two->setMemento(*d, ofOne.get());  // fewer: the second attribute is left alone
  EXPECT_EQ(two->getPnt(), PNT_3D(5, 5, 5));
  EXPECT_STREQ((*two)[0].getValue().c_str(), "B1");
  EXPECT_STREQ((*two)[1].getValue().c_str(), "A2");
}

TEST_F(InsertTest, BlockIteratorsTellInsertsFromDefinitionsAndFillAttributes) {
  CBlockXRef* x = xref("X");
  CBlock* door = block("DOOR", PNT_3D(0, 0, 0));
  auto attdef = [&](const char* tag, double y) {
    return createEntAttdef(*d, text_, &d->getLtypeByLayer(), 256,
                           TEXT_3D(tag, style_, 1, 0, 1, 0, 0, y, 0, 0), "?", "Value", 0, 0);
  };
  CEntAttdef* first = attdef("NAME", 3);
  CEntInsert* plain = insert(*unit_, PNT_3D(0, 0, 0));
  CEntInsertXRef* ref =
      createEntInsertXRef(*d, walls_, nullptr, 256, x, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0);
  CEntAttdef* second = attdef("SIZE", 5);
  for (CEnt* e : std::vector<CEnt*>{first, plain, line(0, 0, 0, 1, 1, 0), second, ref})
    door->add(e);
  blocks().add(door);

  CBlock::CInsertIterator inserts(*door);
  EXPECT_EQ(*inserts++, plain);
  EXPECT_EQ(*inserts, ref);
  EXPECT_EQ(*++inserts, nullptr);
  std::vector<CEntAttdef*> defs;
  for (CBlock::CAttdefIterator it(*door); *it != nullptr; ++it) defs.push_back(*it);
  ASSERT_EQ(defs, (std::vector<CEntAttdef*>{first, second}));

  // An insert of the door gets one attribute per definition, in block order.
  CEntInsert* ins = insert(*door, PNT_3D(50, 0, 0));
  const RECT_3D bare = ins->getBdry();
  for (CEntAttdef* def : defs) ins->add(createEntAttrib(*d, "12", *def, *ins, 0));
  ASSERT_EQ(ins->size(), 2);
  EXPECT_EQ((*ins)[1].getTag(), second->getTag());
  EXPECT_GT(ins->getBdry().max.getY(), bare.max.getY());  // the definitions' places join the box
  d->getEntTable().add(ins);
  EXPECT_EQ(style_->getEntities(), 4);  // two definitions in the block, two attributes
}

// Blocks A, B, C and the drawing: C holds an insert of B, which holds an insert of A.
TEST_F(InsertTest, RealInsertsNestedThreeDeepInTheBlockTable) {
  CBlock* a = block("A", PNT_3D(0, 0, 0));
  CEntLine* aLine = line(0, 0, 0, 1, 1, 0);
  a->add(aLine);
  blocks().add(a);
  CBlock* b = block("B", PNT_3D(0, 0, 0));
  CEntInsert* aInB = insert(*a, PNT_3D(2, 0, 0), 2);
  b->add(aInB);
  blocks().add(b);
  CBlock* c = block("C", PNT_3D(10, 0, 0));
  CEntInsert* bInC = insert(*b, PNT_3D(10, 0, 0), 1, kPi / 2);
  bInC->add(attrib("LBL", PNT_3D(0, 0, 0)));
  c->add(bInC);
  EXPECT_EQ(bInC->getPnt(), PNT_3D(0, 0, 0));  // moved by minus the base point
  blocks().add(c);
  CEntInsert* top = insert(*c, PNT_3D(100, 100, 0));
  d->getEntTable().add(top);
  EXPECT_EQ(a->getEntities(), 1);
  EXPECT_EQ(c->getEntities(), 1);

  CBlock::CInsertIterator it(*b);
  EXPECT_EQ(*it, aInB);
  EXPECT_EQ(*++it, nullptr);
  EXPECT_EQ(*CBlock::CInsertIterator(*a), nullptr);
  EXPECT_EQ(*CBlock::CInsertIterator(*c), bInC);

  // Boxes: B holds A at (2, 0) twice as large; C turns B a quarter and joins the label.
  expectBox(b->getBdry(), {2, 0, 0, 4, 2, 0}, "B");
  // The label, in B's coordinates, joins B's box before the quarter turn.
  const RECT_3D label = (*bInC)[0].getBdry();
  RECT_3D bWithLabel(2, 0, 0, 4, 2, 0);
  bWithLabel.updateRegion(label);
  const RECT_3D cBox(-bWithLabel.max.getY(), bWithLabel.min.getX(), 0, -bWithLabel.min.getY(),
                     bWithLabel.max.getX(), 0);
  expectBox(c->getBdry(), cBox, "C");
  const RECT_3D topBox(100 + cBox.min.getX(), 100 + cBox.min.getY(), 0, 100 + cBox.max.getX(),
                       100 + cBox.max.getY(), 0);
  expectBox(d->getEntTable().getBdry(), topBox, "drawing");

  // A cannot come to hold C, which holds it through B.
  CEntInsert* cyclic = insert(*c, PNT_3D(0, 0, 0));
  const std::mylist<CEnt*> loop{cyclic};
  EXPECT_THROW(blocks().redefine(a, PNT_3D(0, 0, 0), 0, loop), CBlockGraph::CCyclicGraph);
  EXPECT_EQ(a->size(), 1);
  EXPECT_EQ(c->getEntities(), 1);
  d->getEntFactory().unbookHandle(gestor(), cyclic);
  delete cyclic;

  // A grows to 2 x 1: every box above it follows once the tables recompute.
  CEntLine* wider = line(0, 0, 0, 2, 1, 0);
  blocks().redefine(a, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{wider});
  delete aLine;  // the old contents are the caller's
  expectBox(b->getBdry(), {2, 0, 0, 6, 2, 0}, "B after redefinition");
  RECT_3D bNew(2, 0, 0, 6, 2, 0);
  bNew.updateRegion(label);
  const RECT_3D cNew(-bNew.max.getY(), bNew.min.getX(), 0, -bNew.min.getY(), bNew.max.getX(), 0);
  expectBox(c->getBdry(), cNew, "C after redefinition");
  expectBox(d->getEntTable().getBdry(), topBox, "cached until invalidated");
  d->getEntTable().invalidateBdry();
  expectBox(d->getEntTable().getBdry(),
            {100 + cNew.min.getX(), 100 + cNew.min.getY(), 0, 100 + cNew.max.getX(),
             100 + cNew.max.getY(), 0},
            "drawing after redefinition");

  // The block table's own pass gives the same boxes from scratch.
  c->getBdry().initRegion();
  b->getBdry().initRegion();
  blocks().recalcBdry();
  expectBox(c->getBdry(), cNew, "C recomputed");
}
