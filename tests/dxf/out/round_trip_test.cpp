// tests/dxf/out/round_trip_test.cpp: a drawing saved with SaveDXF and read back with loadDXF
// keeps its header variables, tables, blocks and entities, under the converted names; a
// drawing with a loaded-style external-reference layer is refused by the reader.
#include <veltcore/dxf/out/saver.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/geometry/font.h>
#include "database/test_drawing.h"
#include "dxf/memory_file.h"
#include "geometry/test_font.h"

namespace {

const double kPi = std::acos(-1.0);

// The reader accepts only styles whose font is registered: one font, registered once for
// the whole program (the font table owns it until shutdown).
const ICADFont* roundTripFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* f = fonts.get("rtfont", false)) return f;
  fonts.add(new TestFont("rtfont", {10, 2, 6, 8, -2}));
  return fonts.get("rtfont", false);
}

// The text SaveDXF writes for d.
std::string savedText(const CData& d, unsigned int flags) {
  MemoryFile out("rt.dxf", "", IFile::kWrite);
  SaveDXF(d, out, flags);
  return out.written();
}

// The drawing read back from the text d saves to; a reading error fails the test.
DataPtr roundTrip(const CData& d, unsigned int flags) {
  MemoryFile in("rt.dxf", savedText(d, flags), IFile::kRead);
  DataPtr back = newDrawing();
  try {
    loadDXF(*back, in);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    ADD_FAILURE() << "error " << e.getErrorNumber() << " at line " << e.getErrorLine() << ": "
                  << e.getErrorMessage().c_str();
    throw;
  }
  return back;
}

// Finds the entity with handle h in the drawing's entity table.
template <class Ent>
const Ent* entity(const CData& d, long h) {
  return dynamic_cast<const Ent*>(d.getEntTable().get(h));
}

void expectPoint(const PNT_3D& a, const PNT_3D& b) {
  EXPECT_NEAR(a.getX(), b.getX(), 1e-9);
  EXPECT_NEAR(a.getY(), b.getY(), 1e-9);
  EXPECT_NEAR(a.getZ(), b.getZ(), 1e-9);
}

// The font is also the default, so that the standard style names it.
class DxfRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = roundTripFont();
    CFontTable::getInstance().setDefault(font_);
  }
  void TearDown() override { CFontTable::getInstance().setDefault(nullptr); }
  const ICADFont* font_ = nullptr;
};

TEST_F(DxfRoundTrip, TablesAndHeaderComeBackUnderConvertedNames) {
  DataPtr d = newDrawing();
  CLtype* dashed = d->getLtypeFactory().create("DASHED LINE", "__ __", nullptr, 0, 0);
  dashed->AddDashDouble(0.5);
  dashed->AddDashDouble(-0.25);
  addLtype(*d, dashed);
  CLayer* walls = d->getLayerFactory().create("WALLS", dashed, 3, CLayer::kOff);
  addLayer(*d, walls);
  CLayer* frozen = d->getLayerFactory().create("ICE?", &d->getLtypeContinuous(), 5,
                                               CLayer::kFrozen | CLayer::kLocked);
  addLayer(*d, frozen);
  CStyle* slant = d->getStyleFactory().create("SLANT", font_, 3.5, 0.8, 0.2617993877991494, 4, 0);
  addStyle(*d, slant);
  CDataVariables& vars = d->getVars();
  vars.setLimMax(PNT_2D(841, 594));
  vars.setLtypeScale(0.5);
  vars.setCurLayer(walls);
  vars.setCurLtype(dashed);
  vars.setCurStyle(slant);
  vars.setOrtho(true);
  vars.setAngDir(kPi / 2);

  DataPtr back = roundTrip(*d, 0);

  const CLtype* lt = getLtype(*back, "DASHED_LINE");
  ASSERT_NE(lt, nullptr);
  EXPECT_STREQ(lt->getDesc().c_str(), "__ __");
  ASSERT_EQ(lt->getNoDashes(), 2);
  EXPECT_DOUBLE_EQ(lt->GetDash(0)->GetValue(), 0.5);
  EXPECT_DOUBLE_EQ(lt->GetDash(1)->GetValue(), -0.25);

  const CLayer* w = getLayer(*back, "WALLS");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->getColor(), 3);
  EXPECT_TRUE(w->isOff());  // from the negative colour
  EXPECT_EQ(w->getLtype(), lt);
  const CLayer* ice = getLayer(*back, "ICE_");
  ASSERT_NE(ice, nullptr);
  EXPECT_TRUE(ice->isFrozen());
  EXPECT_TRUE(ice->isLocked());
  EXPECT_FALSE(ice->isOff());

  const CStyle* s = getStyle(*back, "SLANT");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->getFont(), font_);
  EXPECT_DOUBLE_EQ(s->getFixedHeight(), 3.5);
  EXPECT_DOUBLE_EQ(s->getWidthScale(), 0.8);
  EXPECT_NEAR(s->getOblique(), 0.2617993877991494, 1e-9);

  const CDataVariables& v = back->getVars();
  EXPECT_DOUBLE_EQ(v.getLimMax().getX(), 841);
  EXPECT_DOUBLE_EQ(v.getLtypeScale(), 0.5);
  EXPECT_EQ(v.getCurLayer(), w);
  EXPECT_EQ(v.getCurLtype(), lt);
  EXPECT_EQ(v.getCurStyle(), s);
  EXPECT_TRUE(v.isOrtho());
  EXPECT_NEAR(v.getAngDir(), kPi / 2, 1e-9);
}

TEST_F(DxfRoundTrip, EntitiesAndBlocksComeBackWithTheirHandles) {
  DataPtr d = newDrawing();
  CLayer* layer = d->getLayerFactory().create("A B", &d->getLtypeContinuous(), 1, 0);
  addLayer(*d, layer);
  CLtype* byLayer = &d->getLtypeByLayer();
  CEntTable& ents = d->getEntTable();
  ents.add(createEntPnt(*d, layer, byLayer, 4, PNT_3D(1.5, 2.5, 0.25), 0x100));
  ents.add(createEntLine(*d, layer, byLayer, 256, LINE_3D(0, 0, 0, 1, 2, 3), 0x101));
  ents.add(createEntCircle(*d, layer, &d->getLtypeByBlock(), 0, CIRCLE_3D(1, 1, 0, 2), 0x102));
  ents.add(createEntArc(*d, layer, byLayer, 256, ARC_3D(0, 0, 0, 3, kPi / 6, kPi), 0x103));
  ents.add(createEnt3DFace(*d, layer, byLayer, 256, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0),
                           PNT_3D(1, 1, 0), PNT_3D(0, 1, 0), 2, 0x104));
  CBlock* block = d->getBlockFactory().create("DOOR", 0);
  block->add(createEntLine(*d, layer, byLayer, 256, LINE_3D(0, 0, 0, 0, 2, 0), 0x200));
  d->getBlockTable().add(block);

  DataPtr back = roundTrip(*d, 0);
  const CLayer* ab = getLayer(*back, "A_B");
  ASSERT_NE(ab, nullptr);

  const CEntPnt* pnt = entity<CEntPnt>(*back, 0x100);
  ASSERT_NE(pnt, nullptr);
  expectPoint(pnt->getPnt(), PNT_3D(1.5, 2.5, 0.25));
  EXPECT_EQ(pnt->getColor(), 4);
  EXPECT_EQ(pnt->getLayer(), ab);
  const CEntLine* line = entity<CEntLine>(*back, 0x101);
  ASSERT_NE(line, nullptr);
  expectPoint(line->getLine().end, PNT_3D(1, 2, 3));
  EXPECT_TRUE(line->getLtype()->isByLayer());
  const CEntCircle* circle = entity<CEntCircle>(*back, 0x102);
  ASSERT_NE(circle, nullptr);
  EXPECT_DOUBLE_EQ(circle->getCircle().radius, 2);
  EXPECT_TRUE(circle->getLtype()->isByBlock());
  EXPECT_EQ(circle->getColor(), 0);
  const CEntArc* arc = entity<CEntArc>(*back, 0x103);
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->getArc().start, kPi / 6, 1e-9);
  EXPECT_NEAR(arc->getArc().end, kPi, 1e-9);
  const CEnt3DFace* face = entity<CEnt3DFace>(*back, 0x104);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->getFlags(), 2);
  expectPoint(face->getVertex(2), PNT_3D(1, 1, 0));

  const CBlock* door = back->getBlockTable().get("DOOR");
  ASSERT_NE(door, nullptr);
  ASSERT_EQ(door->size(), 1);
  const CEntLine* inside = dynamic_cast<const CEntLine*>((*door)[0]);
  ASSERT_NE(inside, nullptr);
  expectPoint(inside->getLine().end, PNT_3D(0, 2, 0));
}

TEST_F(DxfRoundTrip, AReferenceLayerWithTheDependentFlagIsRefused) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                     d->getLtypeByBlock(), d->getLayer0(), "PLAN",
                                                     "plan.dxf", PNT_3D(0, 0, 0), 0);
  d->getBlockXRefTable().add(plan);
  plan->add(d->getLayerFactory().createXRef(*plan, "WALLS", &d->getLtypeContinuous(), 1, 16));
  MemoryFile in("rt.dxf", savedText(*d, 0), IFile::kRead);
  DataPtr back = newDrawing();
  try {
    loadDXF(*back, in);
    ADD_FAILURE() << "the reader took a dependent layer without a bar in its name";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_EQ(e.getErrorNumber(), 7);
  }
}

}  // namespace
