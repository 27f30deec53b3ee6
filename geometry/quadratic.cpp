// geometry/quadratic.cpp: the quadratic solvers risolvi and risolvi_2.
// Exact tests on a, b and the discriminant; roots come from the cancellation-free pair
// q/a and c/q, so a tiny root next to a large one keeps its precision.
#include <veltcore/geometry/constructions.h>

#include <cmath>

namespace {

// Degenerate cases shared by both solvers once a == 0 and b == 0.
int noQuadNoLinear(double c) {
  return c != 0.0 ? -1 : -2;
}

// q = -b - sign(b) * sqrt(disc), taking b = 0 as negative: the two terms never cancel.
double stableQ(double b, double disc) {
  const double r = std::sqrt(disc);
  return b <= 0.0 ? -b + r : -b - r;
}

}  // namespace

int risolvi(double a, double b, double c, double& x1, double& x2) {
  if (a != 0.0) {
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0) return 0;
    if (disc == 0.0) {
      x2 = -b / (2.0 * a);
      x1 = x2;
      return 2;
    }
    const double q = stableQ(b, disc);
    x1 = q / (2.0 * a);
    x2 = 2.0 * c / q;
    return 2;
  }
  if (b != 0.0) {
    x1 = -c / b;
    return 1;
  }
  return noQuadNoLinear(c);
}

int risolvi_2(double a, double b, double c, double& x1, double& x2) {
  if (a != 0.0) {
    const double disc = b * b - a * c;
    if (disc < 0.0) return 0;
    if (disc == 0.0) {
      x2 = -b / a;
      x1 = x2;
      return 2;
    }
    const double q = stableQ(b, disc);
    x1 = q / a;
    x2 = c / q;
    return 2;
  }
  if (b != 0.0) {
    x1 = -c / (2.0 * b);
    return 1;
  }
  return noQuadNoLinear(c);
}
