// veltcore/entities/insert.h: CEntInsert, a block reference: a block placed at a point with
// scale factors per axis, a rotation about Z and an optional array of rows and columns.
// An insert in a table counts itself on its block. Its attributes, undo snapshot and
// cloning come with the attribute entities; until then the class is abstract.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/entities/entity.h>

class CBlock;
class CEntFactory;
class IHandleGestor;

class CEntInsert : public CEnt {
 public:
  ~CEntInsert() override;

  void accept(IEntVisitor& v) override;
  // The entity's own registration, then one use of the block.
  void addTbls(IHandleGestor& g) const override;
  void removeTbls(IHandleGestor& g) const override;
  CEntInsert* getEntInsert() override { return this; }
  const CEntInsert* getEntInsert() const override { return this; }
  short getType() const override { return 8; }
  // The block's box mapped through the placement (and grown by the array), in drawing
  // coordinates; the empty region when there is no block or it has no box.
  void calcBdry() override;

  CBlock* getBlock() const { return block_; }
  // Does not renew the box: callers recompute it when the block is in place.
  void setBlock(CBlock* block) { block_ = block; }
  const PNT_3D& getPnt() const { return pnt_; }
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

 protected:
  // Stores everything and computes the box.
  CEntInsert(long handle, CLayer* layer, CLtype* ltype, short color, CBlock* block,
             const PNT_3D& pnt, double sx, double sy, double sz, double rotate, long rows,
             long columns, double columnSpacing, double rowSpacing);
  // A copy with the given handle; the gestor and factory serve the copies of attributes.
  CEntInsert(IHandleGestor& g, CEntFactory& f, const CEntInsert& src, long handle);

 private:
  CBlock* block_;
  PNT_3D pnt_;
  double sx_, sy_, sz_;
  double rotate_;
  double columnSpacing_;
  double rowSpacing_;
  std::int32_t columns_;
  std::int32_t rows_;
};
