// tools/velt/info/drawing_stats.cpp: counts a drawing's tables and entities. An entity's kind
// comes from its class through a visitor, not from its type code, so that a class the visitor
// interface gains later fails to compile here instead of being counted under a wrong name.
#include "info/drawing_stats.h"

#include <veltcore/entities/entity.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/hatch/ent_hatch.h>

#include <unordered_set>
#include <vector>

namespace velt {

namespace {

// Names the kind of the entity it visits and remembers the block of every hatch it meets.
class KindVisitor final : public IEntVisitor {
 public:
  EntityKind kindOf(CEnt& e) {
    e.accept(*this);
    return kind_;
  }
  const std::unordered_set<const CBlock*>& hatchBlocks() const { return hatchBlocks_; }

  void visit(CEnt3DFace&) override { kind_ = EntityKind::kFace3D; }
  void visit(CEntHatch& e) override {
    kind_ = EntityKind::kHatch;
    if (e.getBlock() != nullptr) hatchBlocks_.insert(e.getBlock());
  }
  // Attributes live inside their insert, never in a table or a block, so no count meets one;
  // were one met, it is a text of its own.
  void visit(CEntAttrib&) override { kind_ = EntityKind::kText; }
  // A reference to another file is an INSERT record all the same.
  void visit(CEntInsertXRef&) override { kind_ = EntityKind::kInsert; }
  void visit(CEntInsert&) override { kind_ = EntityKind::kInsert; }
  void visit(CEntAttdef&) override { kind_ = EntityKind::kAttdef; }
  void visit(CEntText&) override { kind_ = EntityKind::kText; }
  void visit(CEntPolyline&) override { kind_ = EntityKind::kPolyline; }
  void visit(CEntArc&) override { kind_ = EntityKind::kArc; }
  void visit(CEntCircle&) override { kind_ = EntityKind::kCircle; }
  void visit(CEntLine&) override { kind_ = EntityKind::kLine; }
  void visit(CEntPnt&) override { kind_ = EntityKind::kPoint; }

 private:
  EntityKind kind_ = EntityKind::kPoint;
  std::unordered_set<const CBlock*> hatchBlocks_;
};

EntityCounts countBlockEntities(const CBlock& b, KindVisitor& kinds) {
  EntityCounts counts;
  for (int i = 0; i < b.size(); ++i) ++counts[kinds.kindOf(*b[i])];
  return counts;
}

void add(EntityCounts& to, const EntityCounts& from) {
  for (std::size_t k = 0; k < kEntityKinds; ++k) to.byKind[k] += from.byKind[k];
}

std::optional<Extent> extentOf(const CEntTable& table) {
  const RECT_3D& box = table.getBdry();
  if (!box.validRegion()) return std::nullopt;
  double minX, minY, minZ, maxX, maxY, maxZ;
  box.get(minX, minY, minZ, maxX, maxY, maxZ);
  return Extent{minX, minY, maxX, maxY};
}

}  // namespace

const char* dxfTypeName(EntityKind kind) {
  static const char* const kNames[kEntityKinds] = {
      "POINT", "LINE", "CIRCLE", "ARC", "POLYLINE", "TEXT", "ATTDEF", "INSERT", "3DFACE", "HATCH"};
  return kNames[static_cast<std::size_t>(kind)];
}

long EntityCounts::total() const {
  long n = 0;
  for (long c : byKind) n += c;
  return n;
}

DrawingStats collectStats(const CData& data) {
  DrawingStats s;
  s.layers = CData::CLayerIterator(data, false).size();
  s.linetypes = CData::CLtypeIterator(data, false, false).size();
  s.styles = data.getStyleTable().size();
  s.blocks = data.getBlockTable().size();
  s.xrefs = data.getBlockXRefTable().size();

  KindVisitor kinds;
  for (CEnt* e : data.getEntTable().getEntityTbl()) ++s.entities[kinds.kindOf(*e)];
  // Block contents are counted first, so that hatches inside blocks have named their blocks too.
  std::vector<EntityCounts> perBlock;
  const CBlockTable& blocks = data.getBlockTable();
  for (int i = 0; i < blocks.size(); ++i) perBlock.push_back(countBlockEntities(*blocks[i], kinds));
  for (int i = 0; i < blocks.size(); ++i) {
    const EntityCounts& counts = perBlock[static_cast<std::size_t>(i)];
    add(s.blockEntities, counts);
    if (kinds.hatchBlocks().count(blocks[i]) == 0) continue;
    ++s.hatchBlocks;
    s.entitiesInHatchBlocks += counts.total();
  }
  s.extent = extentOf(data.getEntTable());
  return s;
}

}  // namespace velt
