// tests/entities/create_calls_test.cpp: the drawing-level createEnt* calls: current or given
// layer, linetype and colour; fresh and asked-for handles; the handle's way from booked through
// reserved to released; null when memory cannot be had, for a create and for a clone. An
// allocation before a refused handle would leak, which the sanitizer build reports.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <string>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "entities/test_entity.h"
#include "support/handle_probe.h"

namespace {

const PNT_3D o(0, 0, 0), x(1, 0, 0), y(0, 1, 0);

// One create call of each class, in both forms: given layer, linetype and colour, or none.
struct Creator {
  const char* name;
  std::function<CEnt*(const CData&, CLayer*, CLtype*, short, long)> given;
  std::function<CEnt*(const CData&, long)> current;
};

const Creator kCreators[] = {
    {"point",
     [](const CData& d, CLayer* l, CLtype* t, short c, long h) {
       return createEntPnt(d, l, t, c, x, h);
     },
     [](const CData& d, long h) { return createEntPnt(d, x, h); }},
    {"line",
     [](const CData& d, CLayer* l, CLtype* t, short c, long h) {
       return createEntLine(d, l, t, c, LINE_3D(o, x), h);
     },
     [](const CData& d, long h) { return createEntLine(d, LINE_3D(o, x), h); }},
    {"circle",
     [](const CData& d, CLayer* l, CLtype* t, short c, long h) {
       return createEntCircle(d, l, t, c, CIRCLE_3D(0, 0, 0, 1), h);
     },
     [](const CData& d, long h) { return createEntCircle(d, CIRCLE_3D(0, 0, 0, 1), h); }},
    {"arc",
     [](const CData& d, CLayer* l, CLtype* t, short c, long h) {
       return createEntArc(d, l, t, c, ARC_3D(0, 0, 0, 1, 0, 1), h);
     },
     [](const CData& d, long h) { return createEntArc(d, ARC_3D(0, 0, 0, 1, 0, 1), h); }},
    {"3D face",
     [](const CData& d, CLayer* l, CLtype* t, short c, long h) {
       return createEnt3DFace(d, l, t, c, o, x, y, y, 1, h);
     },
     [](const CData& d, long h) { return createEnt3DFace(d, o, x, y, y, 1, h); }},
};

class CreateCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    walls = d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 3, 0);
    addLayer(*d, walls);
    setCurLayer(*d, walls);
    setCurLtype(*d, &d->getLtypeContinuous());
    setCurColor(*d, 3);
  }

  DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
  CLayer* walls = nullptr;
};

}  // namespace

TEST_F(CreateCallsTest, CurrentOrGivenPropertiesFreshOrAskedHandles) {
  for (const Creator& c : kCreators) {
    for (const bool current : {true, false}) {
      auto create = [&](long h) {
        return current ? c.current(*d, h)
                       : c.given(*d, &d->getLayer0(), &d->getLtypeByBlock(), 256, h);
      };
      const std::string what = std::string(c.name) + (current ? ", current" : ", given");
      const long next = g.nextseed();
      const std::unique_ptr<CEnt> fresh(create(0));
      EXPECT_EQ(fresh->getLayer(), current ? walls : &d->getLayer0()) << what;
      EXPECT_EQ(fresh->getLtype(),
                current ? static_cast<CLtype*>(&d->getLtypeContinuous()) : &d->getLtypeByBlock())
          << what;
      EXPECT_EQ(fresh->getColor(), current ? 3 : 256) << what;
      // Creating counts nothing: only entering a table does.
      EXPECT_EQ(walls->getEntities(), 0) << what;
      EXPECT_EQ(fresh->GetHandle(), next) << what;
      EXPECT_FALSE(handleFree(g, next)) << what;
      const std::unique_ptr<CEnt> asked(create(57));
      EXPECT_EQ(asked->GetHandle(), 57) << what;
      EXPECT_THROW(create(57), IHandleGestor::HandleAlreadyUsedException) << what;
      // Dropped unused: both handles are free again.
      d->getEntFactory().unbookHandle(g, fresh.get());
      d->getEntFactory().unbookHandle(g, asked.get());
      EXPECT_TRUE(handleFree(g, next) && handleFree(g, 57)) << what;
    }
  }
}

TEST_F(CreateCallsTest, HandleIsBookedThenReservedInTheTableThenReleased) {
  CEntTable& table = d->getEntTable();
  for (const Creator& c : kCreators) {
    std::unique_ptr<CEnt> e(c.current(*d, 0));
    const long h = e->GetHandle();
    table.add(e.get());
    CEnt* listed = e.release();
    EXPECT_EQ(table.get(h), listed) << c.name;
    EXPECT_EQ(walls->getEntities(), 1) << c.name;
    // Reserved, no longer booked: unbook cannot free it.
    g.unbook(h);
    EXPECT_FALSE(handleFree(g, h)) << c.name;
    table.remove(listed);
    e.reset(listed);
    EXPECT_TRUE(handleFree(g, h)) << c.name;
    EXPECT_EQ(walls->getEntities(), 0) << c.name;
  }
}

TEST(CreateCallsNoHandles, DrawingWithoutHandlesGivesHandleZero) {
  const DataPtr d = newDrawing(false);
  for (const Creator& c : kCreators)
    for (const long asked : {0L, 57L}) {
      const std::unique_ptr<CEnt> e(c.current(*d, asked));
      EXPECT_EQ(e->GetHandle(), 0) << c.name << ' ' << asked;
    }
}

namespace {

// A class that can never be had, and a factory that makes it as the library's creates do.
struct Hopeless {
  Hopeless() { throw std::bad_alloc(); }
};

class ExhaustedFactory : public CEntFactory {
 public:
  Hopeless* create(IHandleGestor& g, long handle) {
    bookHandle(g, handle);
    return make<Hopeless>();
  }
};

// An entity whose copies can never be had.
class Unclonable : public TestPnt {
 public:
  using TestPnt::TestPnt;

 protected:
  CEnt* clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&, long) const override {
    throw std::bad_alloc();
  }
};

}  // namespace

// The handle booked before the allocation stays booked.
TEST_F(CreateCallsTest, NullWhenMemoryCannotBeHadWithTheHandleLeftBooked) {
  ExhaustedFactory f;
  EXPECT_EQ(f.create(g, 57), nullptr);
  EXPECT_FALSE(handleFree(g, 57));
  const Unclonable hopeless(0, walls, nullptr, 7, PNT_3D(0, 0, 0));
  const long next = g.nextseed();
  EXPECT_EQ(cloneEnt(*d, hopeless), nullptr);
  EXPECT_FALSE(handleFree(g, next));
}
