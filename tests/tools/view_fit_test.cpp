// tests/tools/view_fit_test.cpp: the extent velt fits its view to. With every layer drawn it is
// taken from the entity table's own extent; a layer turned off or frozen, or a choice of layers,
// must send it back to the entity walk, which leaves out what is not drawn.
#include <gtest/gtest.h>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>

#include <memory>
#include <string>
#include <vector>

#include "render/layer_rules.h"
#include "render/view_fit.h"
#include "support/expect_corners.h"

namespace velt {
namespace {

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};

// Layer "NEAR" holds a line from (0, 0) to (10, 5); layer "FAR" one from (100, 100) to
// (120, 130).
class TwoLayerDrawing {
 public:
  TwoLayerDrawing() : data_(CDataFactory().createData()) {
    near_ = layer("NEAR");
    far_ = layer("FAR");
    line(near_, 0, 0, 10, 5);
    line(far_, 100, 100, 120, 130);
  }
  const CData& data() const { return *data_; }
  CLayer* near() const { return near_; }
  CLayer* far() const { return far_; }

 private:
  std::unique_ptr<CData, DataDeleter> data_;
  CLayer* near_;
  CLayer* far_;

  CLayer* layer(const char* name) {
    CLayer* l = data_->getLayerFactory().create(name, getLtype(*data_, "CONTINUOUS"), 7, 0);
    addLayer(*data_, l);
    return l;
  }
  void line(CLayer* on, double x1, double y1, double x2, double y2) {
    data_->getEntTable().add(
        createEntLine(*data_, on, getLtypeByLayer(*data_), 256, LINE_3D(x1, y1, 0, x2, y2, 0), 0));
  }
};

TEST(DrawnExtent, CoversWhatIsDrawnOnly) {
  {
    TwoLayerDrawing d;
    const LayerRules every(d.data(), {});
    EXPECT_TRUE(every.showsEveryLayer());
    expectCorners(drawnExtent(d.data(), every), 0, 0, 120, 130);
    const LayerRules chosen(d.data(), {"near"});
    EXPECT_FALSE(chosen.showsEveryLayer());
    expectCorners(drawnExtent(d.data(), chosen), 0, 0, 10, 5);
  }
  {
    TwoLayerDrawing d;
    d.far()->setOff(true);  // off after the line was added: the table still counts it
    const LayerRules rules(d.data(), {});
    EXPECT_FALSE(rules.showsEveryLayer());
    expectCorners(drawnExtent(d.data(), rules), 0, 0, 10, 5);
  }
  {
    TwoLayerDrawing d;
    d.near()->setFrozen(true);
    const LayerRules rules(d.data(), {});
    EXPECT_FALSE(rules.showsEveryLayer());
    expectCorners(drawnExtent(d.data(), rules), 100, 100, 120, 130);
  }
}

}  // namespace
}  // namespace velt
