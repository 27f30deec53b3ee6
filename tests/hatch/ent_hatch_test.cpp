// tests/hatch/ent_hatch_test.cpp: the hatch entity: creation with its block in the table and the
// order of handles, refusals that leave nothing behind, redefine (no-op, replacement, refused),
// cloning into an independent block, moving, unbooking and the table counts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

const std::vector<PNT_3D> kSquare{{0, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}};

std::string nameOf(const CBlock* b) {
  return b == nullptr ? std::string("(none)") : std::string(b->getName().c_str());
}

class EntHatchTest : public ::testing::Test {
 protected:
  CEntHatch* hatch(const char* pattern, double scale = 1, double angle = 0) {
    return createEntHatch(*d, *getHatch(String(pattern)), scale, angle, kSquare, 0);
  }
  long blockCount() const { return d->getBlockTable().size(); }

  DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
};

}  // namespace

TEST_F(EntHatchTest, CreationBooksTheHatchFirstAndPutsItsBlockInTheTable) {
  const long lineUsesBefore = d->getLayer0().getEntities();
  std::unique_ptr<CEntHatch> h(hatch("LINE"));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->getType(), 10);
  EXPECT_EQ(h->getPnt(), PNT_3D(0, 0, 0));
  double sx = 0, sy = 0, sz = 0;
  h->getScale(sx, sy, sz);
  EXPECT_EQ(sx * sy * sz, 1.0);
  EXPECT_EQ(h->getRotate(), 0.0);
  EXPECT_EQ(h->getNoPnts(), 5);  // compacted and closed
  EXPECT_EQ(h->getPnt(4L), kSquare[0]);

  CBlock* b = h->getBlock();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(nameOf(b), "*PAT1");
  EXPECT_EQ(d->getBlockTable().get(String("*PAT1")), b);
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
}

TEST_F(EntHatchTest, RefusalsLeaveNoBlockAndNoBookedHandle) {
  struct Case {
    const char* what;
    std::vector<PNT_3D> boundary;
    double scale;
  };
  const Case cases[] = {
      {"two points", {{0, 0, 0}, {1, 0, 0}}, 1},
      {"three points compacting to two", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, 1},
      {"zero scale", kSquare, 0},
      {"negative scale", kSquare, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const long next = g.bookNext();
    g.unbook(next);
    EXPECT_EQ(createEntHatch(*d, *getHatch(1L), c.scale, 0, c.boundary, 0), nullptr);
    EXPECT_EQ(blockCount(), 0);
    EXPECT_TRUE(handleFree(g, next));
  }
}

TEST_F(EntHatchTest, RedefineReplacesTheBlockOnlyWhenSomethingChanges) {
  std::unique_ptr<CEntHatch> h(hatch("LINE"));
  d->getEntTable().add(h.get());
  CBlock* first = h->getBlock();
  h->redefine(*d, 1, 0, *getHatch(String("LINE")));
  EXPECT_EQ(h->getBlock(), first);

  // The old block leaves before the name is chosen, so the only hatch gets "*PAT1" again.
  h->redefine(*d, 1, 3.14159265358979323846 / 2, *getHatch(String("LINE")));
  CBlock* second = h->getBlock();
  EXPECT_EQ(nameOf(second), "*PAT1");
  EXPECT_EQ(blockCount(), 1);
  EXPECT_EQ(d->getBlockTable().get(String("*PAT1")), second);
  EXPECT_EQ(second->getEntities(), 1);
  EXPECT_EQ(h->getHatchRotate(), 3.14159265358979323846 / 2);
  EXPECT_NEAR(h->getBdry().max.getY(), 10.0, 1e-9);  // vertical lines now reach the top edge

  // A value that cannot make a block leaves everything as it was.
  h->redefine(*d, 0, 0, *getHatch(String("NET")));
  EXPECT_EQ(h->getBlock(), second);
  EXPECT_EQ(h->getHatchScale(), 1.0);
  EXPECT_EQ(&h->getHatchType(), getHatch(String("LINE")));
  EXPECT_EQ(second->getEntities(), 1);
  EXPECT_EQ(blockCount(), 1);

  // The setters store without regenerating; redefine with the stored values then does nothing.
  h->setHatchScale(2);
  EXPECT_EQ(h->getBlock(), second);
  h->redefine(*d, 2, h->getHatchRotate(), h->getHatchType());
  EXPECT_EQ(h->getBlock(), second);
  d->getEntTable().remove(h.get());
}

TEST_F(EntHatchTest, CloneOwnsACopyOfTheBlockUnderTheNextName) {
  std::unique_ptr<CEntHatch> h(hatch("DASH", 10));
  const std::unique_ptr<CEnt> c(cloneEnt(*d, *h));
  auto* copy = dynamic_cast<CEntHatch*>(c.get());
  ASSERT_NE(copy, nullptr);
  CBlock* a = h->getBlock();
  CBlock* b = copy->getBlock();
  ASSERT_NE(b, a);
  EXPECT_EQ(nameOf(b), "*PAT2");
  EXPECT_EQ(d->getBlockTable().get(String("*PAT2")), b);
  ASSERT_EQ(b->size(), a->size());
  for (int i = 0; i < a->size(); ++i) {
    const auto* la = dynamic_cast<const CEntLine*>((*a)[i]);
    const auto* lb = dynamic_cast<const CEntLine*>((*b)[i]);
    ASSERT_TRUE(la != nullptr && lb != nullptr) << i;
    EXPECT_EQ(la->getLine().start, lb->getLine().start) << i;
    EXPECT_EQ(la->getLine().end, lb->getLine().end) << i;
    EXPECT_GT(lb->GetHandle(), copy->GetHandle()) << i;
  }
  EXPECT_EQ(copy->getHatchScale(), 10.0);
  EXPECT_EQ(copy->getNoPnts(), h->getNoPnts());
  EXPECT_EQ(copy->getBdry(), h->getBdry());

  // Destroying one hatch's block leaves the other's entities alone.
  const int entities = a->size();
  d->getBlockTable().remove(a);
  delete a;
  h->setBlock(nullptr);
  EXPECT_EQ(b->size(), entities);
  EXPECT_EQ(nameOf(d->getBlockTable().get(String("*PAT2"))), "*PAT2");
}

TEST_F(EntHatchTest, MoveCarriesBlockBoundaryAndBoxWithoutRegenerating) {
  std::unique_ptr<CEntHatch> h(hatch("LINE"));
  CBlock* b = h->getBlock();
  const auto* line = dynamic_cast<const CEntLine*>((*b)[1]);
  ASSERT_NE(line, nullptr);
  const PNT_3D start = line->getLine().start;
  CEntMoveVisitor move(PNT_3D(5, -1, 0));
  h->accept(move);
  EXPECT_EQ(h->getBlock(), b);
  EXPECT_EQ(b->size(), 4);
  EXPECT_EQ(line->getLine().start, PNT_3D(start.getX() + 5, start.getY() - 1, start.getZ()));
  EXPECT_EQ(h->getPnt(0L), PNT_3D(5, -1, 2));
  EXPECT_NEAR(h->getBdry().min.getX(), 5.0, 1e-9);
  EXPECT_NEAR(b->getBdry().max.getY(), 9.525 - 1, 1e-9);
}

TEST_F(EntHatchTest, UnbookGivesBackTheHatchsHandle) {
  std::unique_ptr<CEntHatch> h(hatch("ANSI31"));
  const long handle = h->GetHandle();
  EXPECT_FALSE(handleFree(g, handle));
  d->getEntFactory().unbookHandle(g, h.get());
  EXPECT_TRUE(handleFree(g, handle));
}
