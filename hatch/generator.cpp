// hatch/generator.cpp: createHatch in its three forms. Plans the hatch (plan.h), then creates
// the block and walks each family line by line: crossings, pairs inside, a line entity per
// pair or the dash walk. Only here are blocks created, handles booked and the failure notice
// sent.
#include "hatch/generator.h"

#include <cstddef>
#include <memory>
#include <new>
#include <optional>

#include <veltcore/database/block_factory.h>
#include <veltcore/database/data.h>
#include <veltcore/geometry/line.h>

#include "hatch/dash_walk.h"
#include "hatch/failure.h"
#include "hatch/hatch_block.h"
#include "hatch/plan.h"

namespace veltcore::hatch {

namespace {

// Turns the dash walk's parameters along one hatch line into entities.
class LineEntities : public DashSink {
 public:
  LineEntities(HatchBlock& block, const PAR_LINE_2D& line) : block_(block), line_(line) {}

  void stretch(double from, double to) override { block_.addLine(at(from), at(to)); }
  void dot(double t) override { block_.addPoint(at(t)); }

 private:
  HatchBlock& block_;
  const PAR_LINE_2D& line_;

  PNT_2D at(double t) const {
    PNT_2D p;
    line_.calcPt(t, p);
    return p;
  }
};

// Draws one hatch line from its sorted crossings; false when the line failed (an odd count,
// or a dash walk that could not finish).
bool drawLine(const FamilyPlan& f, const PAR_LINE_2D& line, const std::vector<double>& ts,
              HatchBlock& block) {
  // An unmatched last crossing is dropped; the pairs before it are still drawn.
  const std::size_t used = ts.size() - ts.size() % 2;
  bool ok = used == ts.size();
  if (used == 0) return ok;
  LineEntities entities(block, line);
  if (f.dashes.empty()) {
    for (std::size_t i = 0; i < used; i += 2) entities.stretch(ts[i], ts[i + 1]);
  } else if (!walkDashes(f.dashes, f.period, ts.data(), used, f.passBudget, entities)) {
    ok = false;
  }
  return ok;
}

// Draws the family's lines in order; false when any of them failed.
bool drawFamily(const FamilyPlan& f, const std::vector<LINE_2D>& ring,
                CrossingSearchKind searchKind, HatchBlock& block) {
  const std::unique_ptr<CrossingSearch> search = makeCrossingSearch(searchKind, ring, f);
  const double ca = f.dir.cos;
  const double sa = f.dir.sin;
  const double shift = f.kStart * f.dx;
  double ox = f.origin.getX() + shift * ca;
  double oy = f.origin.getY() + shift * sa;
  double off = f.kStart * f.dy;
  bool ok = true;
  std::vector<double> ts;
  for (std::size_t lineNo = 0; lineNo < f.lineCount; ++lineNo) {
    const PAR_LINE_2D line(ox - off * sa, oy + off * ca, ca, sa);
    // Accumulated, never recomputed as k * dy: the rounding decides which lines meet boundary
    // edges and vertices exactly, and hatches have always been drawn this way.
    ox += f.dx * ca;
    oy += f.dx * sa;
    off += f.dy;
    search->crossingsOf(lineNo, line, ts);
    if (!drawLine(f, line, ts, block)) ok = false;
  }
  return ok;
}

}  // namespace

CBlock* generateHatch(CrossingSearchKind search, const String& name, const HATCH_TYPE& t,
                      double scale, double angle, const std::vector<PNT_3D>& boundary,
                      CBlockFactory& bf, IHandleGestor& g, CEntFactory& ef, CLayer* layer,
                      CLtype* ltype, short color) {
  bool ok = true;
  std::optional<HatchBlock> block;
  try {
    const std::optional<HatchPlan> plan = planHatch(t, scale, angle, boundary);
    if (!plan) return nullptr;
    CBlock* made = bf.create(name, PNT_3D(0, 0, 0), 1);
    if (made == nullptr) return nullptr;
    block.emplace(made, g, ef, EntityStyle{layer, ltype, color, plan->z});
    for (const FamilyPlan& f : plan->families)
      if (!drawFamily(f, plan->ring, search, *block)) ok = false;
  } catch (const std::bad_alloc&) {
    return nullptr;  // create operations answer null when memory runs out; block cleans up
  }
  // Once per generation. Should the handler throw, the exception passes on and the block is
  // discarded with its handles, as on any other early exit.
  if (!ok) reportHatchFailure();
  return block->release();
}

}  // namespace veltcore::hatch

CBlock* createHatch(const String& name, const HATCH_TYPE& t, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CBlockFactory& bf, IHandleGestor& g,
                    CEntFactory& ef, CLayer* layer, CLtype* ltype, short color) {
  return veltcore::hatch::generateHatch(veltcore::hatch::CrossingSearchKind::kIndexed, name, t,
                                        scale, angle, boundary, bf, g, ef, layer, ltype, color);
}

CBlock* createHatch(const String& name, const HATCH_TYPE& t, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CData& d) {
  return createHatch(name, t, scale, angle, boundary, d.getBlockFactory(), d.getHandleGestor(),
                     d.getEntFactory(), d.getVars().getCurLayer(), &d.getLtypeByBlock(), 0);
}

CBlock* createHatch(const String& name, long index, double scale, double angle,
                    const std::vector<PNT_3D>& boundary, CData& d) {
  const HATCH_TYPE* t = getHatch(index);
  if (t == nullptr) return nullptr;
  return createHatch(name, *t, scale, angle, boundary, d);
}
