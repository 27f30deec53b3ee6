// tools/velt/demo/demo_parts.h: internal to the demo: the pieces demo_drawing.cpp puts together.
#pragma once

#include <string>

class CData;

namespace velt {

// Loads the linetype library file and copies every linetype in it into d.
void loadDemoLinetypes(CData& d, const std::string& linetypeFile);

}  // namespace velt
