// veltcore/entities/insert.h: CEntInsert (type 8), a block placed at a point with scales, a
// rotation, an optional array and its own attributes; CEntInsertXRef, the insert of an external
// reference; CEntInsertMemento, their snapshot. An insert owns its attributes and deletes them;
// in a table it counts itself once on its block (and on the dependency record for a reference).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>

class CBlock;
class CBlockXRef;
class CBlockXRefDepend;
class CEntAttrib;
class CEntFactory;
class IHandleGestor;

class CEntInsert : public CEnt {
 public:
  using CEnt::setMemento;

  // Deletes the attributes, in order.
  ~CEntInsert() override;

  void accept(IEntVisitor& v) override;
  // The entity's own registration, one use of the block, then each attribute's registration
  // (handle, layer, linetype, style), in order.
  void addTbls(IHandleGestor& g) const override;
  void removeTbls(IHandleGestor& g) const override;
  // m must be a CEntInsertMemento: the placement comes back (not the block), then attribute i
  // takes snapshot i for as many as both have; then the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  CEntInsert* getEntInsert() override { return this; }
  const CEntInsert* getEntInsert() const override { return this; }
  short getType() const override { return 8; }
  // The block's box joined by the attributes' boxes (all in block coordinates), grown by the
  // array and mapped through the placement; the empty region when there is nothing to box.
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  CBlock* getBlock() const { return block_; }
  // Moves no count and does not renew the box: callers recompute it when the block is in place.
  void setBlock(CBlock* block) { block_ = block; }
  const PNT_3D& getPnt() const { return pnt_; }
  // A caller that moves the point through this form moves the box itself.
  PNT_3D& getPnt() { return pnt_; }
  void setPnt(const PNT_3D& pnt);
  void setPnt(double x, double y, double z);
  void getScale(double& sx, double& sy, double& sz) const;
  void setScale(double sx, double sy, double sz);
  double getRotate() const { return rotate_; }
  void setRotate(double rotate);
  void getArray(long& rows, long& columns, double& columnSpacing, double& rowSpacing) const;
  void setArray(long rows, long columns, double columnSpacing, double rowSpacing);
  void setInsert(const PNT_3D& pnt, double sx, double sy, double sz, double rotate);
  void setInsert(const PNT_3D& pnt, double sx, double sy, double sz, double rotate, long rows,
                 long columns, double columnSpacing, double rowSpacing);
  // The X and Y scales are exactly equal.
  bool IsIsotropicXY() const { return sx_ == sy_; }

  // Appends a, which the insert owns from now on, and renews the box. An insert in a table does
  // not register a late attribute: the caller adds attributes before adding the insert.
  void add(CEntAttrib* a);
  long size() const { return static_cast<long>(attribs_.size()); }
  // Attribute i, unchecked.
  CEntAttrib& operator[](int i) const { return *attribs_[static_cast<std::size_t>(i)]; }

 protected:
  friend class CEntFactory;

  // Stores everything and computes the box; no attributes.
  CEntInsert(long handle, CLayer* layer, CLtype* ltype, short color, CBlock* block,
             const PNT_3D& pnt, double sx, double sy, double sz, double rotate, long rows,
             long columns, double columnSpacing, double rowSpacing);
  // A copy with the given handle; every attribute of src is copied in order through f with a
  // fresh handle from g. When an attribute cannot be had, the copies made so far are deleted and
  // the failure passes on (std::bad_alloc for a null from f).
  CEntInsert(IHandleGestor& g, CEntFactory& f, const CEntInsert& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  CBlock* block_;
  PNT_3D pnt_;
  double sx_, sy_, sz_;
  double rotate_;
  double columnSpacing_;
  double rowSpacing_;
  std::int32_t columns_;
  std::int32_t rows_;
  std::vector<CEntAttrib*> attribs_;

  void copyAttribs(IHandleGestor& g, CEntFactory& f, const CEntInsert& src);
  void deleteAttribs();
};

// An insert of an external reference. In a table it also holds one use of the reference in the
// dependency record it was made with (the drawing's, for inserts in the drawing).
class CEntInsertXRef : public CEntInsert {
 public:
  void accept(IEntVisitor& v) override;
  // As CEntInsert, then one use of the reference is added to (dropped from) the record.
  void addTbls(IHandleGestor& g) const override;
  void removeTbls(IHandleGestor& g) const override;

  // The block, which is always the external reference this insert was made with.
  CBlockXRef* getXRef() const;

 protected:
  friend class CEntFactory;

  CEntInsertXRef(long handle, CLayer* layer, CLtype* ltype, short color, CBlockXRefDepend& depend,
                 CBlockXRef* xref, const PNT_3D& pnt, double sx, double sy, double sz,
                 double rotate, long rows, long columns, double columnSpacing, double rowSpacing);
  // As CEntInsert's copy; the copy uses the same dependency record.
  CEntInsertXRef(IHandleGestor& g, CEntFactory& f, const CEntInsertXRef& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  CBlockXRefDepend* depend_;
};

// The placement of an insert (not its block) and one (attribute, attribute snapshot) pair per
// attribute, in order. Owns the attribute snapshots, not the attributes.
class CEntInsertMemento : public IEntDerivedMemento {
 public:
  ~CEntInsertMemento() override;
  CEntInsertMemento(const CEntInsertMemento&) = delete;
  CEntInsertMemento& operator=(const CEntInsertMemento&) = delete;

  // Exact: point, scales, rotation, spacings, columns, rows, the number of attributes, then each
  // attribute snapshot against the insert's attribute of the same index. False for an entity
  // that is not an insert.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  // The snapshot object only, as the attribute snapshots are counted by their own classes.
  long size() const override { return static_cast<long>(sizeof *this); }

  const PNT_3D& getPnt() const { return pnt_; }
  void getScale(double& sx, double& sy, double& sz) const;
  double getRotate() const { return rotate_; }
  void getArray(long& rows, long& columns, double& columnSpacing, double& rowSpacing) const;
  long getNoAttribs() const { return static_cast<long>(attribs_.size()); }
  // The attribute recorded at index i (not owned) and its snapshot; unchecked index.
  CEntAttrib* getAttrib(int i) const { return attribs_[static_cast<std::size_t>(i)].first; }
  const IEntDerivedMemento* getAttribMemento(int i) const {
    return attribs_[static_cast<std::size_t>(i)].second;
  }

 protected:
  friend class CEntInsert;
  explicit CEntInsertMemento(const CEntInsert& e);

 private:
  PNT_3D pnt_;
  double sx_, sy_, sz_;
  double rotate_;
  double columnSpacing_;
  double rowSpacing_;
  std::int32_t columns_;
  std::int32_t rows_;
  std::vector<std::pair<CEntAttrib*, IEntDerivedMemento*>> attribs_;
};
