// tools/velt/render/view_fit.h: the viewport window an image shows: the extent of what will be
// drawn, with a small margin, centred in a CWndVpt resized to the image.
#pragma once

#include <veltcore/geometry/rect.h>
#include <veltcore/view/wnd_vpt.h>

class CData;

namespace velt {

class LayerRules;

// The box of the model-space entities on drawn layers, and of the block references on layers that
// are not frozen; the drawing's limits when there is none.
RECT_2D drawnExtent(const CData& data, const LayerRules& rules);

// An isotropic window for a width x height image showing extent whole, centred, with a margin
// of a few percent on every side.
CWndVpt fitView(const RECT_2D& extent, long width, long height);

}  // namespace velt
