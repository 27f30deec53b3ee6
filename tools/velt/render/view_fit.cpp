// tools/velt/render/view_fit.cpp: the extent walk and the window arithmetic. CWndVpt grows a
// window to the right or upward to reach the image's proportions; the window is made to those
// proportions about the extent's centre first, so that the drawing sits in the middle.
#include "render/view_fit.h"

#include <veltcore/database/data.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_table.h>

#include <algorithm>
#include <cmath>

#include "render/layer_rules.h"

namespace velt {

namespace {

constexpr double kMargin = 0.03;  // of the larger side, on each side

bool finite(const RECT_3D& r) {
  return std::isfinite(r.min.getX() + r.min.getY() + r.max.getX() + r.max.getY());
}

}  // namespace

RECT_2D drawnExtent(const CData& data, const LayerRules& rules) {
  if (rules.showsEveryLayer()) {
    // The entity table keeps the union of its entities' boxes as they are added (leaving out
    // frozen layers, of which there are none here): the walk below would find the same.
    const RECT_3D& b = data.getEntTable().getBdry();
    if (b.validRegion() && finite(b))
      return RECT_2D(b.min.getX(), b.min.getY(), b.max.getX(), b.max.getY());
  }
  RECT_2D extent;
  extent.initRegion();
  for (const CEnt* e : data.getEntTable().getEntityTbl()) {
    const RECT_3D& b = e->getBdry();
    // A reference on a layer that is off (or not chosen) may still show entities of others.
    const bool shown = e->getEntInsert() != nullptr ? !LayerRules::frozen(e->getLayer())
                                                    : rules.shown(e->getLayer());
    if (!b.validRegion() || !finite(b) || !shown) continue;
    extent.updateRegion(RECT_2D(b.min.getX(), b.min.getY(), b.max.getX(), b.max.getY()));
  }
  if (!extent.validRegion()) {
    const CDataVariables& v = data.getVars();
    extent = RECT_2D(v.getLimMin(), v.getLimMax());
  }
  return extent;
}

CWndVpt fitView(const RECT_2D& extent, long width, long height) {
  double x1, y1, x2, y2;
  extent.get(x1, y1, x2, y2);
  double w = x2 - x1, h = y2 - y1;
  const double margin = std::max({w, h, 1e-9}) * kMargin;
  w += 2 * margin;
  h += 2 * margin;
  // The proportions of the pixel grid: CWndVpt maps the window's edges onto the outer pixel
  // centres, width - 1 by height - 1 pixels apart.
  const double aspect = static_cast<double>(width - 1) / static_cast<double>(height - 1);
  if (w < h * aspect) {
    w = h * aspect;
  } else {
    h = w / aspect;
  }
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  CWndVpt view;
  view.resize(width, height);
  view.set(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2);
  return view;
}

}  // namespace velt
