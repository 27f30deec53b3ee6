// veltcore/entities/arc.h: CEntArc, the arc entity (type 4), and its snapshot CEntArcMemento.
// Created through CEntFactory (or the createEntArc calls), never directly. A caller that changes
// the arc through the non-const getArc() must call calcBdry() itself.
#pragma once

#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>
#include <veltcore/geometry/arc.h>

class CEntArc : public CEnt {
 public:
  using CEnt::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntArcMemento: the arc comes back and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 4; }
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  const ARC_3D& getArc() const { return arc_; }
  ARC_3D& getArc() { return arc_; }
  // Centre x, y, z, radius, start and end angle, as ARC_3D::get.
  void getArc(double& x, double& y, double& z, double& r, double& s, double& e) const {
    arc_.get(x, y, z, r, s, e);
  }
  // Stored as given.
  void setArc(const ARC_3D& a);
  // Through ARC_3D::set, which brings both angles into [0, 2*pi].
  void setArc(double x, double y, double z, double r, double s, double e);

 protected:
  friend class CEntFactory;

  CEntArc(long handle, CLayer* layer, CLtype* ltype, short color, const ARC_3D& a);
  CEntArc(const CEntArc& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  ARC_3D arc_;
};

// The arc of a CEntArc as it was when the snapshot was taken.
class CEntArcMemento : public IEntDerivedMemento {
 public:
  // Exact; an entity of another class never equals the snapshot.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const ARC_3D& getArc() const { return arc_; }

 private:
  friend class CEntArc;
  explicit CEntArcMemento(const ARC_3D& a) : arc_(a) {}

  ARC_3D arc_;
};
