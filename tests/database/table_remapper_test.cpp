// tests/database/table_remapper_test.cpp: CTableRemapper over a drawing that uses its layers,
// linetypes and styles everywhere the remapper looks (entity table, blocks, an external
// reference, layers, linetype text dashes): counts and uses after a remap with and without the
// external-reference flag, chained pairs, cancelled and replaced pairs, attributes left alone,
// and a second remap that changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/table_remapper.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/line.h>

#include "database/test_drawing.h"

namespace {

TEXT_3D textIn(CStyle* style, const char* s = "GAS") {
  return TEXT_3D(s, style, 1.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0);
}

const char* nameOf(const CNamedItem* item) {
  return item != nullptr ? item->getName().c_str() : "-";
}

// "L0.5 T(S) L-0.25": kinds, lengths and the text dashes' styles, in pattern order.
std::string describe(const CLtype& lt) {
  std::string out;
  for (int i = 0; i < lt.getNoDashes(); ++i) {
    const TEXT_3D* t = lt[i]->GetText();
    out += i > 0 ? " " : "";
    out += t != nullptr ? std::string("T(") + nameOf(t->getStyle()) + ")"
                        : "L" + testing::PrintToString(lt[i]->GetValue());
  }
  return out;
}

// Layers A (on L), B (on M), C (continuous); linetypes L, M, N and GAS, whose pattern holds
// two texts in S and one in STANDARD; styles S and T. The entity table, block DOOR and the external
// reference PLAN each hold a line and a text on A; the reference has a layer WALLS on L and a
// linetype MARK whose text is in S.
struct Scene {
  DataPtr d = newDrawing();
  CLtype* L = addLtype("L");
  CLtype* M = addLtype("M");
  CLtype* N = addLtype("N");
  CLtype* gas = addLtype("GAS");
  CLayer* A = addLayer("A", L);
  CLayer* B = addLayer("B", M);
  CLayer* C = addLayer("C", &d->getLtypeContinuous());
  CStyle* S = addStyle("S");
  CStyle* T = addStyle("T");
  CStyle* standard = &d->getStyleTable().getStyleStandard();
  // Filled by each test, then listed: the block table counts what a block holds when it is added.
  CBlock* door = d->getBlockFactory().create("DOOR", 0);
  CBlockXRef* plan = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                     d->getLtypeByBlock(), d->getLayer0(), "PLAN",
                                                     "plan.dxf", PNT_3D(0, 0, 0), 0);
  CLtypeXRef* mark = nullptr;
  CLayerXRef* walls = nullptr;

  Scene() {
    gas->ClearDashes();
    gas->AddDashDouble(0.5);
    gas->AddDashText(textIn(S));
    gas->AddDashText(textIn(S, "G"));
    gas->AddDashDouble(-0.25);
    gas->AddDashText(textIn(standard));
    d->getBlockXRefTable().add(plan);
    CLtypeComplexDashSeq markSeq;
    markSeq.AddDashText(textIn(S, "M"));
    mark = d->getLtypeFactory().createXRef(*plan, "MARK", "", markSeq, 0);
    plan->add(mark);
    walls = d->getLayerFactory().createXRef(*plan, "WALLS", L, 7, 0);
    plan->add(walls);
  }
  // A test that leaves DOOR unlisted still owns it here.
  ~Scene() {
    if (d->getBlockTable().get("DOOR") == nullptr) delete door;
  }

  CLtype* addLtype(const char* name) {
    const double dashes[] = {1.0, -1.0};
    CLtype* lt = d->getLtypeFactory().create(name, "", dashes, 2, 0);
    d->getLtypeTable().add(lt);
    return lt;
  }
  CLayer* addLayer(const char* name, CLtype* lt) {
    CLayer* layer = d->getLayerFactory().create(name, lt, 7, 0);
    d->getLayerTable().add(layer);
    return layer;
  }
  CStyle* addStyle(const char* name) {
    CStyle* style = d->getStyleFactory().create(name, nullptr, 0, 1, 0, 0, 0);
    d->getStyleTable().add(style);
    return style;
  }
  CEnt* line(CLayer* layer, CLtype* lt) {
    return createEntLine(*d, layer, lt, 256, LINE_3D(0, 0, 0, 1, 1, 0), 0);
  }
  CEnt* text(CLayer* layer, CLtype* lt, CStyle* style) {
    return createEntText(*d, layer, lt, 256, textIn(style, "NOTE"), 0);
  }
};

struct Expected {
  const CEnt* e;
  const CLayer* layer;
  const CLtype* ltype;
  const CStyle* style;
};

void expectUses(const std::vector<Expected>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("entity row " + std::to_string(i));
    EXPECT_EQ(rows[i].e->getLayer(), rows[i].layer);
    EXPECT_EQ(rows[i].e->getLtype(), rows[i].ltype);
    EXPECT_EQ(rows[i].e->getStyle(), rows[i].style);
  }
}

TEST(TableRemapper, MovesEveryUseInTheDrawingBlocksAndReferences) {
  for (bool withXRefs : {false, true}) {
    SCOPED_TRACE(withXRefs ? "with references" : "without references");
    Scene s;
    CLtype* byLayer = &s.d->getLtypeByLayer();
    CEnt* tableLine = s.line(s.A, s.L);
    CEnt* tableText = s.text(s.A, byLayer, s.S);
    CEnt* unpairedLayer = s.line(s.C, s.L);  // C has no pair: only its linetype moves
    CEnt* blockLine = s.line(s.A, s.L);
    CEnt* blockText = s.text(s.B, s.L, s.S);
    CEnt* planLine = s.line(s.A, s.L);
    CEnt* planText = s.text(s.walls, byLayer, s.S);
    for (CEnt* e : {tableLine, tableText, unpairedLayer}) s.d->getEntTable().add(e);
    s.door->add(blockLine);
    s.door->add(blockText);
    s.d->getBlockTable().add(s.door);
    s.plan->add(planLine);
    s.plan->add(planText);
    const long entitiesOnAB = s.A->getEntities() + s.B->getEntities();
    const long entitiesOnLM = s.L->getEntities() + s.M->getEntities();
    const long layersOnLM = s.L->getLayers() + s.M->getLayers();
    const long textsInST = s.S->getEntities() + s.T->getEntities();
    const long dashesInST = s.S->GetNoLtype() + s.T->GetNoLtype();
    ASSERT_EQ(s.S->GetNoLtype(), 3);  // GAS twice, PLAN|MARK once

    CTableRemapper r(*s.d, withXRefs);
    r.ChangeInto(s.A, s.B);
    r.ChangeInto(s.L, s.M);
    r.ChangeInto(s.S, s.T);
    for (int run = 1; run <= 2; ++run) {  // the second run finds nothing left to move
      SCOPED_TRACE(run);
      r.Remap();
      expectUses({{tableLine, s.B, s.M, nullptr},
                  {tableText, s.B, byLayer, s.T},
                  {unpairedLayer, s.C, s.M, nullptr},
                  {blockLine, s.B, s.M, nullptr},
                  {blockText, s.B, s.M, s.T},
                  {planLine, s.B, s.M, nullptr},
                  {planText, s.walls, byLayer, s.T}});
      EXPECT_EQ(s.A->getEntities(), 0);
      EXPECT_EQ(s.B->getEntities(), entitiesOnAB);
      EXPECT_EQ(s.L->getEntities(), 0);
      EXPECT_EQ(s.M->getEntities(), entitiesOnLM);
      EXPECT_EQ(s.S->getEntities(), 0);
      EXPECT_EQ(s.T->getEntities(), textsInST);
      // The reference's own layer and linetype follow the flag.
      EXPECT_EQ(s.A->getLtype(), s.M);
      EXPECT_EQ(s.walls->getLtype(), withXRefs ? s.M : s.L);
      EXPECT_EQ(s.L->getLayers(), withXRefs ? 0 : 1);
      EXPECT_EQ(s.M->getLayers(), layersOnLM - s.L->getLayers());
      EXPECT_EQ(describe(*s.gas), "L0.5 T(T) T(T) L-0.25 T(STANDARD)");
      const TEXT_3D* moved = s.gas->GetDash(1)->GetText();
      ASSERT_NE(moved, nullptr);
      EXPECT_STREQ(moved->getContext().getString().c_str(), "GAS");
      EXPECT_DOUBLE_EQ(s.gas->getPatternLen(), 0.75);
      EXPECT_EQ(describe(*s.mark), withXRefs ? "T(T)" : "T(S)");
      EXPECT_EQ(s.S->GetNoLtype(), withXRefs ? 0 : 1);
      EXPECT_EQ(s.T->GetNoLtype(), dashesInST - s.S->GetNoLtype());
    }
  }
}

TEST(TableRemapper, ChainedPairsAreLookedUpOnce) {
  Scene s;
  CEnt* onA = s.line(s.A, s.L);
  CEnt* onB = s.line(s.B, s.M);
  CEnt* inS = s.text(s.C, s.N, s.S);
  CEnt* inT = s.text(s.C, s.N, s.T);
  for (CEnt* e : {onA, onB, inS, inT}) s.d->getEntTable().add(e);

  CTableRemapper r(*s.d, false);
  r.ChangeInto(s.A, s.B);
  r.ChangeInto(s.B, s.C);
  r.ChangeInto(s.L, s.M);
  r.ChangeInto(s.M, s.N);
  r.ChangeInto(s.S, s.T);
  r.ChangeInto(s.T, s.standard);
  r.Remap();

  expectUses({{onA, s.B, s.M, nullptr},
              {onB, s.C, s.N, nullptr},
              {inS, s.C, s.N, s.T},
              {inT, s.C, s.N, s.standard}});
  EXPECT_EQ(s.A->getLtype(), s.M);
  EXPECT_EQ(s.B->getLtype(), s.N);
  EXPECT_EQ(describe(*s.gas), "L0.5 T(T) T(T) L-0.25 T(STANDARD)");
}

TEST(TableRemapper, NullCancelsAPairAndALaterPairReplacesIt) {
  Scene s;
  CEnt* e = s.text(s.A, s.L, s.S);
  s.d->getEntTable().add(e);

  CTableRemapper r(*s.d, true);
  r.ChangeInto(s.A, s.B);
  r.ChangeInto(s.A, static_cast<CLayer*>(nullptr));
  r.ChangeInto(s.L, s.M);
  r.ChangeInto(s.L, s.N);
  r.ChangeInto(s.S, s.T);
  r.ChangeInto(s.S, static_cast<CStyle*>(nullptr));
  s.mark->GetDashSeq().AddDashText(textIn(nullptr));
  r.ChangeInto(static_cast<CStyle*>(nullptr), s.T);  // "no style" is never replaced
  r.Remap();

  expectUses({{e, s.A, s.N, s.S}});
  EXPECT_EQ(s.A->getLtype(), s.N);
  EXPECT_EQ(s.walls->getLtype(), s.N);
  EXPECT_EQ(s.L->getLayers(), 0);
  EXPECT_EQ(s.M->getLayers(), 1);  // B only
  EXPECT_EQ(describe(*s.gas), "L0.5 T(S) T(S) L-0.25 T(STANDARD)");
  EXPECT_EQ(describe(*s.mark), "T(S) T(-)");
}

TEST(TableRemapper, AttributesOfInsertsKeepTheirItems) {
  Scene s;
  CEntAttdef* def = createEntAttdef(*s.d, s.A, s.L, 256, textIn(s.S, "TAG"), "1", "Number?", 0, 0);
  s.door->add(def);
  s.d->getBlockTable().add(s.door);
  CEntInsert* ins =
      createEntInsert(*s.d, s.A, s.L, 256, *s.door, PNT_3D(5, 5, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0);
  CEntAttrib* attrib = createEntAttrib(*s.d, "7", *def, *ins, 0);
  ins->add(attrib);
  s.d->getEntTable().add(ins);

  CTableRemapper r(*s.d, false);
  r.ChangeInto(s.A, s.B);
  r.ChangeInto(s.L, s.M);
  r.ChangeInto(s.S, s.T);
  r.Remap();

  expectUses({{ins, s.B, s.M, nullptr}, {def, s.B, s.M, s.T}, {attrib, s.A, s.L, s.S}});
  EXPECT_EQ(s.A->getEntities(), 1);
  EXPECT_EQ(s.L->getEntities(), 1);
  EXPECT_EQ(s.S->getEntities(), 1);
}

}  // namespace
