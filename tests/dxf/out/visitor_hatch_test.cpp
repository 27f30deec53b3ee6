// tests/dxf/out/visitor_hatch_test.cpp: a hatch is written as one INSERT record of its generated
// block carrying the hatch data pair by pair: integers where the layout wants them even under
// real codes, the boundary as segments, and the pattern lines of the catalogue in millimetres,
// not scaled by the hatch (its scale stands beside them).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include "dxf/out/visitor_support.h"

namespace {

std::string real(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", v);
  return text;
}

// The hatch data as the older reader takes it, for a hatch with handle "A0" and the given
// pattern, scale, angle and (compacted) boundary.
Pairs hatchData(const HATCH_TYPE& t, double scale, double angle, const std::vector<PNT_3D>& b) {
  Pairs p = pairs(std::string("1001 ACAD;1000 HATCH;1002 {;1070 19;1000 ") + t.name + ";1040 " +
                  real(scale) + ";1040 " + real(angle) +
                  ";1000 ASC_BOUNDS;1070 1;1070 2;1070 0;1000 ASC_SEEDPOINT;"
                  "1011 0.000000;1021 0.000000;1031 0.000000;1021 0.000000;1031 0.000000;"
                  "1000 R14_HATCH_DATA;1000 A0;"
                  "1011 1;1021 0;1031 0;1021 0;1031 0;1011 0;1021 0;1031 0;1021 1;1031 0;"
                  "1011 0;1021 0;1031 0;1021 0;1031 1;1040 0;1010 0;1020 0;1030 1;1000 " +
                  t.name + ";1070 0;1070 0;1071 1;1071 1;1071 " + std::to_string(b.size() - 1));
  for (std::size_t i = 0; i + 1 < b.size(); ++i)
    for (const Pair& q : Pairs{{1070, "1"},
                               {1040, real(b[i].getX())},
                               {1040, real(b[i].getY())},
                               {1040, real(b[i + 1].getX())},
                               {1040, real(b[i + 1].getY())}})
      p.push_back(q);
  for (const Pair& q : pairs("1071 0;1070 0;1070 1;1040 " + real(angle) + ";1040 " + real(scale) +
                             ";1070 0;1070 " + std::to_string(t.noLines)))
    p.push_back(q);
  for (long i = 0; i < t.noLines; ++i) {
    const HATCH_LINE& l = t.lines[i];
    for (double v : {l.angle, l.x * 25.4, l.y * 25.4, l.deltaX * 25.4, l.deltaY * 25.4})
      p.push_back({1040, real(v)});
    p.push_back({1070, std::to_string(l.noDashes)});
    for (long k = 0; k < l.noDashes; ++k) p.push_back({1040, real(l.dashes[k] * 25.4)});
  }
  for (const Pair& q : pairs("1071 1;1040 0;1040 0;1040 0;1002 }")) p.push_back(q);
  return p;
}

TEST(DxfHatchRecords, OneInsertRecordWithTheHatchData) {
  RecordDrawing w;
  const HATCH_TYPE* brick = getHatch(String("BRICK"));
  ASSERT_NE(brick, nullptr);
  ASSERT_GT(brick->noLines, 1);
  // Corners off the pattern's grid, so that no hatch line runs through one.
  const std::vector<PNT_3D> square = {PNT_3D(0.3, 0.7, 0), PNT_3D(100.3, 0.7, 0),
                                      PNT_3D(100.3, 50.7, 0), PNT_3D(0.3, 50.7, 0)};
  CEntHatch* h = createEntHatch(*w.d, w.ab, w.byLayer(), 256, *brick, 2, 0.5, square, 0xA0);
  ASSERT_NE(h, nullptr);
  w.add(h);
  std::vector<PNT_3D> boundary;
  for (long i = 0; i < h->getNoPnts(); ++i) boundary.push_back(h->getPnt(i));
  ASSERT_GE(boundary.size(), 4u);

  RecordOutput out(w);
  h->accept(out.visitor);
  Pairs expected = pairs("0 INSERT;5 A0;8 A_B;2 " + std::string(h->getBlock()->getName().c_str()) +
                         ";10 0.000000;20 0.000000;30 0.000000");
  for (const Pair& q : hatchData(*brick, 2, 0.5, boundary)) expected.push_back(q);
  EXPECT_EQ(out.written(), expected);
  EXPECT_EQ(recordsOf(out.written()).size(), 1u);
}

}  // namespace
