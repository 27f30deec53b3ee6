// veltcore/view/projector.h: projectors from model coordinates (x, y, z) to view coordinates
// (u, v) plus a depth, and back: the top (CPO), front (CPV) and side (CPL) orthographic
// views and a general parallel view (CParalProjector). Small values; no drawing is touched.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/geometry/line.h>
#include <veltcore/geometry/rect.h>

class IProjector {
 public:
  // The six operations below keep this declaration order: it is their slot order.
  virtual void to2D(const RECT_3D& box, RECT_2D& view) const = 0;
  virtual void to2D(const PNT_3D& p, PNT_2D& out, double& depth) const = 0;
  virtual void to2D(const PNT_3D& p, PNT_2D& out) const = 0;
  virtual void to2D(double x, double y, double z, double& u, double& v) const = 0;
  virtual void to3D(const PNT_2D& p, double depth, PNT_3D& out) const = 0;
  virtual void to3D(double u, double v, double depth, double& x, double& y, double& z) const = 0;
  // Declared after the operations so that their slots come first.
  virtual ~IProjector() = default;

  // Both ends projected.
  void to2D(const LINE_3D& l, LINE_2D& out) const;
  // Both ends projected, each written as (u, v, depth).
  void to2D(const LINE_3D& l, LINE_3D& out) const;

 protected:
  IProjector() = default;
  IProjector(const IProjector&) = default;
  IProjector& operator=(const IProjector&) = default;
};

// Top view: (x, y) with depth z.
class CPOProjector : public IProjector {
 public:
  using IProjector::to2D;
  void to2D(const RECT_3D& box, RECT_2D& view) const override;
  void to2D(const PNT_3D& p, PNT_2D& out, double& depth) const override;
  void to2D(const PNT_3D& p, PNT_2D& out) const override;
  void to2D(double x, double y, double z, double& u, double& v) const override;
  void to3D(const PNT_2D& p, double depth, PNT_3D& out) const override;
  void to3D(double u, double v, double depth, double& x, double& y, double& z) const override;
};

// Front view: (x, z) with depth y.
class CPVProjector : public IProjector {
 public:
  using IProjector::to2D;
  void to2D(const RECT_3D& box, RECT_2D& view) const override;
  void to2D(const PNT_3D& p, PNT_2D& out, double& depth) const override;
  void to2D(const PNT_3D& p, PNT_2D& out) const override;
  void to2D(double x, double y, double z, double& u, double& v) const override;
  void to3D(const PNT_2D& p, double depth, PNT_3D& out) const override;
  void to3D(double u, double v, double depth, double& x, double& y, double& z) const override;
};

// Side view: (-y, z) with depth x.
class CPLProjector : public IProjector {
 public:
  using IProjector::to2D;
  void to2D(const RECT_3D& box, RECT_2D& view) const override;
  void to2D(const PNT_3D& p, PNT_2D& out, double& depth) const override;
  void to2D(const PNT_3D& p, PNT_2D& out) const override;
  void to2D(double x, double y, double z, double& u, double& v) const override;
  void to3D(const PNT_2D& p, double depth, PNT_3D& out) const override;
  void to3D(double u, double v, double depth, double& x, double& y, double& z) const override;
};

// Parallel view: u = a*x + c*y, v = b*x + d*y + z, depth z. The XY map must be invertible
// (a*d - b*c != 0) for to3D to mean anything; the constructor does not check.
class CParalProjector : public IProjector {
 public:
  CParalProjector(double a, double b, double c, double d);

  using IProjector::to2D;
  void to2D(const RECT_3D& box, RECT_2D& view) const override;
  void to2D(const PNT_3D& p, PNT_2D& out, double& depth) const override;
  void to2D(const PNT_3D& p, PNT_2D& out) const override;
  void to2D(double x, double y, double z, double& u, double& v) const override;
  void to3D(const PNT_2D& p, double depth, PNT_3D& out) const override;
  void to3D(double u, double v, double depth, double& x, double& y, double& z) const override;

 protected:
  double a;
  double b;
  double c;
  double d;
  // 1 / (a*d - b*c), kept so that to3D multiplies instead of dividing.
  double inv;
};
