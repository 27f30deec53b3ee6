// geometry/text_transform.h: the arithmetic of transform_text, apart from the insert entity, so
// that it can be used and tested with plain numbers. Internal; touches nothing.
// Same contract as transform_text: false, with no output written, when a scale is 0.
#pragma once

#include <veltcore/core/point.h>

class TEXT_3D;

namespace veltcore::detail {

// The placement of an insert: insertion point, scales and rotation (radians).
struct InsertPlacement {
  PNT_3D point;
  double sx, sy, sz;
  double rotate;
};

bool transformTextPlacement(const InsertPlacement& ins, const TEXT_3D& t, PNT_3D& pos,
                            double& height, double& rotate, double& oblique, double& widthScale);

}  // namespace veltcore::detail
