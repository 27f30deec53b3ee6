// tests/database/layer_test.cpp: layers, the layer table and the colour names. The central
// check: after any sequence of adds, removes, linetype changes and snapshot restores, every
// linetype's layer count equals the number of layers that use it.
#include <veltcore/database/colors.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>
#include "database/test_drawing.h"

namespace {

// Layers that use lt: layer 0 and the listed layers.
long layersUsing(const CData& d, const CLtype* lt) {
  long n = d.getLayer0().getLtype() == lt ? 1 : 0;
  const CLayerTable& layers = d.getLayerTable();
  for (int i = 0; i < layers.size(); ++i) n += layers[i]->getLtype() == lt ? 1 : 0;
  return n;
}

TEST(Layer, CountsFollowEveryChangeOfALayersLinetype) {
  DataPtr d = newDrawing();
  std::vector<CLtype*> ltypes{&d->getLtypeContinuous(), &d->getLtypeByLayer()};
  const double dashes[] = {0.5, -0.25};
  for (const char* name : {"DASHED", "HIDDEN", "CENTER"}) {
    ltypes.push_back(d->getLtypeFactory().create(name, "", dashes, 2, 0));
    addLtype(*d, ltypes.back());
  }
  std::mt19937 rng(7);
  auto pick = [&rng](auto& v) { return v[rng() % v.size()]; };
  for (int step = 0; step < 3000; ++step) {
    const CLayerTable& table = d->getLayerTable();
    CLayer* listed = table.size() > 0 ? table[static_cast<int>(rng() % table.size())] : nullptr;
    const unsigned op = rng() % 5;
    if (op == 0) {
      addLayer(*d, d->getLayerFactory().create("L", pick(ltypes), 1, 0));
    } else if (op == 1 && listed != nullptr) {
      removeLayer(*d, listed);
      delete listed;
    } else if (op == 2 && listed != nullptr) {
      listed->setLtype(pick(ltypes));
    } else if (op == 3 && listed != nullptr) {
      std::unique_ptr<CLayerMemento> m(listed->createMemento());
      listed->setLtype(pick(ltypes));
      listed->setMemento(*m);
      EXPECT_TRUE(*m == *listed);
    } else if (op == 4) {
      d->getLayer0().setLtype(pick(ltypes));
    }
    for (CLtype* lt : ltypes) ASSERT_EQ(lt->getLayers(), layersUsing(*d, lt)) << "step " << step;
  }
  d->getLayerTable().clearAll();
  for (CLtype* lt : ltypes) EXPECT_EQ(lt->getLayers(), layersUsing(*d, lt));
}

TEST(Layer, TableLookupAndRemoval) {
  DataPtr d = newDrawing();
  CLayer* walls = d->getLayerFactory().create("Layer1", &d->getLtypeContinuous(), 3, 0);
  addLayer(*d, walls);
  EXPECT_EQ(getLayer(*d, "0"), &d->getLayer0());
  EXPECT_EQ(getLayer(*d, "LAYER1"), walls);
  EXPECT_EQ(getLayer(*d, "Layer2"), nullptr);
  EXPECT_EQ(d->getLtypeContinuous().getLayers(), 2);
  EXPECT_EQ(removeLayer(*d, "0"), nullptr);  // layer 0 never leaves
  EXPECT_EQ(removeLayer(*d, "nothing"), nullptr);
  removeLayer(*d, &d->getLayer0());
  EXPECT_EQ(d->getLtypeContinuous().getLayers(), 2);
  std::unique_ptr<CLayer> taken(removeLayer(*d, "layer1"));
  EXPECT_EQ(taken.get(), walls);
  EXPECT_EQ(d->getLayerTable().size(), 0);
  EXPECT_EQ(d->getLtypeContinuous().getLayers(), 1);
  removeLayer(*d, taken.get());  // not listed any more: nothing moves
  EXPECT_EQ(d->getLtypeContinuous().getLayers(), 1);
}

TEST(Layer, CopiesSnapshotsAndExternalReferenceFlags) {
  DataPtr d = newDrawing();
  CLayerFactory& factory = d->getLayerFactory();
  auto& continuous = d->getLtypeContinuous();
  std::unique_ptr<CLayer> layer(factory.create("A", &continuous, 5, 0));
  layer->setOff(true);
  EXPECT_FALSE(layer->thawed());
  layer->addEntity();
  std::unique_ptr<CLayer> copy(factory.create(*layer));
  EXPECT_EQ(copy->getEntities(), 0);
  EXPECT_TRUE(*copy == *layer);
  copy->setColor(6);
  EXPECT_TRUE(*copy != *layer);
  EXPECT_EQ(continuous.getLayers(), 1);  // only layer 0: neither creating nor copying counts
  std::unique_ptr<CLayerMemento> m(layer->createMemento());
  layer->setName("B");
  EXPECT_TRUE(*m != *layer);
  layer->setMemento(*m);
  EXPECT_STREQ(layer->getName().c_str(), "A");
  // A copy of layer 0 is an ordinary layer named "0".
  std::unique_ptr<CLayer> plain(factory.create(d->getLayer0()));
  EXPECT_FALSE(plain->is0());
  EXPECT_STREQ(plain->getName().c_str(), "0");

  std::unique_ptr<CBlockXRef> xref(d->getBlockFactory().createXRef(
      continuous, d->getLtypeByLayer(), d->getLtypeByBlock(), d->getLayer0(), "A"));
  std::unique_ptr<CLayerXRef> walls(factory.createXRef(*xref, "WALLS", &continuous, 1, 4));
  EXPECT_EQ(walls->getFlags(), 4);  // stored as given until the next setFlags
  EXPECT_STREQ(walls->getFullName().c_str(), "A|WALLS");
  EXPECT_TRUE(walls->isXRef());
  walls->setFlags(0);
  EXPECT_EQ(walls->getFlags(), 16);  // the reference is not loaded
  walls->setFlags(32 | 1);
  EXPECT_EQ(walls->getFlags(), 16 | 1);
}

TEST(Colors, NamesComeFromTheMessageTableOrTheNumberAndResolutionTakesOneStep) {
  const std::pair<int, const char*> names[] = {
      {0, "DABLOCCO"}, {1, "Rosso"},  {2, "Giallo"}, {3, "Verde"}, {4, "Cyan"},     {5, "Blu"},
      {6, "Magenta"},  {7, "Bianco"}, {8, "8"},      {255, "255"}, {256, "DAPIANO"}};
  for (const auto& [color, name] : names) EXPECT_STREQ(CColors::getInstance()[color].c_str(), name);
  const String* eight = &CColors::getInstance()[8];
  EXPECT_EQ(&CColors::getInstance()[8], eight);  // made once, then kept
  shutdownCore();
  EXPECT_STREQ(CColors::getInstance()[7].c_str(), "Bianco");  // a new instance after shutdown

  CLtypeContinuous continuous;
  CLayer0 layer(&continuous, 4, 0);
  EXPECT_EQ(getColor(0, &layer, 5), 5);
  EXPECT_EQ(getColor(256, &layer, 5), 4);
  EXPECT_EQ(getColor(3, &layer, 5), 3);
  EXPECT_EQ(getColor(0, &layer, 256), 256);  // not resolved further
}

}  // namespace
