// tests/dxf/out/entity_compare.h: compares an entity with the one read back from the DXF text
// written for it: same class, handle and (converted) table names, numbers within what six
// decimals carry, angles within what the reader's degree factor keeps. Attributes turned half a
// turn or slanted come back as the reader can store them and are compared by tag, value and flags.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include <veltcore/database/block.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/dxf/in/name_converter.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/linetypes/linetype.h>

namespace roundtrip {

// "%.6f" rounds to within 5e-7; the sum that rounding is measured on adds a few units of the
// last place of numbers of this size.
constexpr double kLength = 5e-7 + 1e-12;
// Degrees with six decimals times the reader's factor 0.01745329251994, which is not the exact
// inverse of the writer's.
constexpr double kAngle = 1e-8;
const double kTwoPi = 2 * std::acos(-1.0);

// The distance between two angles around the circle, so that 2*pi - tiny is near 0.
inline double angleGap(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), kTwoPi);
  return std::min(d, kTwoPi - d);
}

inline void expectNear(const PNT_3D& a, const PNT_3D& b) {
  EXPECT_NEAR(a.getX(), b.getX(), kLength);
  EXPECT_NEAR(a.getY(), b.getY(), kLength);
  EXPECT_NEAR(a.getZ(), b.getZ(), kLength);
}

inline void expectAngle(double a, double b) {
  EXPECT_LE(angleGap(a, b), kAngle) << a << " vs " << b;
}

// The original's names as the file carries them against the names read back.
struct Names {
  const CNameAcadConverter& converter;
  std::string of(const CLayer* l) const { return converter.GetName(l).c_str(); }
  std::string of(const CLtype* l) const { return converter.GetName(l).c_str(); }
  std::string of(const CStyle* s) const { return converter.GetName(s).c_str(); }
  std::string of(const CBlock* b) const { return converter.GetName(b).c_str(); }
};

inline void expectSameCommon(const CEnt& a, const CEnt& b, const Names& n) {
  EXPECT_EQ(a.GetHandle(), b.GetHandle());
  EXPECT_EQ(a.getType(), b.getType());
  EXPECT_EQ(n.of(a.getLayer()), b.getLayer()->getFullName().c_str());
  EXPECT_EQ(n.of(a.getLtype()), b.getLtype()->getFullName().c_str());
  EXPECT_EQ(a.getColor(), b.getColor());
}

inline void expectSameText(const TEXT_3D& a, const TEXT_3D& b, const Names& n) {
  const CTextContext& ca = a.getContext();
  const CTextContext& cb = b.getContext();
  EXPECT_STREQ(ca.getString().c_str(), cb.getString().c_str());
  EXPECT_NEAR(ca.getHeight(), cb.getHeight(), kLength);
  EXPECT_NEAR(ca.getWidthScale(), cb.getWidthScale(), kLength);
  expectAngle(ca.getOblique(), cb.getOblique());
  expectAngle(ca.getRotate(), cb.getRotate());
  EXPECT_EQ(a.getAlign(), b.getAlign());
  EXPECT_EQ(n.of(a.getStyle()), b.getStyle()->getName().c_str());
  expectNear(a.getPnt(), b.getPnt());
}

// Whether the attribute's placement survives: not slanted, not read leftwards.
inline bool placementKept(const CEntAttrib& a) {
  const double r = a.getText().getContext().getRotate();
  return a.getText().getContext().getOblique() == 0.0 && !(r > kTwoPi / 4 && r < 3 * kTwoPi / 4);
}

inline void expectSameInsert(const CEntInsert& a, const CEntInsert& b, const Names& n) {
  EXPECT_EQ(n.of(a.getBlock()), b.getBlock()->getName().c_str());
  expectNear(a.getPnt(), b.getPnt());
  double as[3], bs[3];
  a.getScale(as[0], as[1], as[2]);
  b.getScale(bs[0], bs[1], bs[2]);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(as[i], bs[i], kLength);
  expectAngle(a.getRotate(), b.getRotate());
  long ar, ac, br, bc;
  double acs, ars, bcs, brs;
  a.getArray(ar, ac, acs, ars);
  b.getArray(br, bc, bcs, brs);
  EXPECT_EQ(ar, br);
  EXPECT_EQ(ac, bc);
  EXPECT_NEAR(acs, bcs, kLength);
  EXPECT_NEAR(ars, brs, kLength);
  ASSERT_EQ(a.size(), b.size());
  for (int i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "attribute " << i);
    expectSameCommon(a[i], b[i], n);
    EXPECT_STREQ(a[i].getTag().c_str(), b[i].getTag().c_str());
    EXPECT_STREQ(a[i].getValue().c_str(), b[i].getValue().c_str());
    EXPECT_EQ(a[i].getFlags(), b[i].getFlags());
    if (placementKept(a[i])) expectSameText(a[i].getText(), b[i].getText(), n);
  }
}

inline void expectSameHatch(const CEntHatch& a, const CEntHatch& b) {
  EXPECT_EQ(&a.getHatchType(), &b.getHatchType());
  // Both travel in radians or plain units with six decimals.
  EXPECT_NEAR(a.getHatchScale(), b.getHatchScale(), kLength);
  EXPECT_NEAR(a.getHatchRotate(), b.getHatchRotate(), kLength);
  ASSERT_EQ(a.getNoPnts(), b.getNoPnts());
  for (long i = 0; i < a.getNoPnts(); ++i) expectNear(a.getPnt(i), b.getPnt(i));
}

// Fitted vertices of a curve fit are made afresh by the reader, under handles of its own.
inline void expectSamePolyline(const CEntPolyline& a, const CEntPolyline& b) {
  EXPECT_EQ(a.getFlags() & (1 | 14 | 128), b.getFlags());
  if (a.getCurve() == 2) {
    EXPECT_EQ(a.getDegree(), b.getDegree());
  }
  ASSERT_EQ(a.getNoTotalVertexes(), b.getNoTotalVertexes());
  EXPECT_EQ(a.getFirstVisibleVertex(), b.getFirstVisibleVertex());
  for (int i = 0; i < a.getNoTotalVertexes(); ++i) {
    SCOPED_TRACE(testing::Message() << "vertex " << i);
    expectNear(a[i].getPnt(), b[i].getPnt());
    EXPECT_NEAR(a[i].GetWidthStart(), b[i].GetWidthStart(), kLength);
    EXPECT_NEAR(a[i].GetWidthEnd(), b[i].GetWidthEnd(), kLength);
    if (a.getCurve() == 2 || !a.isCurve() || i < a.getFirstVisibleVertex()) {
      EXPECT_EQ(a[i].GetHandle(), b[i].GetHandle());
    }
  }
}

inline void expectSame(const CEnt& a, const CEnt& b, const Names& n);

inline void expectSameBlock(const CBlock& a, const CBlock& b, const Names& n) {
  EXPECT_EQ(a.getFlags() & 255, b.getFlags());
  expectNear(b.getPnt(), PNT_3D(0, 0, 0));
  ASSERT_EQ(a.size(), b.size());
  for (int i = 0; i < a.size(); ++i) expectSame(*a[i], *b[i], n);
}

inline void expectSame(const CEnt& a, const CEnt& b, const Names& n) {
  SCOPED_TRACE(testing::Message() << "entity " << std::hex << a.GetHandle());
  expectSameCommon(a, b, n);
  if (a.getType() != b.getType()) return;
  switch (a.getType()) {
    case 1:
      expectNear(static_cast<const CEntPnt&>(a).getPnt(), static_cast<const CEntPnt&>(b).getPnt());
      break;
    case 2:
      expectNear(static_cast<const CEntLine&>(a).getLine().start,
                 static_cast<const CEntLine&>(b).getLine().start);
      expectNear(static_cast<const CEntLine&>(a).getLine().end,
                 static_cast<const CEntLine&>(b).getLine().end);
      break;
    case 3: {
      const CIRCLE_3D& ca = static_cast<const CEntCircle&>(a).getCircle();
      const CIRCLE_3D& cb = static_cast<const CEntCircle&>(b).getCircle();
      expectNear(ca.centre, cb.centre);
      EXPECT_NEAR(ca.radius, cb.radius, kLength);
      break;
    }
    case 4: {
      const ARC_3D& aa = static_cast<const CEntArc&>(a).getArc();
      const ARC_3D& ab = static_cast<const CEntArc&>(b).getArc();
      expectNear(aa.centre, ab.centre);
      EXPECT_NEAR(aa.radius, ab.radius, kLength);
      expectAngle(aa.start, ab.start);
      expectAngle(aa.end, ab.end);
      break;
    }
    case 5:
      expectSamePolyline(static_cast<const CEntPolyline&>(a), static_cast<const CEntPolyline&>(b));
      break;
    case 6:
      expectSameText(static_cast<const CEntText&>(a).getText(),
                     static_cast<const CEntText&>(b).getText(), n);
      break;
    case 7: {
      const auto& da = static_cast<const CEntAttdef&>(a);
      const auto& db = static_cast<const CEntAttdef&>(b);
      expectSameText(da.getText(), db.getText(), n);
      EXPECT_STREQ(da.getValue().c_str(), db.getValue().c_str());
      EXPECT_STREQ(da.getPrompt().c_str(), db.getPrompt().c_str());
      EXPECT_EQ(da.getFlags(), db.getFlags());
      break;
    }
    case 8:
      expectSameInsert(static_cast<const CEntInsert&>(a), static_cast<const CEntInsert&>(b), n);
      break;
    case 10:
      expectSameInsert(static_cast<const CEntInsert&>(a), static_cast<const CEntInsert&>(b), n);
      expectSameHatch(static_cast<const CEntHatch&>(a), static_cast<const CEntHatch&>(b));
      break;
    case 11:
      for (long i = 0; i < 4; ++i)
        expectNear(static_cast<const CEnt3DFace&>(a).getVertex(i),
                   static_cast<const CEnt3DFace&>(b).getVertex(i));
      EXPECT_EQ(static_cast<const CEnt3DFace&>(a).getFlags(),
                static_cast<const CEnt3DFace&>(b).getFlags());
      break;
    default:
      ADD_FAILURE() << "no comparison for type " << a.getType();
  }
}

}  // namespace roundtrip
