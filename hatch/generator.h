// hatch/generator.h: the hatch generator behind createHatch, with the choice of crossing
// search left open so that tests can run the plain search against the indexed one that
// createHatch uses. Internal to hatch/ and its tests.
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/hatch/pattern.h>

#include "hatch/crossings.h"

namespace veltcore::hatch {

// createHatch (full form, pattern.h) with the given crossing search.
CBlock* generateHatch(CrossingSearchKind search, const String& name, const HATCH_TYPE& t,
                      double scale, double angle, const std::vector<PNT_3D>& boundary,
                      CBlockFactory& bf, IHandleGestor& g, CEntFactory& ef, CLayer* layer,
                      CLtype* ltype, short color);

}  // namespace veltcore::hatch
