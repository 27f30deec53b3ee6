// veltcore/view/wnd_vpt.h: viewport windows. CWndVpt maps a rectangle of view-plane (world)
// coordinates onto a raster of pixels whose row 0 is the top, with zoom, pan, resize, a
// required ratio between the two scales, and undo snapshots (CWndVptMemento). Plain values;
// no drawing is touched.
#pragma once

#include <veltcore/geometry/rect.h>

class CWndVptMemento;

class CWndVpt {
 public:
  // ratio: the required scale x / scale y (1 for an isotropic view). Scales start at 0 and
  // the view size at -1 x -1 until the first resize; the window starts as the point (0, 0),
  // so that a resize before any set still has defined corners to work from.
  explicit CWndVpt(double ratio);
  CWndVpt() : CWndVpt(1.0) {}

  // Sets the visible world window. A zero extent is widened to 1 around its coordinate; the
  // window then grows to the right or upward until its scales have the required ratio. With
  // no usable view size (under 2 x 2 pixels) the scales become 0 and the centre stays.
  void set(double x1, double y1, double x2, double y2);
  void set(const RECT_2D& r) { set(r.min.getX(), r.min.getY(), r.max.getX(), r.max.getY()); }
  void get(double& x1, double& y1, double& x2, double& y2) const { window_.get(x1, y1, x2, y2); }
  const RECT_2D& getWindow() const { return window_; }
  void get(long& width, long& height) const {
    width = width_;
    height = height_;
  }

  // Stores a new view size; false when it is the size already stored. After the first
  // resize, the lower-left corner and the scales are kept and the window grows or shrinks at
  // its right and top edges.
  bool resize(long width, long height);

  void getScaleFactor(double& sx, double& sy) const {
    sx = sx_;
    sy = sy_;
  }
  // Makes r the required ratio, narrowing the window at the right or lowering its top edge;
  // the centre is left where it was.
  void setScaleFactor(double r);
  double getRatioFactor() const { return ratio_; }
  bool isIsotropic() const { return ratio_ == 1.0; }

  // World to pixels: X grows to the right from the window's left edge, Y grows downward from
  // its top edge. X rounds halves up, Y rounds halves down.
  double getViewX(double x) const { return (x - window_.min.getX()) * sx_; }
  double getViewY(double y) const { return (window_.max.getY() - y) * sy_; }
  int getViewXInt(double x) const;
  int getViewYInt(double y) const;
  double getViewXDistance(double d) const { return d * sx_; }
  double getViewYDistance(double d) const { return d * sy_; }
  // Pixels to world.
  double getWorldX(double u) const { return u / sx_ + window_.min.getX(); }
  double getWorldY(double v) const { return window_.max.getY() - v / sy_; }
  double getWorldXDistance(double d) const { return d / sx_; }
  double getWorldYDistance(double d) const { return d / sy_; }

  // Multiplies both scales by f and rebuilds the window about the unchanged centre.
  void zoom(double f);
  // Moves the window and its centre by (dx, dy) world units.
  void pan(double dx, double dy);

  // A new snapshot of centre, scales and ratio, owned by the caller.
  CWndVptMemento* createMemento() const;
  // Restores the snapshot's five values and rebuilds the window for the current view size.
  void setMemento(CWndVptMemento& m);

  // Rebuilds the window from the centre, the scales and the view size. For an even size the
  // centre falls between two pixels, hence the half-pixel offset. Without scales (no usable
  // view size yet) the window is left as it is.
  void CalcExtUsingCenterAndScale();

 private:
  friend class CWndVptMemento;

  RECT_2D window_;
  double cx_ = 0.0;
  double cy_ = 0.0;
  double sx_ = 0.0;
  double sy_ = 0.0;
  double ratio_;
  long width_ = -1;
  long height_ = -1;

  bool hasScales() const { return sx_ != 0.0 && sy_ != 0.0; }
};

// The state from which a viewport window's extent is rebuilt: centre, the two scales and the
// required ratio. Compared with a window exactly.
class CWndVptMemento {
 public:
  CWndVptMemento(const CWndVptMemento&) = default;
  CWndVptMemento& operator=(const CWndVptMemento&) = default;
  virtual ~CWndVptMemento();

  bool operator==(const CWndVpt& w) const;
  bool operator!=(const CWndVpt& w) const { return !(*this == w); }

 private:
  friend class CWndVpt;
  CWndVptMemento(double cx, double cy, double sx, double sy, double ratio)
      : cx_(cx), cy_(cy), sx_(sx), sy_(sy), ratio_(ratio) {}

  double cx_;
  double cy_;
  double sx_;
  double sy_;
  double ratio_;
};
