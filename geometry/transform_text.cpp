// geometry/transform_text.cpp: transform_text, which reads an insert's placement and hands it
// to the arithmetic in text_transform.cpp. The only geometry file that knows the insert entity.
// False, with nothing written, when one of the insert's scales is 0.
#include <veltcore/entities/insert.h>
#include <veltcore/geometry/text.h>

#include "geometry/text_transform.h"

bool transform_text(const CEntInsert& ins, const TEXT_3D& t, PNT_3D& pos, double& height,
                    double& rotate, double& oblique, double& widthScale) {
  veltcore::detail::InsertPlacement placement;
  placement.point = ins.getPnt();
  ins.getScale(placement.sx, placement.sy, placement.sz);
  placement.rotate = ins.getRotate();
  return veltcore::detail::transformTextPlacement(placement, t, pos, height, rotate, oblique,
                                                  widthScale);
}
