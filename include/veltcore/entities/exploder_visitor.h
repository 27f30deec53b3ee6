// veltcore/entities/exploder_visitor.h: CEntExploderVisitor, which turns a polyline into lines
// and a block reference (insert, external-reference insert, hatch) into copies of its block's
// entities in drawing coordinates. The results are new entities owned by the caller.
#pragma once

#include <vector>

#include <veltcore/entities/visitor.h>

class CData;
class CEnt;

// Built on the stack for one or more explosions. Every result is made through the drawing-level
// create calls with a fresh handle and is in no table: the caller adds each one to a table, or
// gives its handles back (CEntFactory::unbookHandle) and deletes it. The exploded entity itself
// is never changed. A nested hatch is the one result that also leaves something in the drawing:
// its new "*PAT" block enters the drawing's block table, as with any new hatch.
class CEntExploderVisitor : public IEntFooVisitor {
 public:
  // byBlock: a block entity with the by-block linetype, or colour 0, takes the reference's.
  // attribsAsTexts: the reference's attributes become texts.
  // attdefsAsTexts, attdefsAsAttdefs: the block's attribute definitions become texts, attribute
  // definitions, or both; with neither they are left out.
  CEntExploderVisitor(CData& d, bool byBlock, bool attribsAsTexts, bool attdefsAsTexts,
                      bool attdefsAsAttdefs);

  // Forgets the previous results (without deleting them: they are the caller's), lets e accept
  // this visitor and returns 0 when e was exploded into at least one entity, -1 otherwise.
  int Explode(CEnt* e);
  int GetNoEnt() const { return static_cast<int>(results_.size()); }
  // Result i, 0 <= i < GetNoEnt(), unchecked.
  CEnt* GetEntNo(long i) const { return results_[static_cast<std::size_t>(i)]; }

  using IEntFooVisitor::visit;
  // One line per visible segment, with the polyline's layer, linetype and colour.
  void visit(CEntPolyline& e) override;
  // The first copy of the reference only; array copies are not exploded.
  void visit(CEntInsert& e) override;
  void visit(CEntInsertXRef& e) override;
  void visit(CEntHatch& e) override;

 private:
  void explodeReference(CEntInsert& e);

  CData& d_;
  std::vector<CEnt*> results_;
  int code_;
  bool byBlock_;
  bool attribsAsTexts_;
  bool attdefsAsTexts_;
  bool attdefsAsAttdefs_;
};
