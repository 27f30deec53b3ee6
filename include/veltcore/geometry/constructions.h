// veltcore/geometry/constructions.h: free constructions on points and lines (vector product,
// collinearity, perpendicular foot, nearest point, parallel offsets, line intersection) and
// the quadratic solvers. pntPerp throws VELTMathException; nothing else here throws.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/geometry/line.h>

// Thrown by pntPerp when the two points that define the line are equal.
class VELTMathException {};

// u x v.
PNT_3D prodVect(const PNT_3D& u, const PNT_3D& v);
// (b - a) x (c - b): the normal of the turn a -> b -> c.
PNT_3D prodVect(const PNT_3D& a, const PNT_3D& b, const PNT_3D& c);

// Whether c lies within 1e-6 of the line ab.
bool pntsInLine(const PNT_2D& a, const PNT_2D& b, const PNT_2D& c);
// Whether every component of prodVect(a, b, c) is below 1e-6 in magnitude.
bool pntsInLine(const PNT_3D& a, const PNT_3D& b, const PNT_3D& c);

// Foot of the perpendicular from p to the line ab; returns its parameter on ab (0 at a,
// 1 at b, not clamped). Throws VELTMathException when a == b exactly.
double pntPerp(const PNT_2D& a, const PNT_2D& b, const PNT_2D& p, PNT_2D& foot);
double pntPerp(const PNT_3D& a, const PNT_3D& b, const PNT_3D& p, PNT_3D& foot);
double pntPerp(const LINE_2D& l, const PNT_2D& p, PNT_2D& foot);
// Works on the X and Y of the segment and of p.
double pntPerp(const LINE_3D& l, const PNT_3D& p, PNT_2D& foot);

// Nearest point of the segment to p; returns the unclamped parameter (0 for a null segment).
double pntNearest(const LINE_2D& l, const PNT_2D& p, PNT_2D& out);
// The parameter is found in the XY plane; an inner point gets its Z interpolated.
double pntNearest(const LINE_3D& l, const PNT_2D& p, PNT_3D& out);

// The line through the same point with the direction turned by +90 degrees.
void CalcPerpendic(const PAR_LINE_2D& l, PAR_LINE_2D& out);
// Moves the segment by d sideways: positive d to the right of its direction. A null
// segment is left alone.
void TranslateLine(LINE_2D& l, double d);
LINE_2D CalcParalLineAt(const LINE_2D& l, double d);
// The XY offset of TranslateLine; each end keeps its own Z.
LINE_3D CalcParalLineAtPlane(const LINE_3D& l, double d);
// Crossing point of two lines. Coincident lines give l1's point at parameter 1; parallel
// lines give false and leave out untouched.
bool CalcolaPuntoIntersezione(const PAR_LINE_2D& l1, const PAR_LINE_2D& l2, PNT_2D& out);

// Solves a*x^2 + b*x + c = 0. Returns 2 (x1, x2 set; a double root is given twice),
// 0 (no real root), 1 (a == 0: x1 only), -1 (a == b == 0, c != 0: no solution) or
// -2 (a == b == c == 0: every x). Outputs not mentioned are left untouched.
int risolvi(double a, double b, double c, double& x1, double& x2);
// Solves a*x^2 + 2*b*x + c = 0, with the same results as risolvi.
int risolvi_2(double a, double b, double c, double& x1, double& x2);
