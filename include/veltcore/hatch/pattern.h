// veltcore/hatch/pattern.h: the built-in hatch-pattern catalogue (HATCH_TYPE, HATCH_LINE and the
// lookups), the boundary-point helpers for circles, arcs, ellipses and bulged segments, and
// createHatch, which fills a closed boundary with a pattern as an anonymous block of lines and
// points. The hatch entity that keeps such a block is in ent_hatch.h.
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>

class CBlock;
class CBlockFactory;
class CBlockTable;
class CData;
class CEntFactory;
class CLayer;
class CLtype;
class IHandleGestor;

// One family of parallel pattern lines. Lengths are in pattern units (inches): the generator
// multiplies them by 25.4 and the user's scale.
struct HATCH_LINE {
  double angle;      // radians, counter-clockwise from +X
  double x, y;       // a point one line of the family passes through
  double deltaX;     // shift along the line from one line of the family to the next
  double deltaY;     // spacing between lines, along the line's left normal
  double dashes[6];  // positive drawn, negative gap, 0 a dot
  long noDashes;     // 0 to 6; 0 is a continuous line
};

// A catalogue record: the pattern's lines are stored consecutively from lines.
struct HATCH_TYPE {
  const char* name;
  const char* description;
  const HATCH_LINE* lines;
  long noLines;
};

// The number of records in the built-in catalogue.
constexpr long kNoHatchTypes = 68;

// The record at index 0 to 67; null outside.
const HATCH_TYPE* getHatch(long index);
// The first record whose name equals name ignoring case; null when none does.
const HATCH_TYPE* getHatch(const String& name);
// The index of the catalogue record at t's address; -1 for any other record (a copy, say).
long getHatch(const HATCH_TYPE& t);
// The next free anonymous hatch block name: "*PAT" and the lowest free number.
String getHatchName(const CBlockTable& blocks);

// Boundary points. Each appends to pts, at the centre's Z (for a bulge, the arc's centre: the
// mean of p0's and p1's Z). Angles in radians are first brought into [0, 2pi], and an end at or
// before the start gets 2pi added; a non-finite angle gives no points.
// 65 points round the full circle, the last closing it.
void hatch_add_circle(const PNT_3D& centre, double r, std::vector<PNT_3D>& pts);
// 65 points from start to end.
void hatch_add_arc(const PNT_3D& centre, double r, double start, double end,
                   std::vector<PNT_3D>& pts);
// 65 points of the ellipse with major axis (majorX, majorY) and minor/major ratio, from start to
// end parameter.
void hatch_add_ellipse(const PNT_3D& centre, double majorX, double majorY, double ratio,
                       double start, double end, std::vector<PNT_3D>& pts);
// Bulge 0: p0 and p1 as they are. Otherwise 65 points of the bulge's arc, running from p0
// towards p1 (a clockwise bulge gives the same samples in reverse order).
void hatch_add_segment_bulge(const PNT_3D& p0, const PNT_3D& p1, double bulge,
                             std::vector<PNT_3D>& pts);
// Appends in to out without consecutive repeats (X and Y compared with the last kept point,
// within |v| * 1e-12 + 1e-12 of the new point's v), then closes the chain on out[0] unless it
// already ends there. out is appended to, never cleared: pass it empty, since out[0] is the
// first point of out, not of in.
void _hatch_compactVertex(const std::vector<PNT_3D>& in, std::vector<PNT_3D>& out);

// Fills the closed boundary with pattern t at scale (times 25.4) and angle (radians), by the
// even-odd rule, as a new block (base point the origin, flags 1) from the block factory that
// belongs to the caller: a line entity per drawn stretch, a point entity per dot, each with a new
// handle from g, the given layer, linetype and colour, at the Z of the first boundary point.
// Null, with no block and no handle booked, when the boundary has fewer than 3 points or
// compacts to fewer than 4, the scale is not positive, a coordinate, the scale, the angle or a
// pattern value is not finite (or a coordinate beyond 1e100), a caller-made record has a dash
// count outside 0 to 6, or the hatch would need more than a million lines or some fifty million
// dash steps. A family with spacing 0, or with dashes adding up to 0, is left out.
// Null too when memory runs out (what was made is discarded). A hatch line that meets the boundary
// an odd number of times draws its pairs and makes the generation report one failure at the
// end (below); should the handler throw, the block is discarded and the exception passes on.
CBlock* createHatch(const String& name, const HATCH_TYPE& t, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CBlockFactory& bf, IHandleGestor& g,
                    CEntFactory& ef, CLayer* layer, CLtype* ltype, short color);
// With the drawing's factories and handle manager, its current layer, the by-block linetype and
// colour 0.
CBlock* createHatch(const String& name, const HATCH_TYPE& t, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CData& d);
// As above with catalogue record index; null when index is outside 0 to 67.
CBlock* createHatch(const String& name, long index, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CData& d);

// Told once per generation in which some hatch line crossed the boundary an odd number of times
// (the block is still made from the pairs found), or its dash walk could not finish because the
// coordinates are too large for the dash lengths. The default writes title and text to standard
// error.
using HatchFailureHandler = void (*)(const char* title, const char* text);
// Installs h for the whole process and returns the handler it replaces; null restores the default.
HatchFailureHandler setHatchFailureHandler(HatchFailureHandler h);
