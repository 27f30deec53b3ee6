// tests/view/wnd_vpt_test.cpp: the viewport window on cases worked by hand: fitting a window
// to a 101 x 51 view, degenerate windows, resize at the right and top edges, ratio changes,
// zoom about the centre on odd and even sizes, pixel rounding, and snapshots after a pan.
#include <veltcore/view/wnd_vpt.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/expect_corners.h"

namespace {

void expectScales(const CWndVpt& v, double sx, double sy) {
  double a, b;
  v.getScaleFactor(a, b);
  EXPECT_DOUBLE_EQ(a, sx);
  EXPECT_DOUBLE_EQ(b, sy);
}

// 101 x 51 pixels showing (0, 0)-(100, 100): the X scale is brought down to the Y scale and
// the window widens to the right, to (0, 0)-(200, 100) at half a pixel per unit.
CWndVpt fitted101x51() {
  CWndVpt v;
  EXPECT_TRUE(v.resize(101, 51));
  v.set(0, 0, 100, 100);
  return v;
}

TEST(WndVpt, WithoutViewSizeScalesStayZeroAndDegenerateWindowsWiden) {
  CWndVpt v;
  long w, h;
  v.get(w, h);
  EXPECT_EQ(w, -1);
  EXPECT_EQ(h, -1);
  v.set(5, 5, 5, 5);
  expectCorners(v, 4.5, 4.5, 5.5, 5.5);
  expectScales(v, 0, 0);
  v.set(RECT_2D(3, 8, 1, 8));
  expectCorners(v, 1, 7.5, 3, 8.5);
  // Nothing to rebuild from without scales: zoom leaves the window alone.
  v.zoom(2);
  expectCorners(v, 1, 7.5, 3, 8.5);
}

TEST(WndVpt, SetMatchesTheRatioByWideningRightOrRaisingTheTop) {
  CWndVpt wide = fitted101x51();
  expectScales(wide, 0.5, 0.5);
  expectCorners(wide, 0, 0, 200, 100);
  EXPECT_DOUBLE_EQ(wide.getViewY(100), 0);
  EXPECT_DOUBLE_EQ(wide.getViewY(0), 50);
  EXPECT_DOUBLE_EQ(wide.getViewX(200), 100);

  CWndVpt tall;  // 51 x 101 pixels: the window grows upward instead
  tall.resize(51, 101);
  tall.set(0, 0, 100, 100);
  expectScales(tall, 0.5, 0.5);
  expectCorners(tall, 0, 0, 100, 200);

  CWndVpt aniso(2.0);  // scale x twice scale y
  aniso.resize(101, 101);
  aniso.set(0, 0, 100, 100);
  expectScales(aniso, 1, 0.5);
  expectCorners(aniso, 0, 0, 100, 200);
  EXPECT_FALSE(aniso.isIsotropic());
}

TEST(WndVpt, ConversionsRoundXHalvesUpAndYHalvesDown) {
  const CWndVpt v = fitted101x51();
  EXPECT_EQ(v.getViewXInt(1), 1);   // 0.5 up
  EXPECT_EQ(v.getViewXInt(-1), 0);  // -0.5 up
  EXPECT_EQ(v.getViewYInt(99), 0);  // 0.5 down
  EXPECT_EQ(v.getViewYInt(101), -1);
  EXPECT_DOUBLE_EQ(v.getViewXDistance(10), 5);
  EXPECT_DOUBLE_EQ(v.getWorldYDistance(5), 10);
  for (double x : {-7.25, 0.0, 33.3, 200.0}) {
    EXPECT_DOUBLE_EQ(v.getWorldX(v.getViewX(x)), x);
    EXPECT_DOUBLE_EQ(v.getWorldY(v.getViewY(x)), x);
  }
}

TEST(WndVpt, ResizeKeepsLowerLeftAndScales) {
  CWndVpt v = fitted101x51();
  EXPECT_FALSE(v.resize(101, 51));
  expectCorners(v, 0, 0, 200, 100);
  EXPECT_TRUE(v.resize(201, 31));  // wider and lower: the right edge moves out, the top down
  expectScales(v, 0.5, 0.5);
  expectCorners(v, 0, 0, 400, 60);
  EXPECT_TRUE(v.resize(51, 71));
  expectScales(v, 0.5, 0.5);
  expectCorners(v, 0, 0, 100, 140);
}

TEST(WndVpt, ResizeFromOnePixelViewSetsTheWindowAgain) {
  CWndVpt v;
  v.resize(1, 1);
  v.set(0, 0, 10, 10);
  expectScales(v, 0, 0);
  EXPECT_TRUE(v.resize(11, 11));
  expectScales(v, 1, 1);
  expectCorners(v, 0, 0, 10, 10);
}

TEST(WndVpt, SetScaleFactorMovesOneEdgeAndKeepsTheCentre) {
  CWndVpt v = fitted101x51();
  const std::unique_ptr<CWndVptMemento> before(v.createMemento());
  v.setScaleFactor(0.5);  // lower ratio: scale x shrinks, the right edge moves out
  expectScales(v, 0.25, 0.5);
  expectCorners(v, 0, 0, 400, 100);
  v.setScaleFactor(2);  // higher ratio: scale y shrinks, the top moves up
  expectScales(v, 0.25, 0.125);
  expectCorners(v, 0, 0, 400, 400);
  EXPECT_DOUBLE_EQ(v.getRatioFactor(), 2);
  // The centre is still (100, 50): restoring the old scales rebuilds the old window about it.
  v.setMemento(*before);
  expectCorners(v, 0, 0, 200, 100);
}

TEST(WndVpt, ZoomKeepsTheCentreOnOddAndEvenSizes) {
  CWndVpt odd = fitted101x51();  // centre (100, 50)
  odd.zoom(2);
  expectScales(odd, 1, 1);
  expectCorners(odd, 50, 25, 150, 75);

  CWndVpt even;  // 100 x 50 pixels on (0, 0)-(99, 49): centre (49.5, 24.5) between pixels
  even.resize(100, 50);
  even.set(0, 0, 99, 49);
  even.zoom(2);
  expectScales(even, 2, 2);
  expectCorners(even, 24.75, 12.25, 74.25, 36.75);
}

TEST(WndVpt, SnapshotAfterPanRestoresTheView) {
  CWndVpt v = fitted101x51();
  const std::unique_ptr<CWndVptMemento> m(v.createMemento());
  EXPECT_TRUE(*m == v);
  v.pan(10, -5);
  expectCorners(v, 10, -5, 210, 95);
  EXPECT_TRUE(*m != v);
  CWndVptMemento copy = *m;
  v.zoom(3);
  v.setMemento(copy);
  EXPECT_TRUE(*m == v);
  expectCorners(v, 0, 0, 200, 100);
}

}  // namespace
