// entities/exploder_block_visitor.h (internal): the visitor CEntExploderVisitor runs over every
// entity of a reference's block and every attribute of the reference, making each one's copy in
// drawing coordinates, and the holder that gives back a new object's handles when it is dropped.
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/entities/insert_matrix.h>
#include <veltcore/entities/visitor.h>

class CBlockXRef;
class CData;
class CEnt;
class CEntInsert;
class CLtype;
class IHandleEnt;
class TEXT_3D;

namespace veltcore::detail {

// Gives back the handles of an object that never entered the drawing (its own and those of its
// vertices or attributes), through the drawing's factory.
void unbookUnlisted(CData& d, IHandleEnt* e);

// Holds a new entity or vertex, in no table yet, until it is handed on with release(). Dropped
// unreleased (a part that could not be made, an exception), it gives its handles back and
// deletes the object, so that an explosion that stops half way leaves nothing behind.
template <class T>
class CUnlisted {
 public:
  CUnlisted(CData& d, T* p) : d_(d), p_(p) {}
  ~CUnlisted() {
    if (p_ == nullptr) return;
    unbookUnlisted(d_, p_);
    delete p_;
  }
  CUnlisted(const CUnlisted&) = delete;
  CUnlisted& operator=(const CUnlisted&) = delete;

  explicit operator bool() const { return p_ != nullptr; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T* release() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  CData& d_;
  T* p_;
};

// Appends e to results; a null e (memory could not be had) is left out.
void keepResult(CData& d, std::vector<CEnt*>& results, CEnt* e);

}  // namespace veltcore::detail

class CEntExploderBlockVisitor : public IEntFooVisitor {
 public:
  // The four options as CEntExploderVisitor's. matrix maps ref's block into the drawing (the
  // first copy); refLtype and refColor replace the by-block ones when byBlock is on.
  CEntExploderBlockVisitor(CData& d, std::vector<CEnt*>& results, const CEntInsert& ref,
                           const CEntInsertMatrix& matrix, CLtype* refLtype, short refColor,
                           bool byBlock, bool attribsAsTexts, bool attdefsAsTexts,
                           bool attdefsAsAttdefs);

  using IEntFooVisitor::visit;
  void visit(CEnt3DFace& e) override;
  void visit(CEntHatch& e) override;
  void visit(CEntAttrib& e) override;
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  void visit(CEntPolyline& e) override;
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

 private:
  // The linetype and colour a copy of e gets; its layer is always e's own.
  CLtype* ltypeOf(const CEnt& e) const;
  short colorOf(const CEnt& e) const;
  PNT_3D map(const PNT_3D& p) const;
  // t carried into the drawing with the reference's placement; false when that cannot be done.
  bool carry(const TEXT_3D& t, TEXT_3D& out) const;
  // The placement of a nested reference combined with the outer one; false when the two cannot
  // be combined (a turned nested reference with either reference not isotropic).
  bool combine(const CEntInsert& nested, PNT_3D& pnt, double& sx, double& sy, double& sz,
               double& rotate) const;
  // A new reference like e (of xref when not null) with the combined placement, its attributes
  // cloned unchanged.
  void copyReference(const CEntInsert& e, CBlockXRef* xref);
  void keep(CEnt* e);

  CData& d_;
  std::vector<CEnt*>& results_;
  const CEntInsert& ref_;
  CEntInsertMatrix matrix_;
  CLtype* refLtype_;
  short refColor_;
  bool byBlock_;
  bool attribsAsTexts_;
  bool attdefsAsTexts_;
  bool attdefsAsAttdefs_;
};
