// view/wnd_vpt.cpp: the viewport window (world window, centre, scales, required ratio and
// pixel size) and its snapshot. Pure arithmetic on the window's own fields.
#include <veltcore/core/rounding.h>
#include <veltcore/view/wnd_vpt.h>

#include <cmath>

CWndVpt::CWndVpt(double ratio) : window_(0.0, 0.0, 0.0, 0.0), ratio_(ratio) {}

void CWndVpt::set(double x1, double y1, double x2, double y2) {
  double w = std::fabs(x2 - x1);
  double h = std::fabs(y2 - y1);
  if (w == 0.0) {
    w = 1.0;
    x1 -= 0.5;
    x2 += 0.5;
  }
  if (h == 0.0) {
    h = 1.0;
    y1 -= 0.5;
    y2 += 0.5;
  }
  window_.set(x1, y1, x2, y2);
  if (width_ < 2 || height_ < 2) {
    sx_ = sy_ = 0.0;
    return;
  }
  sx_ = static_cast<double>(width_ - 1) / w;
  sy_ = static_cast<double>(height_ - 1) / h;
  // The axis that would be drawn larger is given more world so that both fill the view.
  if (sy_ * ratio_ <= sx_) {
    sx_ = sy_ * ratio_;
    window_.max.setX(static_cast<double>(width_ - 1) / sx_ + window_.min.getX());
  } else {
    sy_ = sx_ / ratio_;
    window_.max.setY(static_cast<double>(height_ - 1) / sy_ + window_.min.getY());
  }
  cx_ = (window_.min.getX() + window_.max.getX()) / 2.0;
  cy_ = (window_.min.getY() + window_.max.getY()) / 2.0;
}

bool CWndVpt::resize(long width, long height) {
  if (width == width_ && height == height_) return false;
  const long oldHeight = height_;
  // A view of one pixel (or none yet) has scales 0: there is nothing to keep, and keeping it
  // would divide by zero, so the window is then set again from its corners for the new size.
  const bool keepScales = width_ >= 1 && height_ >= 1 && hasScales();
  double x1, y1, x2, y2;
  window_.get(x1, y1, x2, y2);
  if (keepScales) {
    x2 = getWorldX(static_cast<double>(width - 1));
    y2 = getWorldY(static_cast<double>(oldHeight - height));
  }
  width_ = width;
  height_ = height;
  set(x1, y1, x2, y2);
  return true;
}

void CWndVpt::setScaleFactor(double r) {
  if (hasScales()) {
    if (r <= ratio_) {
      sx_ = r * sy_;
      window_.max.setX(static_cast<double>(width_ - 1) / sx_ + window_.min.getX());
    } else {
      sy_ = sx_ / r;
      window_.max.setY(static_cast<double>(height_ - 1) / sy_ + window_.min.getY());
    }
  }
  ratio_ = r;
}

int CWndVpt::getViewXInt(double x) const {
  return iround(getViewX(x));
}

int CWndVpt::getViewYInt(double y) const {
  return iround_down(getViewY(y));
}

void CWndVpt::zoom(double f) {
  sx_ *= f;
  sy_ *= f;
  CalcExtUsingCenterAndScale();
}

void CWndVpt::pan(double dx, double dy) {
  window_.set(window_.min.getX() + dx, window_.min.getY() + dy, window_.max.getX() + dx,
              window_.max.getY() + dy);
  cx_ += dx;
  cy_ += dy;
}

CWndVptMemento* CWndVpt::createMemento() const {
  return new CWndVptMemento(cx_, cy_, sx_, sy_, ratio_);
}

void CWndVpt::setMemento(CWndVptMemento& m) {
  cx_ = m.cx_;
  cy_ = m.cy_;
  sx_ = m.sx_;
  sy_ = m.sy_;
  ratio_ = m.ratio_;
  CalcExtUsingCenterAndScale();
}

namespace {

// Distance in pixels from the view's first pixel to its centre: the middle pixel of an odd
// size, halfway between the two middle pixels of an even one.
double centreOffset(long size) {
  const long half = size / 2;
  return size % 2 != 0 ? static_cast<double>(half) : static_cast<double>(half) - 0.5;
}

}  // namespace

void CWndVpt::CalcExtUsingCenterAndScale() {
  if (!hasScales() || width_ < 1 || height_ < 1) return;
  const double minX = cx_ - centreOffset(width_) / sx_;
  const double minY = cy_ - centreOffset(height_) / sy_;
  window_.min.set(minX, minY);
  window_.max.set(static_cast<double>(width_ - 1) / sx_ + minX,
                  static_cast<double>(height_ - 1) / sy_ + minY);
}

CWndVptMemento::~CWndVptMemento() = default;

bool CWndVptMemento::operator==(const CWndVpt& w) const {
  return cx_ == w.cx_ && cy_ == w.cy_ && sx_ == w.sx_ && sy_ == w.sy_ && ratio_ == w.ratio_;
}
