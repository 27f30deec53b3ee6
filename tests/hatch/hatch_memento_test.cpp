// tests/hatch/hatch_memento_test.cpp: the hatch snapshot: what its comparison sees, the restore in
// place (the recorded block with its entity count) and by regeneration (another block, or another
// count), and a regeneration that cannot make a block.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include "database/test_drawing.h"
#include "hatch/hatch_support.h"
#include "support/handle_probe.h"

namespace {

const std::vector<PNT_3D> kSquare{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
constexpr double kRightAngle = 1.5707963267948966;

bool samePieces(const std::vector<Piece>& x, const std::vector<Piece>& y) {
  return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const Piece& a, const Piece& b) {
    return a.type == b.type && a.a == b.a && a.b == b.b;
  });
}

class HatchMementoTest : public ::testing::Test {
 protected:
  // A listed hatch of pattern LINE over the square.
  CEntHatch* listedHatch() {
    CEntHatch* h = createEntHatch(*d, *getHatch(String("LINE")), 1, 0, kSquare, 0);
    d->getEntTable().add(h);
    return h;
  }
  std::unique_ptr<CEntHatchMemento> snapshot(const CEntHatch& h) {
    return std::unique_ptr<CEntHatchMemento>(
        dynamic_cast<CEntHatchMemento*>(h.createDerivedMemento()));
  }
  CEntLine* lineOf(const CEntHatch& h, int i) {
    return dynamic_cast<CEntLine*>((*h.getBlock())[i]);
  }
  std::string blockNames() const {
    std::string out;
    for (int i = 0; i < blocks().size(); ++i) out += std::string(blocks()[i]->getName()) + " ";
    return out;
  }
  CBlockTable& blocks() const { return d->getBlockTable(); }

  DataPtr d = newDrawing();
};

}  // namespace

// Each change that a restore undoes in place: the snapshot sees it, and after the restore the
// hatch equals the snapshot again, with the same block, names and box.
TEST_F(HatchMementoTest, ComparisonSeesEachPartAndInPlaceRestoreUndoesIt) {
  CEntHatch* h = listedHatch();
  CBlock* block = h->getBlock();
  const RECT_3D box = h->getBdry();
  const RECT_3D blockBox = block->getBdry();
  const std::vector<Piece> pieces = piecesOf(*block);
  const auto m = snapshot(*h);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->size(), static_cast<long>(sizeof(CEntHatchMemento)));
  EXPECT_EQ(m->getNoEntities(), block->size());
  EXPECT_EQ(m->getNoPnts(), h->getNoPnts());
  EXPECT_EQ(m->fitMemento(*h), nullptr);
  const struct {
    const char* what;
    std::function<void()> change;
  } changes[] = {
      {"insert point", [&] { h->setPnt(PNT_3D(1, 0, 0)); }},
      {"hatch scale", [&] { h->setHatchScale(2); }},
      {"hatch rotate", [&] { h->setHatchRotate(0.5); }},
      {"a boundary point", [&] { h->getPnt(2L) = PNT_3D(10, 11, 0); }},
      {"a block line, block and hatch reboxed",
       [&] {
         lineOf(*h, 1)->setLine(0, 1, 0, 15, 1, 0);
         block->calcBdry();
         h->calcBdry();
       }},
      {"the last block line", [&] { lineOf(*h, block->size() - 1)->setLine(0, 0, 0, 1, 1, 1); }},
  };
  for (const auto& c : changes) {
    EXPECT_TRUE(*m == *h) << c.what;
    c.change();
    EXPECT_TRUE(*m != *h && !(*m == *h)) << c.what;
    h->setMemento(*d, m.get());
    EXPECT_TRUE(*m == *h) << c.what;
    EXPECT_EQ(h->getBlock(), block) << c.what;
    EXPECT_TRUE(samePieces(piecesOf(*block), pieces)) << c.what;
    EXPECT_EQ(block->getBdry(), blockBox) << c.what;
    EXPECT_EQ(h->getBdry(), box) << c.what;
    EXPECT_EQ(blockNames(), "*PAT1 ") << c.what;
  }
  // Another hatch with the same values differs by its block; a line is no hatch at all.
  const std::unique_ptr<CEntHatch> twin(
      createEntHatch(*d, *getHatch(String("LINE")), 1, 0, kSquare, 0));
  EXPECT_TRUE(*m != *twin);
  const std::unique_ptr<CEntLine> line(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 0), 0));
  EXPECT_TRUE(*m != *line);
}

// After an entity is added to the block (another count) or redefine (another block), the restore
// swaps the current block for one generated from the recorded values: the table keeps one block
// per hatch, the freed name is taken again, the old entities' handles are free and the new ones
// in use.
TEST_F(HatchMementoTest, RestoreRegeneratesTheBlockWhenItIsNotTheRecordedOne) {
  CEntHatch* h = listedHatch();
  CEntHatch* other = listedHatch();  // holds "*PAT2" throughout
  const std::vector<Piece> pieces = piecesOf(*h->getBlock());
  const RECT_3D box = h->getBdry();
  const auto m = snapshot(*h);
  const struct {
    const char* what;
    std::function<void()> change;
  } changes[] = {
      {"entity added",
       [&] {
         CEnt* extra = createEntLine(*d, LINE_3D(0, 0, 0, 1, 0, 0), 0);
         h->getBlock()->add(extra);
         d->getHandleGestor().reserve(extra);
       }},
      {"redefined", [&] { h->redefine(*d, 1, kRightAngle, *getHatch(String("NET"))); }},
  };
  for (const auto& c : changes) {
    c.change();
    CBlock* replaced = h->getBlock();
    std::vector<long> oldHandles;
    for (int i = 0; i < replaced->size(); ++i) oldHandles.push_back((*replaced)[i]->GetHandle());
    EXPECT_TRUE(*m != *h) << c.what;

    h->setMemento(*d, m.get());
    CBlock* fresh = h->getBlock();
    ASSERT_NE(fresh, nullptr) << c.what;
    EXPECT_EQ(blockNames(), "*PAT2 *PAT1 ") << c.what;
    EXPECT_EQ(blocks().get(String("*PAT1")), fresh) << c.what;
    EXPECT_EQ(fresh->getEntities(), 1) << c.what;
    EXPECT_EQ(other->getBlock()->getEntities(), 1) << c.what;
    EXPECT_TRUE(samePieces(piecesOf(*fresh), pieces)) << c.what;
    EXPECT_EQ(h->getBdry(), box) << c.what;
    EXPECT_EQ(&h->getHatchType(), getHatch(String("LINE"))) << c.what;
    EXPECT_EQ(h->getHatchRotate(), 0.0) << c.what;
    for (long handle : oldHandles) EXPECT_TRUE(handleFree(d->getHandleGestor(), handle)) << c.what;
    for (int i = 0; i < fresh->size(); ++i)
      EXPECT_FALSE(handleFree(d->getHandleGestor(), (*fresh)[i]->GetHandle())) << c.what;
    // The snapshot records the block it was taken with, which is gone.
    EXPECT_TRUE(*m != *h) << c.what;
  }
}

// A hatch made with a ready block and a scale no pattern can be generated at: when its block has
// changed, the restore cannot make a new one and keeps the current block where it was.
TEST_F(HatchMementoTest, RestoreThatCannotGenerateKeepsTheCurrentBlock) {
  CBlock* ready = d->getBlockFactory().create("READY", PNT_3D(0, 0, 0), 1);
  ready->add(createEntLine(*d, LINE_3D(0, 0, 0, 10, 10, 0), 0));
  blocks().add(ready);
  CEntHatch* h =
      d->getEntFactory().createEntHatch(d->getHandleGestor(), nullptr, nullptr, 256, ready,
                                        *getHatch(String("LINE")), 0, 0, kSquare, 0);
  d->getEntTable().add(h);
  const auto m = snapshot(*h);
  CEnt* extra = createEntLine(*d, LINE_3D(0, 0, 0, 1, 0, 0), 0);
  ready->add(extra);
  d->getHandleGestor().reserve(extra);

  h->setMemento(*d, m.get());
  EXPECT_EQ(h->getBlock(), ready);
  EXPECT_EQ(blockNames(), "READY ");
  EXPECT_EQ(ready->getEntities(), 1);
  EXPECT_EQ(ready->size(), 2);
  EXPECT_FALSE(handleFree(d->getHandleGestor(), extra->GetHandle()));  // registered again
  EXPECT_EQ(h->getBdry(), ready->getBdry());
}
