// dxf/out/dxf_units.h: the unit conversion the DXF writer applies. Internal to dxf/out/.
// The drawing keeps angles in radians; DXF files carry degrees.
#pragma once

namespace veltcore::dxf {

// Radians to degrees, as every angle group is written.
constexpr double kDegreesPerRadian = 57.29577951308233;

}  // namespace veltcore::dxf
