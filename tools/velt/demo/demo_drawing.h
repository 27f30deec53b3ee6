// tools/velt/demo/demo_drawing.h: the sample drawing `velt demo` builds through the library's
// public API only: a small floor plan that shows what the library holds and draws.
#pragma once

#include <string>

#include "command.h"

namespace velt {

// The linetype library the demo writes beside its drawing and loads its dashed linetypes from.
extern const char* const kDemoLinetypeLibrary;

// Builds the floor plan. The dashed linetypes are loaded from the linetype library file at
// linetypeFile (written by the caller from kDemoLinetypeLibrary). Throws CommandFailure when the
// file cannot be read or holds a faulty definition.
DrawingPtr buildDemoDrawing(const std::string& linetypeFile);

}  // namespace velt
