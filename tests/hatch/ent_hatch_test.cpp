// tests/hatch/ent_hatch_test.cpp: the hatch entity: creation with its block in the table and the
// order of handles, refusals that leave nothing behind, redefine (no-op, replacement, refused),
// cloning into an independent block, moving, unbooking; and its snapshot: what the comparison
// sees, the restore in place (the recorded block with its entity count) and by regeneration
// (another block, or another count), and a regeneration that cannot make a block.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/hatch/ent_hatch.h>

#include "database/test_drawing.h"
#include "hatch/hatch_support.h"
#include "support/handle_probe.h"

namespace {

const std::vector<PNT_3D> kSquare{{0, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}};
constexpr double kRightAngle = 1.5707963267948966;

class EntHatchTest : public ::testing::Test {
 protected:
  // A hatch over the square; a listed one belongs to the entity table.
  CEntHatch* hatch(const char* pattern, bool listed, double scale = 1) {
    CEntHatch* h = createEntHatch(*d, *getHatch(String(pattern)), scale, 0, kSquare, 0);
    if (listed) d->getEntTable().add(h);
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
  IHandleGestor& g = d->getHandleGestor();
};

}  // namespace

TEST_F(EntHatchTest, CreationBooksTheHatchFirstAndPutsItsBlockInTheTable) {
  const long lineUsesBefore = d->getLayer0().getEntities();
  std::unique_ptr<CEntHatch> h(hatch("LINE", false));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->getType(), 10);
  EXPECT_EQ(h->getPnt(), PNT_3D(0, 0, 0));
  EXPECT_EQ(h->getNoPnts(), 5);  // compacted and closed
  EXPECT_EQ(h->getPnt(4L), kSquare[0]);
  CBlock* b = h->getBlock();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(blockNames(), "*PAT1 ");
  ASSERT_EQ(b->size(), 4);  // y = 0, 3.175, 6.35, 9.525
  for (int i = 0; i < b->size(); ++i) {
    EXPECT_GT((*b)[i]->GetHandle(), h->GetHandle()) << i;
    EXPECT_EQ((*b)[i]->getLtype(), &d->getLtypeByBlock()) << i;
    EXPECT_EQ((*b)[i]->getColor(), 0) << i;
  }
  // In the table the lines count on the current layer; the box is the block's.
  EXPECT_EQ(d->getLayer0().getEntities(), lineUsesBefore + 4);
  EXPECT_NEAR(h->getBdry().min.getY(), 0.0, 1e-9);
  EXPECT_NEAR(h->getBdry().max.getX(), 10.0, 1e-9);
  d->getEntTable().add(h.get());
  EXPECT_EQ(b->getEntities(), 1);
  d->getEntTable().remove(h.get());
  EXPECT_EQ(b->getEntities(), 0);
  const long handle = h->GetHandle();
  d->getEntFactory().unbookHandle(g, h.get());
  EXPECT_TRUE(handleFree(g, handle));
}

TEST_F(EntHatchTest, RefusalsLeaveNoBlockAndNoBookedHandle) {
  const struct {
    const char* what;
    std::vector<PNT_3D> boundary;
    double scale;
  } cases[] = {
      {"two points", {{0, 0, 0}, {1, 0, 0}}, 1},
      {"three points compacting to two", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, 1},
      {"zero scale", kSquare, 0},
      {"negative scale", kSquare, -1},
  };
  for (const auto& c : cases) {
    const long next = g.nextseed();
    EXPECT_EQ(createEntHatch(*d, *getHatch(1L), c.scale, 0, c.boundary, 0), nullptr) << c.what;
    EXPECT_EQ(blocks().size(), 0) << c.what;
    EXPECT_TRUE(handleFree(g, next)) << c.what;
  }
}

TEST_F(EntHatchTest, RedefineReplacesTheBlockOnlyWhenSomethingChanges) {
  CEntHatch* h = hatch("LINE", true);
  CBlock* first = h->getBlock();
  h->redefine(*d, 1, 0, *getHatch(String("LINE")));
  EXPECT_EQ(h->getBlock(), first);
  // The old block leaves before the name is chosen, so the only hatch gets "*PAT1" again.
  h->redefine(*d, 1, kRightAngle, *getHatch(String("LINE")));
  CBlock* second = h->getBlock();
  EXPECT_NE(second, first);
  EXPECT_EQ(blockNames(), "*PAT1 ");
  EXPECT_EQ(second->getEntities(), 1);
  EXPECT_EQ(h->getHatchRotate(), kRightAngle);
  EXPECT_NEAR(h->getBdry().max.getY(), 10.0, 1e-9);  // vertical lines now reach the top edge
  // A value that cannot make a block leaves everything as it was.
  h->redefine(*d, 0, 0, *getHatch(String("NET")));
  EXPECT_EQ(h->getBlock(), second);
  EXPECT_EQ(h->getHatchScale(), 1.0);
  EXPECT_EQ(&h->getHatchType(), getHatch(String("LINE")));
  EXPECT_EQ(second->getEntities(), 1);
  EXPECT_EQ(blockNames(), "*PAT1 ");
  // The setters store without regenerating; redefine with the stored values then does nothing.
  h->setHatchScale(2);
  h->redefine(*d, 2, h->getHatchRotate(), h->getHatchType());
  EXPECT_EQ(h->getBlock(), second);
  h->redefine(*d, 2, h->getHatchRotate(), *getHatch(String("NET")));  // the pattern alone
  EXPECT_NE(h->getBlock(), second);
}

TEST_F(EntHatchTest, CloneOwnsACopyOfTheBlockUnderTheNextName) {
  std::unique_ptr<CEntHatch> h(hatch("DASH", false, 10));
  const std::unique_ptr<CEnt> c(cloneEnt(*d, *h));
  auto* copy = dynamic_cast<CEntHatch*>(c.get());
  ASSERT_NE(copy, nullptr);
  CBlock* a = h->getBlock();
  CBlock* b = copy->getBlock();
  EXPECT_EQ(blockNames(), "*PAT1 *PAT2 ");
  EXPECT_EQ(blocks().get(String("*PAT2")), b);
  EXPECT_EQ(piecesOf(*b), piecesOf(*a));
  for (int i = 0; i < b->size(); ++i) EXPECT_GT((*b)[i]->GetHandle(), copy->GetHandle()) << i;
  EXPECT_EQ(copy->getHatchScale(), 10.0);
  EXPECT_EQ(copy->getNoPnts(), h->getNoPnts());
  EXPECT_EQ(copy->getBdry(), h->getBdry());
  // Destroying one hatch's block leaves the other's entities alone.
  const std::vector<Piece> pieces = piecesOf(*a);
  blocks().remove(a);
  delete a;
  h->setBlock(nullptr);
  EXPECT_EQ(piecesOf(*b), pieces);
}

TEST_F(EntHatchTest, MoveCarriesBlockBoundaryAndBoxWithoutRegenerating) {
  std::unique_ptr<CEntHatch> h(hatch("LINE", false));
  CBlock* b = h->getBlock();
  const PNT_3D start = lineOf(*h, 1)->getLine().start;
  CEntMoveVisitor move(PNT_3D(5, -1, 0));
  h->accept(move);
  EXPECT_EQ(h->getBlock(), b);
  EXPECT_EQ(b->size(), 4);
  EXPECT_EQ(lineOf(*h, 1)->getLine().start, start + PNT_3D(5, -1, 0));
  EXPECT_EQ(h->getPnt(0L), PNT_3D(5, -1, 2));
  EXPECT_NEAR(h->getBdry().min.getX(), 5.0, 1e-9);
  EXPECT_NEAR(b->getBdry().max.getY(), 9.525 - 1, 1e-9);
}

// Each change that a restore undoes in place: the snapshot sees it, and after the restore the
// hatch equals the snapshot again, with the same block, pieces and boxes.
TEST_F(EntHatchTest, SnapshotSeesEachPartAndInPlaceRestoreUndoesIt) {
  CEntHatch* h = hatch("LINE", true);
  CBlock* block = h->getBlock();
  const RECT_3D box = h->getBdry(), blockBox = block->getBdry();
  const std::vector<Piece> pieces = piecesOf(*block);
  const auto m = snapshot(*h);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->size(), static_cast<long>(sizeof(CEntHatchMemento)));
  EXPECT_EQ(m->getNoEntities(), block->size());
  EXPECT_EQ(m->fitMemento(*h), nullptr);
  const std::pair<const char*, std::function<void()>> changes[] = {
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
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    change();
    EXPECT_TRUE(*m != *h && !(*m == *h));
    h->setMemento(*d, m.get());
    EXPECT_TRUE(*m == *h);
    EXPECT_EQ(h->getBlock(), block);
    EXPECT_EQ(piecesOf(*block), pieces);
    EXPECT_EQ(block->getBdry(), blockBox);
    EXPECT_EQ(h->getBdry(), box);
    EXPECT_EQ(blockNames(), "*PAT1 ");
  }
  // Another hatch with the same values differs by its block; a line is no hatch at all.
  const std::unique_ptr<CEntHatch> twin(hatch("LINE", false));
  EXPECT_TRUE(*m != *twin);
  const std::unique_ptr<CEntLine> line(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 0), 0));
  EXPECT_TRUE(*m != *line);
}

// After an entity is added to the block (another count) or redefine (another block), the restore
// swaps the current block for one generated from the recorded values: the table keeps one block
// per hatch, the freed name is taken again, the old entities' handles are free and the new ones
// in use.
TEST_F(EntHatchTest, RestoreRegeneratesTheBlockWhenItIsNotTheRecordedOne) {
  CEntHatch* h = hatch("LINE", true);
  CEntHatch* other = hatch("LINE", true);  // holds "*PAT2" throughout
  const std::vector<Piece> pieces = piecesOf(*h->getBlock());
  const RECT_3D box = h->getBdry();
  const auto m = snapshot(*h);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"entity added",
       [&] {
         CEnt* extra = createEntLine(*d, LINE_3D(0, 0, 0, 1, 0, 0), 0);
         h->getBlock()->add(extra);
         g.reserve(extra);
       }},
      {"redefined", [&] { h->redefine(*d, 1, kRightAngle, *getHatch(String("NET"))); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    change();
    std::vector<long> oldHandles;
    for (int i = 0; i < h->getBlock()->size(); ++i)
      oldHandles.push_back((*h->getBlock())[i]->GetHandle());
    h->setMemento(*d, m.get());
    CBlock* fresh = h->getBlock();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(blockNames(), "*PAT2 *PAT1 ");
    EXPECT_EQ(fresh->getEntities(), 1);
    EXPECT_EQ(other->getBlock()->getEntities(), 1);
    EXPECT_EQ(piecesOf(*fresh), pieces);
    EXPECT_EQ(h->getBdry(), box);
    EXPECT_EQ(&h->getHatchType(), getHatch(String("LINE")));
    EXPECT_EQ(h->getHatchRotate(), 0.0);
    for (long handle : oldHandles) EXPECT_TRUE(handleFree(g, handle));
    for (int i = 0; i < fresh->size(); ++i) EXPECT_FALSE(handleFree(g, (*fresh)[i]->GetHandle()));
    // The snapshot records the block it was taken with, which is gone.
    EXPECT_TRUE(*m != *h);
  }
}

// A hatch made with a ready block and a scale no pattern can be generated at: when its block has
// changed, the restore cannot make a new one and keeps the current block where it was.
TEST_F(EntHatchTest, RestoreThatCannotGenerateKeepsTheCurrentBlock) {
  CBlock* ready = d->getBlockFactory().create("READY", PNT_3D(0, 0, 0), 1);
  ready->add(createEntLine(*d, LINE_3D(0, 0, 0, 10, 10, 0), 0));
  blocks().add(ready);
  CEntHatch* h = d->getEntFactory().createEntHatch(g, nullptr, nullptr, 256, ready,
                                                   *getHatch(String("LINE")), 0, 0, kSquare, 0);
  d->getEntTable().add(h);
  const auto m = snapshot(*h);
  CEnt* extra = createEntLine(*d, LINE_3D(0, 0, 0, 1, 0, 0), 0);
  ready->add(extra);
  g.reserve(extra);
  h->setMemento(*d, m.get());
  EXPECT_EQ(h->getBlock(), ready);
  EXPECT_EQ(blockNames(), "READY ");
  EXPECT_EQ(ready->getEntities(), 1);
  EXPECT_EQ(ready->size(), 2);
  EXPECT_FALSE(handleFree(g, extra->GetHandle()));  // registered again
  EXPECT_EQ(h->getBdry(), ready->getBdry());
}
