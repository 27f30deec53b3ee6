// veltcore/hatch/ent_hatch.h: CEntHatch (type 10), a block insert whose anonymous "*PAT" block is
// generated from a catalogue pattern and a boundary, and the createEntHatch calls that make one
// with its block in the drawing's block table.
#pragma once

#include <memory>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/entities/insert.h>

struct HATCH_TYPE;
class CData;

// The insert part is always at the origin with scales 1, no rotation and no array. The block is
// in the drawing's block table, used by this hatch alone, and replaced (never edited) by
// redefine; deleting the hatch leaves it in the table.
class CEntHatch : public CEntInsert {
 public:
  using CEntInsert::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntHatchMemento. The insert part and the hatch values come back; the block is
  // restored entity by entity while it is the recorded one with as many entities, otherwise it
  // is replaced by one generated from the restored values (as redefine does).
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  // A CEntHatchMemento, owned by the caller.
  IEntDerivedMemento* createDerivedMemento() const override;
  short getType() const override { return 10; }

  // The stored values only: the block is not regenerated.
  double getHatchScale() const { return scale_; }
  void setHatchScale(double scale) { scale_ = scale; }
  double getHatchRotate() const { return angle_; }
  void setHatchRotate(double angle) { angle_ = angle; }
  const HATCH_TYPE& getHatchType() const { return *type_; }

  // The boundary as compacted and closed when the hatch was made. The insert's getPnt() (the
  // insertion point) stays in sight beside the boundary's getPnt(i).
  using CEntInsert::getPnt;
  long getNoPnts() const { return static_cast<long>(boundary_.size()); }
  // Point i, unchecked.
  const PNT_3D& getPnt(long i) const { return boundary_[static_cast<std::size_t>(i)]; }
  PNT_3D& getPnt(long i) { return boundary_[static_cast<std::size_t>(i)]; }

  // Regenerates the block from the stored boundary with new values: the old block loses this
  // hatch's use, leaves d's block table and is destroyed; the new one, named after that, enters
  // the table with one use. Nothing happens when all three equal the stored ones. When the new
  // values cannot make a block (a scale that is not positive, say), the old block is put back
  // and the hatch is left as it was.
  void redefine(CData& d, double scale, double angle, const HATCH_TYPE& type);

 protected:
  friend class CEntFactory;

  // With a ready block (which may be null).
  CEntHatch(long handle, CLayer* layer, CLtype* ltype, short color, CBlock* block,
            const HATCH_TYPE& type, double scale, double angle,
            const std::vector<PNT_3D>& boundary);
  // Generates the block under blockName from the compacted boundary with d's current layer, the
  // by-block linetype and colour 0; the block stays null when generation is refused. The block is
  // not added to any table.
  CEntHatch(long handle, CLayer* layer, CLtype* ltype, short color, const String& blockName,
            const HATCH_TYPE& type, double scale, double angle, const std::vector<PNT_3D>& boundary,
            CData& d);
  // A copy whose block is a new "*PAT" block of bt holding a clone of every entity of src's
  // block, added to bt.
  CEntHatch(IHandleGestor& g, CEntFactory& f, CBlockFactory& bf, CBlockTable& bt,
            const CEntHatch& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  double scale_;
  double angle_;
  std::vector<PNT_3D> boundary_;
  const HATCH_TYPE* type_;
};

// The snapshot of a hatch: its insert part, the hatch values, the block it used (not owned), the
// boundary and one snapshot (owned) of each of the block's entities, in block order.
class CEntHatchMemento : public CEntInsertMemento {
 public:
  ~CEntHatchMemento() override;

  // Exact: the insert part, the block (identity), the hatch type (identity), scale, rotation,
  // the boundary point by point, the block's entity count, then each block entity against its
  // snapshot. False for an entity that is not a hatch.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  // The snapshot object only, as for an insert.
  long size() const override { return static_cast<long>(sizeof *this); }

  double getHatchScale() const { return scale_; }
  double getHatchRotate() const { return angle_; }
  const HATCH_TYPE& getHatchType() const { return *type_; }
  CBlock* getBlock() const { return block_; }
  const std::vector<PNT_3D>& getBoundary() const { return boundary_; }
  long getNoPnts() const { return static_cast<long>(boundary_.size()); }
  // The number of block entities recorded and the snapshot of entity i (unchecked).
  long getNoEntities() const { return static_cast<long>(entities_.size()); }
  const IEntDerivedMemento* getEntityMemento(int i) const {
    return entities_[static_cast<std::size_t>(i)].get();
  }

 private:
  friend class CEntHatch;
  explicit CEntHatchMemento(const CEntHatch& h);

  double scale_;
  double angle_;
  const HATCH_TYPE* type_;
  CBlock* block_;
  std::vector<PNT_3D> boundary_;
  std::vector<std::unique_ptr<IEntDerivedMemento>> entities_;
};

// A hatch with a new "*PAT" block generated from boundary, added to d's block table; the caller
// adds the hatch to an entity table. The hatch's handle is booked before its lines'. Null, with
// that handle given back and no block made, when generation is refused (fewer than 3 points or 4
// compacted ones, a scale that is not positive).
CEntHatch* createEntHatch(CData& d, CLayer* layer, CLtype* ltype, short color,
                          const HATCH_TYPE& type, double scale, double angle,
                          const std::vector<PNT_3D>& boundary, long handle);
// With d's current layer, linetype and colour.
CEntHatch* createEntHatch(CData& d, const HATCH_TYPE& type, double scale, double angle,
                          const std::vector<PNT_3D>& boundary, long handle);
