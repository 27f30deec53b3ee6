// tests/entities/memento_test.cpp: undo snapshots across classes: use counts under interleaved
// setters and restores, names compared with case, block snapshots, and the polyline restore: a
// failed rebuild, and agreement with the plain list walk (vertices, new handles, handle states)
// on random edits, through both the same-count and the rebuilding branch.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "entities/test_entity.h"
#include "support/handle_probe.h"

namespace {

TEXT_3D textOn(CStyle* style) {
  return TEXT_3D("T", style, 1, 0, 1, 0, 0, 0, 0, 0);
}

// '.' free, 'b' booked, 'r' reserved; asked of a copy, so that the question changes nothing.
char stateOf(const CHandleGestorDefault& g, long h) {
  CHandleGestorDefault c(g);
  if (handleFree(c, h)) return '.';
  c.unbook(h);
  return handleFree(c, h) ? 'b' : 'r';
}

// Entities, layers, linetypes, styles and the snapshots taken of them, with every use count
// recomputed from the objects themselves.
struct CountWorld {
  DataPtr d = newDrawing();
  std::vector<CStyle*> styles;
  std::vector<CLtype*> ltypes;
  std::vector<CLayer*> layers;
  std::vector<CEnt*> ents;
  std::vector<CEntText*> texts;
  std::vector<std::unique_ptr<CLtypeMemento>> ltypeSnaps{4};

  CountWorld() {
    styles.push_back(&d->getStyleTable().getStyleStandard());
    for (const char* name : {"NOTES", "TITLES"}) {
      styles.push_back(d->getStyleFactory().create(name, nullptr, 0, 1, 0, 0, 0));
      addStyle(*d, styles.back());
    }
    ltypes = {&d->getLtypeContinuous(), &d->getLtypeByLayer()};
    const double dashes[] = {0.5, -0.25};
    for (const char* name : {"DASHED", "GAS"}) {
      ltypes.push_back(d->getLtypeFactory().create(name, "", dashes, 2, 0));
      addLtype(*d, ltypes.back());
    }
    layers.push_back(&d->getLayer0());
    for (const char* name : {"WALLS", "DOORS"}) {
      layers.push_back(d->getLayerFactory().create(name, ltypes[2], 1, 0));
      addLayer(*d, layers.back());
    }
    for (int i = 0; i < 6; ++i) {
      if (i % 2 == 0)
        ents.push_back(createEntLine(*d, layers[1], ltypes[2], 256, LINE_3D(0, 0, 0, i, 1, 0), 0));
      else
        ents.push_back(
            texts.emplace_back(createEntText(*d, layers[1], ltypes[2], 256, textOn(styles[1]), 0)));
      d->getEntTable().add(ents.back());
    }
  }

  // Each item's counts against what the objects hold, one line per difference.
  std::string drift() const {
    std::string out;
    auto check = [&out](const CNamedItem& item, const char* what, long shown, long truth) {
      if (shown != truth)
        out += std::string(item.getName().c_str()) + " " + what + " " + std::to_string(shown) +
               " != " + std::to_string(truth) + "\n";
    };
    auto count = [](const auto& all, auto holds) {
      return static_cast<long>(std::count_if(all.begin(), all.end(), holds));
    };
    for (const CLayer* l : layers)
      check(*l, "entities", l->getEntities(),
            count(ents, [&](CEnt* e) { return e->getLayer() == l; }));
    for (const CLtype* lt : ltypes) {
      check(*lt, "entities", lt->getEntities(),
            count(ents, [&](CEnt* e) { return e->getLtype() == lt; }));
      check(*lt, "layers", lt->getLayers(),
            count(layers, [&](CLayer* l) { return l->getLtype() == lt; }));
    }
    std::map<const CStyle*, long> dashUses;
    auto countDashes = [&](const CLtypeComplexDashSeq& s) {
      for (int i = 0; i < s.GetNoDashes(); ++i)
        if (s[i]->IsText()) ++dashUses[s[i]->GetText()->getStyle()];
    };
    for (const CLtype* lt : ltypes) countDashes(lt->GetDashSeq());
    for (const auto& m : ltypeSnaps)
      if (m) countDashes(m->getDashSeq());
    for (const CStyle* st : styles) {
      check(*st, "texts", st->getEntities(),
            count(texts, [&](CEntText* t) { return t->getStyle() == st; }));
      check(*st, "dash uses", st->GetNoLtype(), dashUses[st]);
    }
    return out;
  }
};

}  // namespace

// Setters and restores of entities (base and text snapshots), layers and linetypes, in random
// order; every count must equal what the objects hold after every single step.
TEST(MementoCounts, InterleavedSettersAndRestoresNeverDrift) {
  CountWorld w;
  // A snapshot of every entity, text and layer to start with.
  std::vector<std::unique_ptr<CEntBaseMemento>> bases;
  std::vector<std::unique_ptr<IEntDerivedMemento>> textSnaps;
  std::vector<std::unique_ptr<CLayerMemento>> layerSnaps;
  for (CEnt* x : w.ents) bases.emplace_back(x->createBaseMemento());
  for (CEntText* x : w.texts) textSnaps.emplace_back(x->createDerivedMemento());
  for (CLayer* x : w.layers) layerSnaps.emplace_back(x->createMemento());
  std::mt19937 rng(2024);
  auto pick = [&rng](auto& v) -> auto& {
    return v[rng() % v.size()];
  };
  auto index = [&rng](std::size_t n) { return rng() % n; };
  std::size_t e = 0, t = 0, l = 0, lt = 0;
  const struct {
    const char* what;
    std::function<void()> run;
  } actions[] = {
      {"setLayer", [&] { w.ents[e]->setLayer(pick(w.layers)); }},
      {"setLtype", [&] { w.ents[e]->setLtype(pick(w.ltypes)); }},
      {"base taken", [&] { bases[e].reset(w.ents[e]->createBaseMemento()); }},
      {"base restored", [&] { w.ents[e]->setMemento(bases[e].get()); }},
      {"setStyle", [&] { w.texts[t]->setStyle(pick(w.styles)); }},
      {"text taken", [&] { textSnaps[t].reset(w.texts[t]->createDerivedMemento()); }},
      {"text restored", [&] { w.texts[t]->setMemento(*w.d, textSnaps[t].get()); }},
      {"layer setLtype", [&] { w.layers[l]->setLtype(pick(w.ltypes)); }},
      {"layer taken", [&] { layerSnaps[l].reset(w.layers[l]->createMemento()); }},
      {"layer restored", [&] { w.layers[l]->setMemento(*layerSnaps[l]); }},
      {"text dash added", [&] { w.ltypes[lt]->AddDashText(textOn(pick(w.styles))); }},
      {"dashes cleared", [&] { w.ltypes[lt]->ClearDashes(); }},
      {"linetype taken", [&] { w.ltypeSnaps[lt].reset(w.ltypes[lt]->createMemento()); }},
      {"linetype restored",
       [&] {
         if (w.ltypeSnaps[lt]) w.ltypes[lt]->setMemento(*w.ltypeSnaps[lt]);
       }},
      {"linetype snapshot dropped", [&] { w.ltypeSnaps[lt].reset(); }},
  };
  ASSERT_EQ(w.drift(), "");
  for (int step = 0; step < 6000; ++step) {
    e = index(w.ents.size()), t = index(w.texts.size());
    l = index(w.layers.size()), lt = 2 + index(2);  // DASHED or GAS: the built-ins are left alone
    const auto& action = actions[index(std::size(actions))];
    action.run();
    ASSERT_EQ(w.drift(), "") << "step " << step << ": " << action.what;
  }
  for (auto& m : w.ltypeSnaps) m.reset();
  EXPECT_EQ(w.drift(), "");
}

// Tables find items ignoring case; snapshots see a change of case alone.
TEST(MementoNames, ACaseOnlyChangeDiffersAndIsUndone) {
  DataPtr d = newDrawing();
  CLayer* walls = d->getLayerFactory().create("Walls", &d->getLtypeContinuous(), 1, 0);
  addLayer(*d, walls);
  const std::unique_ptr<CLayerMemento> layerSnap(walls->createMemento());
  walls->setName("WALLS");
  EXPECT_EQ(getLayer(*d, "Walls"), walls);
  EXPECT_TRUE(*layerSnap != *walls);
  walls->setMemento(*layerSnap);
  EXPECT_STREQ(walls->getName().c_str(), "Walls");
  EXPECT_TRUE(*layerSnap == *walls);

  const double dashes[] = {0.5, -0.25};
  CLtype* dashed = d->getLtypeFactory().create("Dashed", "Dash line", dashes, 2, 0);
  addLtype(*d, dashed);
  const std::unique_ptr<CLtypeMemento> ltypeSnap(dashed->createMemento());
  for (const bool name : {true, false}) {
    if (name)
      dashed->setName("DASHED");
    else
      dashed->setDesc("DASH LINE");
    EXPECT_EQ(getLtype(*d, "Dashed"), dashed) << name;
    EXPECT_TRUE(*ltypeSnap != *dashed) << name;
    dashed->setMemento(*ltypeSnap);
    EXPECT_TRUE(*ltypeSnap == *dashed) << name;
  }
  EXPECT_STREQ(dashed->getName().c_str(), "Dashed");
  EXPECT_STREQ(dashed->getDesc().c_str(), "Dash line");
}

// The restore gives the block its entities back where they are, with the recorded base point,
// flags and box, and touches no handle and no count; only destroyEntity deletes the entities.
TEST(BlockMemento, RestoreMovesNoCountOrHandleAndOnlyDestroyEntityDeletes) {
  DataPtr d = newDrawing();
  TestEntFactory f;
  IHandleGestor& g = d->getHandleGestor();
  const auto& gestor = dynamic_cast<const CHandleGestorDefault&>(g);
  CLayer* layer = &d->getLayer0();
  const std::unique_ptr<CBlock> b(d->getBlockFactory().create("B", PNT_3D(1, 1, 0), 64));
  CEntLine* line = createEntLine(*d, layer, nullptr, 256, LINE_3D(3, 3, 0, 4, 4, 0), 0);
  const std::vector<CEnt*> kept{
      line, createEntAttdef(*d, layer, nullptr, 256, textOn(nullptr), "v", "p", 0, 0),
      f.createTestPnt(g, layer, nullptr, 256, PNT_3D(3, 3, 0), 0)};
  for (CEnt* e : kept) b->add(e);
  const long flags = b->getFlags();  // 64 and the attribute-definition bit
  const std::unique_ptr<CBlockMemento> m(b->createMemento());
  b->clearEntities();
  TestPnt* other = f.createTestPnt(g, layer, nullptr, 256, PNT_3D(9, 9, 0), 0);
  b->add(other);
  b->setFlags(0);
  const long layerUses = layer->getEntities();
  auto handleStates = [&] {
    std::string out;
    for (const CEnt* e : kept) out += stateOf(gestor, e->GetHandle());
    return out;
  };
  EXPECT_EQ(handleStates(), "bbb");

  b->setMemento(*m);
  EXPECT_TRUE(*m == *b);
  ASSERT_EQ(b->size(), 3);
  RECT_3D box;
  box.initRegion();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ((*b)[i], kept[static_cast<std::size_t>(i)]) << i;
    box.updateRegion(kept[static_cast<std::size_t>(i)]->getBdry());
  }
  EXPECT_EQ(line->getLine().start, PNT_3D(2, 2, 0));  // moved once, when first added
  EXPECT_EQ(b->getPnt(), PNT_3D(1, 1, 0));
  EXPECT_EQ(b->getFlags(), flags);
  EXPECT_EQ(b->getBdry(), box);  // the definition's box included
  EXPECT_EQ(layer->getEntities(), layerUses);
  EXPECT_EQ(handleStates(), "bbb");

  // Dropping a snapshot leaves the entities alone; destroyEntity deletes them.
  const long live = TestPnt::live();
  std::unique_ptr<CBlockMemento>(b->createMemento()).reset();
  EXPECT_EQ(TestPnt::live(), live);
  const std::unique_ptr<CBlockMemento> holder(b->createMemento());
  b->clearEntities();
  holder->destroyEntity();
  EXPECT_EQ(TestPnt::live(), live - 1);
  delete other;
}

namespace {

// A handle manager that can be made to run out after a number of new handles, and a factory that
// can be made to run out of memory for vertices, so that a restore can fail half way.
class FailingGestor : public CHandleGestorDefault {
 public:
  FailingGestor() : CHandleGestorDefault(32, 1000000000) {}
  long bookNext() override {
    if (booksLeft == 0) throw HandleExaustedException();
    if (booksLeft > 0) --booksLeft;
    return CHandleGestorDefault::bookNext();
  }
  long booksLeft = -1;  // never runs out
};

class FailingEntFactory : public CEntFactory {
 public:
  using CEntFactory::createVertex;
  CVertex* createVertex(IHandleGestor& g, const PNT_3D& p, double widthStart, double widthEnd,
                        long handle) override {
    if (verticesLeft == 0) throw std::bad_alloc();
    if (verticesLeft > 0) --verticesLeft;
    return CEntFactory::createVertex(g, p, widthStart, widthEnd, handle);
  }
  long verticesLeft = -1;
};

class FailingDataFactory : public CDataFactory {
 protected:
  IHandleGestor* doCreateHandleGestor() const override { return new FailingGestor; }
  CEntFactory* doCreateEntFactory() const override { return new FailingEntFactory; }
};

// A bare handle, to book and reserve in the reference walk as a new vertex would be.
struct HandleOnly : IHandleEnt {
  explicit HandleOnly(long h) : IHandleEnt(h) {}
  void accept(IEntVisitor&) override {}
};

// The restore as the plain list walk does it, run on a copy of the handle manager: for each index,
// the old vertex kept there (null where a new one is made) and the new one's handle.
struct WalkResult {
  std::vector<CVertex*> kept;
  std::vector<long> newHandles;
};

WalkResult walkRestore(std::vector<CVertex*> old, const CEntPolylineMemento& m, IHandleGestor& g) {
  WalkResult r;
  if (m.getNoVertexes() == static_cast<long>(old.size())) {
    r.kept = old;
    r.newHandles.assign(old.size(), 0);
    return r;
  }
  for (std::size_t k = old.size(); k-- > 0;) g.release(old[k]->GetHandle());
  for (const CEntPolylineMemento::VertexPair& pair : m.getVertexes()) {
    const auto found = std::find(old.begin(), old.end(), pair.first);
    if (found != old.end()) {
      r.kept.push_back(*found);
      r.newHandles.push_back(0);
      g.reserve(*found);
      old.erase(found);
    } else {
      const HandleOnly fresh(g.bookNext());
      g.reserve(&fresh);
      r.kept.push_back(nullptr);
      r.newHandles.push_back(fresh.GetHandle());
    }
  }
  return r;
}

class PolylineRestore : public ::testing::Test {
 protected:
  // A listed polyline on n vertices (i, i, 0) with widths i.
  CEntPolyline* listedPolyline(int n) {
    CEntPolyline* p = createEntPolyline(*d, 0, 0, 0);
    for (int i = 0; i < n; ++i) p->addVertex(*createVertex(*d, PNT_3D(i, i, 0), i, i, 0));
    d->getEntTable().add(p);
    return p;
  }
  std::vector<CVertex*> vertexes(const CEntPolyline& p) const {
    std::vector<CVertex*> out;
    for (int i = 0; i < p.getNoTotalVertexes(); ++i) out.push_back(const_cast<CVertex*>(&p[i]));
    return out;
  }
  std::string states(const std::vector<long>& handles) const {
    std::string out;
    for (long h : handles) out += stateOf(gestor(), h);
    return out;
  }
  CHandleGestorDefault& gestor() const {
    return dynamic_cast<CHandleGestorDefault&>(d->getHandleGestor());
  }

  DataPtr d{FailingDataFactory().createData()};
};

}  // namespace

// The failure comes while making the second of two new vertices: the first is discarded with its
// handle, and the polyline keeps its old vertices, positions, box and reserved handles.
TEST_F(PolylineRestore, AFailedRebuildLeavesTheVerticesAndHandlesAsTheyWere) {
  auto& factory = dynamic_cast<FailingEntFactory&>(d->getEntFactory());
  auto& failing = dynamic_cast<FailingGestor&>(d->getHandleGestor());
  const struct {
    const char* what;
    long* budget;
  } failures[] = {{"handles run out", &failing.booksLeft},
                  {"no memory for a vertex", &factory.verticesLeft}};
  for (const auto& f : failures) {
    CEntPolyline* p = listedPolyline(5);
    const std::unique_ptr<IEntDerivedMemento> m(p->createDerivedMemento());
    delete p->removeVertex(d->getHandleGestor(), 3);
    delete p->removeVertex(d->getHandleGestor(), 1);
    const std::vector<CVertex*> before = vertexes(*p);
    const RECT_3D box = p->getBdry();
    std::vector<long> handles;
    for (const CVertex* v : before) handles.push_back(v->GetHandle());
    for (long h = gestor().nextseed(); h < gestor().nextseed() + 3; ++h) handles.push_back(h);
    const std::string handleStates = states(handles);

    *f.budget = 1;
    EXPECT_ANY_THROW(p->setMemento(*d, m.get())) << f.what;
    *f.budget = -1;
    EXPECT_EQ(vertexes(*p), before) << f.what;
    EXPECT_EQ(p->GetVertexPos(1), PNT_3D(2, 2, 0)) << f.what;
    EXPECT_EQ(p->getBdry(), box) << f.what;
    EXPECT_EQ(states(handles), handleStates) << f.what;
    p->setMemento(*d, m.get());
    EXPECT_TRUE(*m == *p) << f.what;
  }
}

// Random removals, insertions, moves and reorderings between snapshots (some of them older, so
// that they name vertices deleted since); each restore must keep the same vertex objects at the
// same indices, give new ones the same handles and leave every handle in the same state as the
// reference walk does.
TEST_F(PolylineRestore, HashedRebuildMatchesTheListWalk) {
  std::mt19937 rng(77);
  auto below = [&rng](long n) { return static_cast<long>(rng() % static_cast<unsigned>(n)); };
  CEntPolyline* p = listedPolyline(24);
  IHandleGestor& g = d->getHandleGestor();
  std::deque<std::unique_ptr<IEntDerivedMemento>> snaps;
  std::vector<CVertex*> aside;
  int rebuilds = 0;
  for (int round = 0; round < 800; ++round) {
    if (snaps.empty() || rng() % 2 == 0) snaps.emplace_back(p->createDerivedMemento());
    if (snaps.size() > 3) snaps.pop_front();
    for (long edits = below(5); edits > 0; --edits) {
      const long n = p->getNoTotalVertexes();
      const PNT_3D at(below(100), below(100), 0);
      switch (rng() % 4) {
        case 0:
          if (n == 0) break;
          if (CVertex* v = p->removeVertex(g, below(n)); rng() % 2 == 0)
            delete v;
          else
            aside.push_back(v);
          break;
        case 1:
          p->insertVertex(g, *createVertex(*d, at, below(3), 0, 0), below(n + 1));
          break;
        case 2:
          if (aside.empty()) break;
          p->insertVertex(g, *aside.back(), below(n + 1));
          aside.pop_back();
          break;
        case 3:
          if (n > 0) p->SetVertexPos(static_cast<int>(below(n)), at);
          break;
      }
    }
    const auto& m = static_cast<const CEntPolylineMemento&>(
        *snaps[static_cast<std::size_t>(below(static_cast<long>(snaps.size())))]);
    const std::vector<CVertex*> old = vertexes(*p);
    CHandleGestorDefault reference(gestor());
    const WalkResult expected = walkRestore(old, m, reference);
    rebuilds += m.getNoVertexes() != static_cast<long>(old.size());
    std::vector<long> handles;  // taken now: the restore may delete old vertices
    for (const CVertex* v : old) handles.push_back(v->GetHandle());

    p->setMemento(*d, &m);
    const std::vector<CVertex*> now = vertexes(*p);
    ASSERT_EQ(now.size(), expected.kept.size()) << "round " << round;
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (expected.kept[i] != nullptr) {
        ASSERT_EQ(now[i], expected.kept[i]) << "round " << round << " index " << i;
      } else {
        ASSERT_EQ(std::find(old.begin(), old.end(), now[i]), old.end()) << "round " << round;
        ASSERT_EQ(now[i]->GetHandle(), expected.newHandles[i]) << "round " << round;
        handles.push_back(now[i]->GetHandle());
      }
      const CVertexMemento& snap = *m.getVertexes()[i].second;
      ASSERT_TRUE(snap == *now[i]) << "round " << round << " index " << i;
    }
    handles.push_back(reference.nextseed());
    std::string expectedStates;
    for (long h : handles) expectedStates += stateOf(reference, h);
    ASSERT_EQ(states(handles), expectedStates) << "round " << round;
    ASSERT_EQ(gestor().nextseed(), reference.nextseed()) << "round " << round;
  }
  EXPECT_GT(rebuilds, 200);  // the different-count branch was taken often
  for (CVertex* v : aside) delete v;
}
