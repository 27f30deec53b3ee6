// entities/polyline_insert_run.cpp: CEntPolyline::insertVertexes, a run of vertices inserted in
// one vector insert, so that chaining many vertices onto the front stays linear. Everything that
// can fail happens before the polyline changes.
#include <veltcore/entities/polyline.h>

#include <algorithm>

#include "entities/polyline_append_box.h"

void CEntPolyline::insertVertexes(IHandleGestor* g, const std::vector<CVertex*>& run, long i) {
  if (run.empty()) return;
  const long total = getNoTotalVertexes();
  const long at = i < 0 ? 0 : (i > total ? total : i);
  // At the end of a plain polyline the run is appended as insertVertex appends, keeping the
  // append state that reboxes a wide polyline in constant time per vertex.
  const bool appending = at == total && !isCurve();
  std::size_t reserved = 0;
  try {
    if (g != nullptr)
      for (; reserved < run.size(); ++reserved) g->reserve(run[reserved]);
    if (appending) {
      // Room for the whole run first, so that the appends below cannot fail half way; grown
      // geometrically, as push_back would, so that many short runs stay linear.
      const std::size_t needed = vertexes_.size() + run.size();
      if (needed > vertexes_.capacity())
        vertexes_.reserve(std::max(needed, 2 * vertexes_.capacity()));
      if (appendBox_ == nullptr || !appendBox_->follows(*this))
        appendBox_ = std::make_unique<CPolylineAppendBox>(*this);
    } else {
      vertexes_.insert(vertexes_.begin() + at, run.begin(), run.end());
    }
  } catch (...) {
    for (std::size_t k = reserved; k-- > 0;) g->release(run[k]->GetHandle());
    throw;
  }
  if (appending) {
    for (CVertex* v : run) {
      vertexes_.push_back(v);
      appendBox_->append(*v);
    }
    if (appendBox_->isWide()) {
      appendBox_->box(*this, getBdry());
      return;
    }
  } else {
    dropAppendBox();
    if (isCurve()) return;
    if (isWide()) {
      calcBdry();
      return;
    }
  }
  for (const CVertex* v : run) getBdry().updateRegion(v->getPnt());
}
