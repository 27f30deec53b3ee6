// tests/entities/move_visitor_test.cpp: CEntMoveVisitor on the point, line, circle, arc and 3D
// face: the geometry ends where a copy built at the target says, and the box moves with it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <veltcore/database/data.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/transform_visitors.h>

#include "database/test_drawing.h"

TEST(MoveVisitorTest, GeometryAndBoxMoveByTheOffset) {
  const DataPtr d = newDrawing();
  const PNT_3D by(1, -2, 0.5);
  struct Case {
    std::unique_ptr<CEnt> moved, target;
  };
  Case cases[] = {
      {std::unique_ptr<CEnt>(createEntPnt(*d, PNT_3D(1, 2, 3), 0)),
       std::unique_ptr<CEnt>(createEntPnt(*d, PNT_3D(2, 0, 3.5), 0))},
      {std::unique_ptr<CEnt>(createEntLine(*d, LINE_3D(0, 0, 0, 4, 4, 4), 0)),
       std::unique_ptr<CEnt>(createEntLine(*d, LINE_3D(1, -2, 0.5, 5, 2, 4.5), 0))},
      {std::unique_ptr<CEnt>(createEntCircle(*d, CIRCLE_3D(3, 3, 3, 2), 0)),
       std::unique_ptr<CEnt>(createEntCircle(*d, CIRCLE_3D(4, 1, 3.5, 2), 0))},
      {std::unique_ptr<CEnt>(createEntArc(*d, ARC_3D(3, 3, 3, 2, 1, 4), 0)),
       std::unique_ptr<CEnt>(createEntArc(*d, ARC_3D(4, 1, 3.5, 2, 1, 4), 0))},
      // A triangle stays a triangle; the flags word moves along unchanged.
      {std::unique_ptr<CEnt>(createEnt3DFace(*d, PNT_3D(0, 0, 0), PNT_3D(2, 0, 1), PNT_3D(2, 2, 2),
                                             PNT_3D(2, 2, 2), 0x103, 0)),
       std::unique_ptr<CEnt>(createEnt3DFace(*d, PNT_3D(1, -2, 0.5), PNT_3D(3, -2, 1.5),
                                             PNT_3D(3, 0, 2.5), PNT_3D(3, 0, 2.5), 0x103, 0))},
  };
  CEntMoveVisitor move(by);
  for (Case& c : cases) {
    const std::string what = "type " + std::to_string(c.moved->getType());
    c.moved->accept(move);
    const std::unique_ptr<IEntDerivedMemento> target(c.target->createDerivedMemento());
    EXPECT_TRUE(*c.moved == *target) << what;
    EXPECT_EQ(c.moved->getBdry(), c.target->getBdry()) << what;
  }
}
