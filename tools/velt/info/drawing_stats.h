// tools/velt/info/drawing_stats.h: what `velt info` reports of a loaded drawing: its table
// sizes, its entities counted by the DXF type name they are written under (in the entity table
// and inside blocks), and its extent. Gathered once from the public API, then printed as text or
// JSON by the report.
#pragma once

#include <veltcore/database/data.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace velt {

// The entity kinds the library holds, in the order the report lists them.
enum class EntityKind : std::size_t {
  kPoint,
  kLine,
  kCircle,
  kArc,
  kPolyline,
  kText,
  kAttdef,
  kInsert,
  kFace3D,
  kHatch,
  kCount
};

constexpr std::size_t kEntityKinds = static_cast<std::size_t>(EntityKind::kCount);

// The record name a DXF file gives the kind ("POINT", "3DFACE", ...).
const char* dxfTypeName(EntityKind kind);

// Entities per kind; attributes and vertices belong to their insert or polyline and are not
// counted.
struct EntityCounts {
  std::array<long, kEntityKinds> byKind{};

  long& operator[](EntityKind k) { return byKind[static_cast<std::size_t>(k)]; }
  long operator[](EntityKind k) const { return byKind[static_cast<std::size_t>(k)]; }
  long total() const;
};

// A box in the drawing's XY plane.
struct Extent {
  double minX, minY, maxX, maxY;
};

struct DrawingStats {
  // Layer 0 is counted with the listed layers, and the built-in CONTINUOUS with the listed
  // linetypes (BYLAYER and BYBLOCK are not linetypes of their own). STANDARD is a listed style.
  long layers = 0;
  long linetypes = 0;
  long styles = 0;
  // Every block of the block table; hatchBlocks of them hold the lines of a hatch's pattern.
  long blocks = 0;
  long hatchBlocks = 0;
  long xrefs = 0;
  EntityCounts entities;       // the entity table
  EntityCounts blockEntities;  // every block of the block table
  long entitiesInHatchBlocks = 0;
  // The entity table's box (entities on frozen layers left out); empty for no visible entity.
  std::optional<Extent> extent;
};

DrawingStats collectStats(const CData& data);

}  // namespace velt
