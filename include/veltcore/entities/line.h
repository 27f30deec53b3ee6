// veltcore/entities/line.h: CEntLine, the segment entity (type 2), and its snapshot
// CEntLineMemento. Created through CEntFactory (or the createEntLine calls), never directly.
// A caller that changes the segment through the non-const getLine() must call calcBdry() itself.
#pragma once

#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>
#include <veltcore/geometry/line.h>

class CEntLine : public CEnt {
 public:
  using CEnt::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntLineMemento: the segment comes back and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 2; }
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  const LINE_3D& getLine() const { return line_; }
  LINE_3D& getLine() { return line_; }
  // Start x, y, z, then end x, y, z.
  void getLine(double& x1, double& y1, double& z1, double& x2, double& y2, double& z2) const {
    line_.get(x1, y1, z1, x2, y2, z2);
  }
  void setLine(const LINE_3D& l);
  void setLine(double x1, double y1, double z1, double x2, double y2, double z2);

 protected:
  friend class CEntFactory;

  CEntLine(long handle, CLayer* layer, CLtype* ltype, short color, const LINE_3D& l);
  CEntLine(const CEntLine& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  LINE_3D line_;
};

// The segment of a CEntLine as it was when the snapshot was taken.
class CEntLineMemento : public IEntDerivedMemento {
 public:
  // Exact; an entity of another class never equals the snapshot.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const LINE_3D& getLine() const { return line_; }

 private:
  friend class CEntLine;
  explicit CEntLineMemento(const LINE_3D& l) : line_(l) {}

  LINE_3D line_;
};
