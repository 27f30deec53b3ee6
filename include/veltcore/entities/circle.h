// veltcore/entities/circle.h: CEntCircle, the circle entity (type 3), and its snapshot
// CEntCircleMemento. Created through CEntFactory (or the createEntCircle calls), never directly.
// A caller that changes the circle through the non-const getCircle() must call calcBdry() itself.
#pragma once

#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>
#include <veltcore/geometry/arc.h>

class CEntCircle : public CEnt {
 public:
  using CEnt::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntCircleMemento: the circle comes back and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 3; }
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  const CIRCLE_3D& getCircle() const { return circle_; }
  CIRCLE_3D& getCircle() { return circle_; }
  // Centre x, y, z, then radius, as CIRCLE_3D::get.
  void getCircle(double& x, double& y, double& z, double& r) const { circle_.get(x, y, z, r); }
  void setCircle(const CIRCLE_3D& c);
  void setCircle(double x, double y, double z, double r);

 protected:
  friend class CEntFactory;

  CEntCircle(long handle, CLayer* layer, CLtype* ltype, short color, const CIRCLE_3D& c);
  CEntCircle(const CEntCircle& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  CIRCLE_3D circle_;
};

// The circle of a CEntCircle as it was when the snapshot was taken.
class CEntCircleMemento : public IEntDerivedMemento {
 public:
  // Exact; an entity of another class never equals the snapshot.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const CIRCLE_3D& getCircle() const { return circle_; }

 private:
  friend class CEntCircle;
  explicit CEntCircleMemento(const CIRCLE_3D& c) : circle_(c) {}

  CIRCLE_3D circle_;
};
