// entities/exploder_visitor.cpp: CEntExploderVisitor: a polyline into lines, a block reference
// into copies of its block's entities and its attributes (CEntExploderBlockVisitor does each).
// Results belong to the caller; an exception leaves none behind and the source is never changed.
#include <veltcore/entities/exploder_visitor.h>

#include <veltcore/database/block.h>
#include <veltcore/database/data.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/insert_matrix.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>

#include "entities/exploder_block_visitor.h"

CEntExploderVisitor::CEntExploderVisitor(CData& d, bool byBlock, bool attribsAsTexts,
                                         bool attdefsAsTexts, bool attdefsAsAttdefs)
    : d_(d),
      code_(-1),
      byBlock_(byBlock),
      attribsAsTexts_(attribsAsTexts),
      attdefsAsTexts_(attdefsAsTexts),
      attdefsAsAttdefs_(attdefsAsAttdefs) {}

// When a create call throws (the handles have run out), the entities this call made so far go
// back: the caller never sees them.
int CEntExploderVisitor::Explode(CEnt* e) {
  results_.clear();
  code_ = -1;
  try {
    e->accept(*this);
  } catch (...) {
    for (CEnt* r : results_) {
      veltcore::detail::unbookUnlisted(d_, r);
      delete r;
    }
    results_.clear();
    throw;
  }
  return code_;
}

// The lines start at the first visible segment. For a closed polyline that is the closing
// segment, from the last vertex to the first visible one, so a closed polyline gives one line
// per visible vertex, the closing line first, and an open one gives one line fewer. Bulges and
// widths are not carried.
void CEntExploderVisitor::visit(CEntPolyline& e) {
  const long total = e.getNoTotalVertexes();
  if (total - e.getFirstVisibleVertex() < 2) return;
  long from, to;
  e.getFirstVisibileSegmentIndex(from, to);
  PNT_3D previous = e.GetVertexPos(static_cast<int>(from));
  for (long i = to; i < total; ++i) {
    const PNT_3D& p = e.GetVertexPos(static_cast<int>(i));
    veltcore::detail::keepResult(
        d_, results_,
        createEntLine(d_, e.getLayer(), e.getLtype(), e.getColor(), LINE_3D(previous, p), 0));
    previous = p;
  }
  code_ = 0;
}

void CEntExploderVisitor::visit(CEntInsert& e) {
  explodeReference(e);
}

void CEntExploderVisitor::visit(CEntInsertXRef& e) {
  explodeReference(e);
}

// The hatch's lines and points, as for any reference: its insert part is the identity.
void CEntExploderVisitor::visit(CEntHatch& e) {
  explodeReference(e);
}

// The block's entities in order, then the reference's attributes in order, all through the
// matrix of the reference's first copy: the copies of an array are not exploded.
void CEntExploderVisitor::explodeReference(CEntInsert& e) {
  const std::size_t before = results_.size();
  CEntExploderBlockVisitor inner(d_, results_, e, CEntInsertMatrix(e, false), e.getLtype(),
                                 e.getColor(), byBlock_, attribsAsTexts_, attdefsAsTexts_,
                                 attdefsAsAttdefs_);
  if (const CBlock* block = e.getBlock())
    for (int i = 0; i < block->size(); ++i) (*block)[i]->accept(inner);
  for (int i = 0; i < e.size(); ++i) e[i].accept(inner);
  code_ = results_.size() > before ? 0 : -1;
}
