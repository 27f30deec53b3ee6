// hatch/catalogue.cpp: the built-in hatch-pattern catalogue (68 records over 216 pattern lines,
// read-only, in catalogue order) and its lookups, and the anonymous hatch block names.
#include <veltcore/database/block_table.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/hatch/pattern.h>

#include "core/text.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Degrees to radians. The right angles are the exact doubles pi/2, pi and 3pi/2, because the
// generator recognises them by value to use exact sines and cosines.
constexpr double rad(double degrees) {
  if (degrees == 90) return kPi / 2;
  if (degrees == 180) return kPi;
  if (degrees == 270) return 3 * kPi / 2;
  return degrees * kPi / 180;
}

constexpr HATCH_LINE kLines[] = {
#include "hatch/pattern_lines.inc"
};

constexpr HATCH_TYPE kTypes[kNoHatchTypes] = {
    {"ANGLE", "Angle steel", kLines + 0, 2},
    {"ANSI31", "ANSI Iron, Brick, Stone masonry", kLines + 2, 1},
    {"ANSI32", "ANSI Steel", kLines + 3, 2},
    {"ANSI33", "ANSI Bronze, Brass, Copper", kLines + 5, 2},
    {"ANSI34", "ANSI Plastic, Rubber", kLines + 7, 4},
    {"ANSI35", "ANSI Fire brick, Refractory material", kLines + 11, 2},
    {"ANSI36", "ANSI Marble, Slate, Glass", kLines + 13, 1},
    {"ANSI37", "ANSI Lead, Zinc, Magnesium, Sound/Heat/Elec Insulation", kLines + 14, 2},
    {"ANSI38", "ANSI Aluminum", kLines + 16, 2},
    {"AR-B816", "8x16 Block elevation stretcher bond", kLines + 18, 2},
    {"AR-B816C", "8x16 Block elevation stretcher bond with mortar joints", kLines + 20, 4},
    {"AR-B88", "8x8 Block elevation stretcher bond", kLines + 24, 2},
    {"AR-BRELM", "Standard brick elevation english bond with mortar joints", kLines + 26, 8},
    {"AR-BRSTD", "Standard brick elevation stretcher bond", kLines + 34, 2},
    {"AR-CONC", "Random dot and stone pattern", kLines + 36, 13},
    {"AR-HBONE", "Standard brick herringbone pattern @ 45 degrees", kLines + 49, 2},
    {"AR-PARQ1", "2x12 Parquet flooring: pattern of 12x12", kLines + 51, 14},
    {"AR-RROOF", "Roof shingle texture", kLines + 65, 3},
    {"AR-RSHKE", "Roof wood shake texture", kLines + 68, 9},
    {"AR-SAND", "Random dot pattern", kLines + 77, 4},
    {"BOX", "Box steel", kLines + 81, 8},
    {"BRASS", "Brass material", kLines + 89, 2},
    {"BRICK", "Brick or masonry-type surface", kLines + 91, 3},
    {"BRSTONE", "Brick and stone", kLines + 94, 8},
    {"CLAY", "Clay material", kLines + 102, 4},
    {"CORK", "Cork material", kLines + 106, 4},
    {"CROSS", "A series of crosses", kLines + 110, 2},
    {"DASH", "Dashed lines", kLines + 112, 1},
    {"DOLMIT", "Geological rock layering", kLines + 113, 2},
    {"DOTS", "A series of dots", kLines + 115, 1},
    {"EARTH", "Earth or ground (subterranean)", kLines + 116, 6},
    {"ESCHER", "Escher pattern", kLines + 122, 21},
    {"FLEX", "Flexible material", kLines + 143, 2},
    {"GRASS", "Grass area", kLines + 145, 3},
    {"GRATE", "Grated area", kLines + 148, 2},
    {"HEX", "Hexagons", kLines + 150, 3},
    {"HONEY", "Honeycomb pattern", kLines + 153, 3},
    {"HOUND", "Houndstooth check", kLines + 156, 2},
    {"INSUL", "Insulation material", kLines + 158, 3},
    {"ACAD_ISO02W100", "dashed line", kLines + 161, 1},
    {"ACAD_ISO03W100", "dashed space line", kLines + 162, 1},
    {"ACAD_ISO04W100", "long dashed dotted line", kLines + 163, 1},
    {"ACAD_ISO05W100", "long dashed double dotted line", kLines + 164, 1},
    {"ACAD_ISO06W100", "long dashed triplicate dotted line", kLines + 165, 2},
    {"ACAD_ISO07W100", "dotted line", kLines + 167, 1},
    {"ACAD_ISO08W100", "long dashed short dashed line", kLines + 168, 1},
    {"ACAD_ISO09W100", "long dashed double-short-dashed line", kLines + 169, 1},
    {"ACAD_ISO10W100", "dashed dotted line", kLines + 170, 1},
    {"ACAD_ISO11W100", "double-dashed dotted line", kLines + 171, 1},
    {"ACAD_ISO12W100", "dashed double-dotted line", kLines + 172, 1},
    {"ACAD_ISO13W100", "double-dashed double-dotted line", kLines + 173, 2},
    {"ACAD_ISO14W100", "dashed triplicate-dotted line", kLines + 175, 2},
    {"ACAD_ISO15W100", "double-dashed triplicate-dotted line", kLines + 177, 2},
    {"LINE", "Parallel horizontal lines", kLines + 179, 1},
    {"MUDST", "Mud and sand", kLines + 180, 1},
    {"NET", "Horizontal / vertical grid", kLines + 181, 2},
    {"NET3", "Network pattern 0-60-120", kLines + 183, 3},
    {"PLAST", "Plastic material", kLines + 186, 3},
    {"PLASTI", "Plastic material", kLines + 189, 4},
    {"SACNCR", "Concrete", kLines + 193, 2},
    {"SQUARE", "Small aligned squares", kLines + 195, 2},
    {"STARS", "Star of David", kLines + 197, 3},
    {"STEEL", "Steel material", kLines + 200, 2},
    {"SWAMP", "Swampy area", kLines + 202, 6},
    {"TRANS", "Heat transfer material", kLines + 208, 2},
    {"TRIANG", "Equilateral triangles", kLines + 210, 3},
    {"ZIGZAG", "Staircase effect", kLines + 213, 2},
    {"CATASTO1", "Catasto1", kLines + 215, 1},
};

static_assert(sizeof(kLines) / sizeof(kLines[0]) == 216, "the catalogue holds 216 pattern lines");

}  // namespace

const HATCH_TYPE* getHatch(long index) {
  if (index < 0 || index >= kNoHatchTypes) return nullptr;
  return &kTypes[index];
}

const HATCH_TYPE* getHatch(const String& name) {
  for (const HATCH_TYPE& t : kTypes)
    if (veltcore::text::equalNoCase(name.c_str(), t.name)) return &t;
  return nullptr;
}

// Compared by address, so that only the catalogue's own records have an index.
long getHatch(const HATCH_TYPE& t) {
  for (long i = 0; i < kNoHatchTypes; ++i)
    if (&kTypes[i] == &t) return i;
  return -1;
}

String getHatchName(const CBlockTable& blocks) {
  return GetBlockProgressiveName("*PAT", blocks);
}
