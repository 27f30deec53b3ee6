// tests/entities/insert_test.cpp: block inserts and external-reference inserts: boxes (arrays,
// rotations, attributes, bad input), counts through table entry and exit, copies and their
// handles, unbooking, snapshots, and real inserts nested three deep in the block table.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "geometry/test_font.h"
#include "support/handle_probe.h"

namespace {

const double kPi = std::acos(-1.0);

// Registered once for the program (the font table owns it) and made the default while a test
// runs, so that the standard style of a new drawing can measure attributes.
const ICADFont* useTestFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (fonts.get("insfont", false) == nullptr) fonts.add(new TestFont("insfont", {10, 2, 6, 8, -2}));
  fonts.setDefault(fonts.get("insfont", false));
  return fonts.get("insfont", false);
}

// Rotations make corners come out within rounding.
void expectBox(const RECT_3D& got, const RECT_3D& want, const std::string& what) {
  double g[6], w[6];
  got.get(g[0], g[1], g[2], g[3], g[4], g[5]);
  want.get(w[0], w[1], w[2], w[3], w[4], w[5]);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(g[i], w[i], 1e-12) << what << ", coordinate " << i;
}

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
    unit_ = block("UNIT", {line(0, 0, 0, 1, 1, 0)});
  }
  ~InsertTest() override { CFontTable::getInstance().setDefault(nullptr); }

  CBlockTable& blocks() { return d->getBlockTable(); }
  // A block holding ents, entered in the block table unless base is given.
  CBlock* block(const char* name, const std::vector<CEnt*>& ents, const PNT_3D* base = nullptr) {
    CBlock* b = d->getBlockFactory().create(name, base ? *base : PNT_3D(0, 0, 0), 0);
    for (CEnt* e : ents) b->add(e);
    if (base == nullptr) blocks().add(b);
    return b;
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
  CEntInsertXRef* xrefInsert(const char* name) {
    CBlockXRef* x = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                    d->getLtypeByBlock(), d->getLayer0(), name);
    d->getBlockXRefTable().add(x);
    return createEntInsertXRef(*d, walls_, nullptr, 256, x, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0,
                               0);
  }
  IHandleGestor& gestor() { return d->getHandleGestor(); }

  const ICADFont* font_ = useTestFont();
  DataPtr d = newDrawing();
  CLayer* walls_;
  CLayer* text_;
  CStyle* style_;
  CBlock* unit_;
};

}  // namespace

TEST_F(InsertTest, BoxFollowsPlacementArrayAndZScale) {
  CBlock* tall = block("TALL", {line(0, 0, -1, 1, 1, 2)});
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
  // Nothing to box gives the empty region.
  const std::unique_ptr<CEntInsert> empty(insert(*block("EMPTY", {}), PNT_3D(5, 5, 5)));
  EXPECT_FALSE(empty->getBdry().validRegion());
  empty->setBlock(nullptr);
  empty->setPnt(PNT_3D(1, 1, 1));
  EXPECT_FALSE(empty->getBdry().validRegion());
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
  CBlock* big = block("BIG", {line(0, 0, 0, 100, 100, 0)});
  ins->setBlock(big);
  EXPECT_EQ(ins->getBlock(), big);
  expectBox(ins->getBdry(), {0, 0, 0, 1, 4, 0}, "setBlock keeps the box");
  EXPECT_EQ(unit_->getEntities(), 0);  // and moves no count
  ins->calcBdry();
  expectBox(ins->getBdry(), {0, 0, 0, 100, 103, 0}, "after calcBdry");
}

TEST_F(InsertTest, AttributesJoinTheBlockBoxInBlockCoordinates) {
  const std::unique_ptr<CEntInsert> ins(insert(*unit_, PNT_3D(10, 20, 0)));
  CEntAttrib* a = attrib("AB", PNT_3D(5, -1, 2));
  const RECT_3D ab = a->getBdry();  // the attribute's own box, in block coordinates
  ASSERT_GT(ab.max.getX(), 5.0);    // the test font gives the text an extent
  RECT_3D u(0, 0, 0, 1, 1, 0);
  u.updateRegion(ab);
  auto shifted = [](RECT_3D r) { return r.move(PNT_3D(10, 20, 0)), r; };
  // Scale 2, Z scale 3, a quarter turn: (x, y, z) -> (10 - 2y, 20 + 2x, 3z); an array adds its
  // spacing along X before the turn.
  auto turned = [&u](double spacing) {
    return RECT_3D(10 - 2 * u.max.getY(), 20 + 2 * u.min.getX(), 3 * u.min.getZ(),
                   10 - 2 * u.min.getY(), 20 + 2 * u.max.getX() + spacing, 3 * u.max.getZ());
  };
  ins->add(a);  // renews the box
  ASSERT_EQ(ins->size(), 1);
  EXPECT_EQ(&(*ins)[0], a);
  expectBox(ins->getBdry(), shifted(u), "plain");
  ins->setInsert(PNT_3D(10, 20, 0), 2, 2, 3, kPi / 2);
  expectBox(ins->getBdry(), turned(0), "scaled and turned");
  ins->setArray(1, 2, 4, 0);
  expectBox(ins->getBdry(), turned(4), "array");
  // Bad input, an insert with attributes and no block: the attributes alone are boxed.
  ins->setBlock(nullptr);
  ins->setInsert(PNT_3D(10, 20, 0), 1, 1, 1, 0, 1, 1, 0, 0);
  expectBox(ins->getBdry(), shifted(ab), "no block");
  // Zero scales collapse the box onto the point; an array leaves only its spacings.
  ins->setBlock(unit_);
  ins->setScale(0, 0, 0);
  expectBox(ins->getBdry(), {10, 20, 0, 10, 20, 0}, "zero scales");
  ins->setArray(2, 2, 5, 5);
  expectBox(ins->getBdry(), {10, 20, 0, 15, 25, 0}, "zero scales in an array");
}

TEST_F(InsertTest, CountsAndHandlesComeBackAfterEveryTripThroughTheTable) {
  CEntInsert* ins = insert(*unit_, PNT_3D(0, 0, 0));
  ins->add(attrib("A", PNT_3D(0, 2, 0)));
  ins->add(attrib("B", PNT_3D(0, 4, 0)));
  const long handles[] = {ins->GetHandle(), (*ins)[0].GetHandle(), (*ins)[1].GetHandle()};
  CNamedItem* items[] = {walls_, text_, &d->getLtypeContinuous(), &d->getLtypeByLayer(),
                         style_, unit_};
  const long perInsert[] = {1, 2, 1, 2, 2, 1};
  long base[6];
  for (int i = 0; i < 6; ++i) base[i] = items[i]->getEntities();
  for (int trip = 0; trip < 3; ++trip) {
    d->getEntTable().add(ins);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(items[i]->getEntities(), base[i] + perInsert[i]) << i;
    for (long h : handles) EXPECT_FALSE(handleFree(gestor(), h)) << h;
    d->getEntTable().remove(ins);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(items[i]->getEntities(), base[i]) << i;
    for (long h : handles) EXPECT_TRUE(handleFree(gestor(), h)) << h;
  }
  delete ins;  // the attributes go with it
}

TEST_F(InsertTest, ReferenceInsertsHoldTheReferenceNeededWhileInATable) {
  CEntInsertXRef* first = xrefInsert("PLAN");
  CBlockXRef* x = first->getXRef();
  setCurLayer(*d, text_);
  CEntInsertXRef* second =
      createEntInsertXRef(*d, d->getDepend(), x, PNT_3D(0, 0, 0), 2, 2, 2, 0, 1, 1, 0, 0, 0);
  EXPECT_EQ(second->getLayer(), text_);  // the current layer
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
  ASSERT_NE(dynamic_cast<CEntInsertXRef*>(clone), nullptr);
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
  const std::unique_ptr<IEntDerivedMemento> same(src->createDerivedMemento());
  for (const CEntInsert* copy : {viaClone->getEntInsert(), viaFactory.get()}) {
    EXPECT_TRUE(*copy == *same);  // placement and attribute texts alike
    EXPECT_EQ(copy->getBlock(), unit_);
    ASSERT_EQ(copy->size(), 2);
    for (int i = 0; i < 2; ++i) {
      EXPECT_NE(&(*copy)[i], &(*src)[i]);
      EXPECT_EQ((*copy)[i].GetHandle(), copy->GetHandle() + 1 + i);
    }
  }
  EXPECT_EQ(unit_->getEntities(), 0);  // copies are in no table
  // A copy that cannot have its third attribute fails; the two made are freed.
  src->add(attrib("THREE", PNT_3D(0, 6, 0)));
  EXPECT_EQ(ShortFactory(2).createEntInsert(gestor(), *src), nullptr);
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
    EXPECT_TRUE(!(*ins == *m) && *m != *ins) << c.what;
    ins->setMemento(*d, m.get());
    EXPECT_TRUE(*ins == *m) << c.what;
    EXPECT_EQ(ins->getBdry(), box) << c.what;
  }
  // The block is not recorded: a new block neither shows as a change nor comes back.
  CBlock* other = block("OTHER", {});
  ins->setBlock(other);
  EXPECT_TRUE(*ins == *m);
  ins->setMemento(*d, m.get());
  EXPECT_EQ(ins->getBlock(), other);
  // Another class never matches.
  const std::unique_ptr<CEntLine> l(line(0, 0, 0, 1, 1, 1));
  EXPECT_FALSE(*m == *l);

  // Only the attributes both have are restored.
  const std::unique_ptr<CEntInsert> two(insert(*unit_, PNT_3D(5, 5, 5)));
  two->add(attrib("A1", PNT_3D(0, 0, 0)));
  two->add(attrib("A2", PNT_3D(0, 0, 0)));
  const std::unique_ptr<IEntDerivedMemento> ofTwo(two->createDerivedMemento());
  two->setMemento(*d, m.get());  // fewer: the second attribute is left alone
  EXPECT_EQ(two->getPnt(), PNT_3D(1, 2, 3));
  EXPECT_STREQ((*two)[0].getValue().c_str(), "OLD");
  EXPECT_STREQ((*two)[1].getValue().c_str(), "A2");
  ins->setMemento(*d, ofTwo.get());  // more snapshots than attributes
  EXPECT_EQ(ins->getPnt(), PNT_3D(5, 5, 5));
  EXPECT_STREQ((*ins)[0].getValue().c_str(), "A1");
  EXPECT_EQ(ins->size(), 1);
  EXPECT_FALSE(*ins == *ofTwo);  // the attribute counts differ
}

TEST_F(InsertTest, InsertIteratorAndAttributesFromTheDefinitions) {
  auto attdef = [&](const char* tag, double y) {
    return createEntAttdef(*d, text_, &d->getLtypeByLayer(), 256,
                           TEXT_3D(tag, style_, 1, 0, 1, 0, 0, y, 0, 0), "?", "Value", 0, 0);
  };
  CEntAttdef* first = attdef("NAME", 3);
  CEntAttdef* second = attdef("SIZE", 5);
  CEntInsert* plain = insert(*unit_, PNT_3D(0, 0, 0));
  CEntInsertXRef* ref = xrefInsert("X");
  CBlock* door = block("DOOR", {first, plain, line(0, 0, 0, 1, 1, 0), second, ref});

  CBlock::CInsertIterator inserts(*door);
  EXPECT_EQ(*inserts++, plain);
  EXPECT_EQ(*inserts, ref);
  EXPECT_EQ(*++inserts, nullptr);
  EXPECT_EQ(*CBlock::CInsertIterator(*unit_), nullptr);
  // An insert of the door gets one attribute per definition, in block order.
  CEntInsert* ins = insert(*door, PNT_3D(50, 0, 0));
  const RECT_3D bare = ins->getBdry();
  for (CBlock::CAttdefIterator it(*door); *it != nullptr; ++it)
    ins->add(createEntAttrib(*d, "12", **it, *ins, 0));
  ASSERT_EQ(ins->size(), 2);
  EXPECT_EQ((*ins)[1].getTag(), second->getTag());
  EXPECT_EQ((*ins)[1].getLayer(), text_);                 // the definition's, not the insert's
  EXPECT_GT(ins->getBdry().max.getY(), bare.max.getY());  // the definitions' places join the box
  d->getEntTable().add(ins);
  EXPECT_EQ(style_->getEntities(), 4);  // two definitions in the block, two attributes
}

// Blocks A, B, C and the drawing: C holds an insert of B, which holds an insert of A.
TEST_F(InsertTest, RealInsertsNestedThreeDeepInTheBlockTable) {
  CEntLine* aLine = line(0, 0, 0, 1, 1, 0);
  CBlock* a = block("A", {aLine});
  CEntInsert* aInB = insert(*a, PNT_3D(2, 0, 0), 2);
  CBlock* b = block("B", {aInB});
  const PNT_3D cBase(10, 0, 0);
  CEntInsert* bInC = insert(*b, PNT_3D(10, 0, 0), 1, kPi / 2);
  bInC->add(attrib("LBL", PNT_3D(0, 0, 0)));
  CBlock* c = block("C", {bInC}, &cBase);
  EXPECT_EQ(bInC->getPnt(), PNT_3D(0, 0, 0));  // moved by minus the base point
  blocks().add(c);
  CEntInsert* top = insert(*c, PNT_3D(100, 100, 0));
  d->getEntTable().add(top);
  EXPECT_EQ(a->getEntities(), 1);
  EXPECT_EQ(c->getEntities(), 1);
  EXPECT_EQ(*CBlock::CInsertIterator(*c), bInC);

  // B holds A at (2, 0) twice as large; C turns B (with the label, in B's coordinates) a quarter.
  const RECT_3D label = (*bInC)[0].getBdry();
  auto cBox = [&label](double bWidth) {
    RECT_3D bb(2, 0, 0, 2 + 2 * bWidth, 2, 0);
    bb.updateRegion(label);
    return RECT_3D(-bb.max.getY(), bb.min.getX(), 0, -bb.min.getY(), bb.max.getX(), 0);
  };
  auto topBox = [](RECT_3D r) { return r.move(PNT_3D(100, 100, 0)), r; };
  expectBox(b->getBdry(), {2, 0, 0, 4, 2, 0}, "B");
  expectBox(c->getBdry(), cBox(1), "C");
  expectBox(d->getEntTable().getBdry(), topBox(cBox(1)), "drawing");

  // A cannot come to hold C, which holds it through B.
  CEntInsert* cyclic = insert(*c, PNT_3D(0, 0, 0));
  EXPECT_THROW(blocks().redefine(a, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{cyclic}),
               CBlockGraph::CCyclicGraph);
  EXPECT_EQ(a->size(), 1);
  EXPECT_EQ(c->getEntities(), 1);
  d->getEntFactory().unbookHandle(gestor(), cyclic);
  delete cyclic;

  // A grows to 2 x 1: every box above it follows once the tables recompute.
  blocks().redefine(a, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{line(0, 0, 0, 2, 1, 0)});
  delete aLine;  // the old contents are the caller's
  expectBox(b->getBdry(), {2, 0, 0, 6, 2, 0}, "B after redefinition");
  expectBox(c->getBdry(), cBox(2), "C after redefinition");
  expectBox(d->getEntTable().getBdry(), topBox(cBox(1)), "cached until invalidated");
  d->getEntTable().invalidateBdry();
  expectBox(d->getEntTable().getBdry(), topBox(cBox(2)), "drawing after redefinition");
  // The block table's own pass gives the same boxes from scratch.
  c->getBdry().initRegion();
  b->getBdry().initRegion();
  blocks().recalcBdry();
  expectBox(c->getBdry(), cBox(2), "C recomputed");
}
