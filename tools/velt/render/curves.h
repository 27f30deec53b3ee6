// tools/velt/render/curves.h: circular arcs turned into chains of points, fine enough that no
// chord strays more than a fifth of a pixel from the curve.
#pragma once

#include "render/canvas.h"
#include "render/pixel_transform.h"

namespace velt {

// The number of chords for an arc of sweep radians whose radius is radius pixels.
int chordsFor(double radius, double sweep);

// Appends the arc of a circle given in pixels, from angle a0 to a1 (a0 < a1) as a new subpath.
void addPixelArc(PixelPath& path, PixelPoint centre, double radius, double a0, double a1);

// Appends the arc of a circle given in an entity's coordinates (centre, radius, angles s < e
// counter-clockwise) through t, as a new subpath; a block map that scales unevenly makes it an
// ellipse, which the chords follow as well.
void addArc(PixelPath& path, const PixelTransform& t, const PNT_2D& centre, double radius, double s,
            double e);

}  // namespace velt
