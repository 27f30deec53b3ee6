// veltcore/core/rounding.h: rounding to the nearest whole value, halves up or halves down.
// iround/fround send halves up (2.5 -> 3, -2.5 -> -2); the _down forms send them down.
#pragma once

int iround(double x);
double fround(double x);
int iround_down(double x);
double fround_down(double x);
