// tests/geometry/quadratic_test.cpp: risolvi and risolvi_2, their degenerate results and
// the accuracy of both roots when they differ by many orders of magnitude.
#include <veltcore/geometry/constructions.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Solver = int (*)(double, double, double, double&, double&);
constexpr double kUntouched = 99;

TEST(Quadratic, ResultCodesAndRoots) {
  struct Case {
    const char* name;
    Solver solve;
    double a, b, c;
    int n;
    double x1, x2;
  };
  const Case cases[] = {
      {"no solution", risolvi, 0, 0, 5, -1, kUntouched, kUntouched},
      {"every x", risolvi, 0, 0, 0, -2, kUntouched, kUntouched},
      {"linear", risolvi, 0, 2, -4, 1, 2, kUntouched},
      {"complex", risolvi, 1, 0, 1, 0, kUntouched, kUntouched},
      {"b < 0", risolvi, 1, -3, 2, 2, 2, 1},
      {"b > 0", risolvi, 1, 3, 2, 2, -2, -1},
      {"b = 0", risolvi, 2, 0, -8, 2, 2, -2},
      {"double", risolvi, 1, -2, 1, 2, 1, 1},
      {"2: no solution", risolvi_2, 0, 0, 5, -1, kUntouched, kUntouched},
      {"2: every x", risolvi_2, 0, 0, 0, -2, kUntouched, kUntouched},
      {"2: linear", risolvi_2, 0, 2, -4, 1, 1, kUntouched},
      {"2: complex", risolvi_2, 1, 0, 1, 0, kUntouched, kUntouched},
      {"2: b < 0", risolvi_2, 1, -3, 5, 2, 5, 1},
      {"2: b > 0", risolvi_2, 1, 3, 5, 2, -5, -1},
      {"2: zero root", risolvi_2, 2, 1, 0, 2, -1, 0},
      {"2: double", risolvi_2, 1, -1, 1, 2, 1, 1},
  };
  for (const Case& c : cases) {
    double x1 = kUntouched, x2 = kUntouched;
    EXPECT_EQ(c.solve(c.a, c.b, c.c, x1, x2), c.n) << c.name;
    EXPECT_EQ(x1, c.x1) << c.name;
    EXPECT_EQ(x2, c.x2) << c.name;
  }
}

TEST(Quadratic, BothRootsAccurateWhenBadlyConditioned) {
  struct Case {
    Solver solve;
    double a, b, c;
    double linear;  // coefficient of x in the equation solved: b, or 2b for risolvi_2
  };
  const Case cases[] = {
      {risolvi, 1, 1e8, 1, 1e8},        {risolvi, 1, -1e8, 1, -1e8},
      {risolvi, 1e-3, 1e5, 1e-3, 1e5},  {risolvi, -2, 3e9, 5, 3e9},
      {risolvi_2, 1, 5e7, 1, 1e8},      {risolvi_2, 1, -5e7, 1, -1e8},
      {risolvi_2, 3, -1e10, -7, -2e10},
  };
  for (const Case& c : cases) {
    double x1 = 0, x2 = 0;
    ASSERT_EQ(c.solve(c.a, c.b, c.c, x1, x2), 2) << c.b;
    // Vieta: the product of the roots is c / a.
    EXPECT_NEAR(x1 * x2, c.c / c.a, 1e-14 * std::fabs(c.c / c.a)) << c.b;
    for (double x : {x1, x2}) {
      const double scale = std::fabs(c.a * x * x) + std::fabs(c.linear * x) + std::fabs(c.c);
      EXPECT_LE(std::fabs(c.a * x * x + c.linear * x + c.c), 1e-14 * scale) << c.b << " " << x;
    }
    // The small root is close to -c / linear; cancellation would make it 0 or wildly off.
    const double small = std::fabs(x1) < std::fabs(x2) ? x1 : x2;
    EXPECT_NEAR(small, -c.c / c.linear, 1e-9 * std::fabs(c.c / c.linear)) << c.b;
  }
}

}  // namespace
