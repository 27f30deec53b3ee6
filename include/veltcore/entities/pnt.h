// veltcore/entities/pnt.h: CEntPnt, the point entity (type 1), and its snapshot CEntPntMemento.
// Created through CEntFactory (or the createEntPnt calls), never directly. A caller that moves
// the point through the non-const getPnt() must call calcBdry() itself; the setters do it.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>

class CEntPnt : public CEnt {
 public:
  using CEnt::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntPntMemento: the point comes back and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 1; }
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  const PNT_3D& getPnt() const { return pnt_; }
  PNT_3D& getPnt() { return pnt_; }
  void getPnt(double& x, double& y, double& z) const { pnt_.get(x, y, z); }
  void setPnt(const PNT_3D& p);
  void setPnt(double x, double y, double z);

 protected:
  friend class CEntFactory;

  CEntPnt(long handle, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p);
  CEntPnt(const CEntPnt& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  PNT_3D pnt_;
};

// The point of a CEntPnt as it was when the snapshot was taken.
class CEntPntMemento : public IEntDerivedMemento {
 public:
  // Exact; an entity of another class never equals the snapshot.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const PNT_3D& getPnt() const { return pnt_; }

 private:
  friend class CEntPnt;
  explicit CEntPntMemento(const PNT_3D& p) : pnt_(p) {}

  PNT_3D pnt_;
};
