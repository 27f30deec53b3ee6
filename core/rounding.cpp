// core/rounding.cpp: rounding to whole values. Halves go up in iround/fround and down in
// the _down forms; results outside the int range are clamped rather than undefined.
#include <veltcore/core/rounding.h>

#include <climits>
#include <cmath>

namespace {

int toInt(double v) {
  if (!(v >= static_cast<double>(INT_MIN))) return INT_MIN;  // NaN too
  if (v > static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

}  // namespace

double fround(double x) {
  return std::floor(x + 0.5);
}
double fround_down(double x) {
  return std::ceil(x - 0.5);
}
int iround(double x) {
  return toInt(fround(x));
}
int iround_down(double x) {
  return toInt(fround_down(x));
}
