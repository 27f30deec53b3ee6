// tests/dxf/out/round_trip_test.cpp: a drawing saved with SaveDXF and read back with loadDXF
// saves to the same text again, keeping its header variables, tables, blocks and entities
// under the converted names; a loaded-style external-reference layer is refused by the reader.
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

// The text SaveDXF writes for d.
std::string savedText(const CData& d) {
  MemoryFile out("rt.dxf", "", IFile::kWrite);
  SaveDXF(d, out, 0);
  return out.written();
}

// The error loadDXF reports for text read into back; 0 when it loads.
long load(CData& back, const std::string& text) {
  MemoryFile in("rt.dxf", text, IFile::kRead);
  try {
    loadDXF(back, in);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    ADD_FAILURE() << "error " << e.getErrorNumber() << " at line " << e.getErrorLine() << ": "
                  << e.getErrorMessage().c_str();
    return e.getErrorNumber();
  }
  return 0;
}

// The reader accepts only styles whose font is registered: one font, registered once for the
// whole program (the font table owns it until shutdown), and the default, so that the standard
// style names it.
class DxfRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    CFontTable& fonts = CFontTable::getInstance();
    if (fonts.get("rtfont", false) == nullptr) fonts.add(new TestFont("rtfont", {10, 2, 6, 8, -2}));
    font_ = fonts.get("rtfont", false);
    fonts.setDefault(font_);
  }
  void TearDown() override { CFontTable::getInstance().setDefault(nullptr); }
  const ICADFont* font_ = nullptr;
};

TEST_F(DxfRoundTrip, ADrawingReadBackSavesToTheSameText) {
  DataPtr d = newDrawing();
  CLtype* dashed = d->getLtypeFactory().create("DASHED LINE", "__ __", nullptr, 0, 0);
  dashed->AddDashDouble(0.5);
  dashed->AddDashDouble(-0.25);
  addLtype(*d, dashed);
  CLayer* walls = d->getLayerFactory().create("WALLS", dashed, 3, CLayer::kOff);
  addLayer(*d, walls);
  addLayer(*d, d->getLayerFactory().create("ICE?", &d->getLtypeContinuous(), 5,
                                           CLayer::kFrozen | CLayer::kLocked));
  CLayer* ab = d->getLayerFactory().create("A B", &d->getLtypeContinuous(), 1, 0);
  addLayer(*d, ab);
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
  CLtype* byLayer = &d->getLtypeByLayer();
  CEntTable& ents = d->getEntTable();
  ents.add(createEntPnt(*d, ab, byLayer, 4, PNT_3D(1.5, 2.5, 0.25), 0x100));
  ents.add(createEntLine(*d, ab, byLayer, 256, LINE_3D(0, 0, 0, 1, 2, 3), 0x101));
  ents.add(createEntCircle(*d, ab, &d->getLtypeByBlock(), 0, CIRCLE_3D(1, 1, 0, 2), 0x102));
  ents.add(createEntArc(*d, walls, dashed, 256, ARC_3D(0, 0, 0, 3, kPi / 6, kPi), 0x103));
  ents.add(createEnt3DFace(*d, ab, byLayer, 256, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(1, 1, 0),
                           PNT_3D(0, 1, 0), 2, 0x104));
  CBlock* block = d->getBlockFactory().create("DOOR", 0);
  block->add(createEntLine(*d, ab, byLayer, 256, LINE_3D(0, 0, 0, 0, 2, 0), 0x200));
  d->getBlockTable().add(block);

  const std::string text = savedText(*d);
  DataPtr back = newDrawing();
  ASSERT_EQ(load(*back, text), 0);
  EXPECT_EQ(savedText(*back), text);

  // What was read is linked as in the original, under the converted names.
  const CLayer* w = getLayer(*back, "WALLS");
  const CLtype* lt = getLtype(*back, "DASHED_LINE");
  ASSERT_TRUE(w != nullptr && lt != nullptr);
  EXPECT_TRUE(w->isOff());  // from the negative colour
  EXPECT_EQ(w->getLtype(), lt);
  ASSERT_NE(getLayer(*back, "ICE_"), nullptr);
  EXPECT_TRUE(getLayer(*back, "ICE_")->isFrozen() && getLayer(*back, "ICE_")->isLocked());
  EXPECT_EQ(back->getVars().getCurLayer(), w);
  EXPECT_EQ(back->getVars().getCurLtype(), lt);
  EXPECT_EQ(back->getVars().getCurStyle(), getStyle(*back, "SLANT"));
  EXPECT_EQ(getStyle(*back, "SLANT")->getFont(), font_);
  const auto* arc = dynamic_cast<const CEntArc*>(back->getEntTable().get(0x103));
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(arc->getLayer(), w);
  EXPECT_EQ(arc->getLtype(), lt);
  EXPECT_NEAR(arc->getArc().start, kPi / 6, 1e-9);
  EXPECT_NE(dynamic_cast<const CEnt3DFace*>(back->getEntTable().get(0x104)), nullptr);
  const CBlock* door = back->getBlockTable().get("DOOR");
  ASSERT_TRUE(door != nullptr && door->size() == 1);
  EXPECT_EQ((*door)[0]->GetHandle(), 0x200);
}

TEST_F(DxfRoundTrip, AReferenceLayerWithTheDependentFlagIsRefused) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                     d->getLtypeByBlock(), d->getLayer0(), "PLAN",
                                                     "plan.dxf", PNT_3D(0, 0, 0), 0);
  d->getBlockXRefTable().add(plan);
  plan->add(d->getLayerFactory().createXRef(*plan, "WALLS", &d->getLtypeContinuous(), 1, 16));
  MemoryFile in("rt.dxf", savedText(*d), IFile::kRead);
  DataPtr back = newDrawing();
  try {
    loadDXF(*back, in);
    ADD_FAILURE() << "the reader took a dependent layer without a bar in its name";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_EQ(e.getErrorNumber(), 7);
  }
}

}  // namespace
