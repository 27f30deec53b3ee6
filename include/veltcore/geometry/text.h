// veltcore/geometry/text.h: the placement of one line of text. CTextContext holds the text's own
// parameters, TEXT_3D places it with a style and one of twelve justifications, and
// transform_text carries a block's text into an insert. Metrics come from the style's font.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/geometry/rect.h>

class CEntInsert;
class CStyle;

// Height, oblique angle, width scale, rotation (radians) and string of a text.
class CTextContext {
 public:
  // Empty string, all numbers 0.
  CTextContext() = default;
  // Stores every value as given; only setRotate brings the rotation into [0, 2*pi].
  CTextContext(const String& s, double height, double oblique, double widthScale, double rotate);

  double getHeight() const { return height_; }
  void setHeight(double h) { height_ = h; }
  double getOblique() const { return oblique_; }
  void setOblique(double o) { oblique_ = o; }
  double getWidthScale() const { return widthScale_; }
  void setWidthScale(double w) { widthScale_ = w; }
  double getRotate() const { return rotate_; }
  // Adds 2*pi while r < 0 and subtracts it while r > 2*pi, so exactly 2*pi stays 2*pi.
  void setRotate(double r);
  const String& getString() const { return string_; }
  void setString(const String& s) { string_ = s; }

  // Strings equal case-sensitively and the four numbers exactly equal.
  bool operator==(const CTextContext& c) const;
  bool operator!=(const CTextContext& c) const { return !(*this == c); }

 private:
  double height_ = 0.0;
  double oblique_ = 0.0;
  double widthScale_ = 0.0;
  double rotate_ = 0.0;
  String string_;
};

// A single line of text placed at an insertion point, with a style (not owned) and a
// justification index 0-11 into s_hAlign / s_vAlign / s_lpszAlignNames.
class TEXT_3D {
 public:
  // Horizontal codes.
  static constexpr long kLeft = 0;
  static constexpr long kCenter = 1;
  static constexpr long kRight = 2;
  // Vertical codes.
  static constexpr long kBaseline = 0;
  static constexpr long kBottom = 1;
  static constexpr long kMiddle = 2;
  static constexpr long kTop = 3;
  static constexpr int kAlignCount = 12;

  static const long s_hAlign[kAlignCount];
  static const long s_vAlign[kAlignCount];
  static const char* const s_lpszAlignNames[kAlignCount];

  // Empty text at the origin, no style, justification 0.
  TEXT_3D();
  TEXT_3D(const CTextContext& context, CStyle* style, double x, double y, double z, long align);
  TEXT_3D(const String& s, CStyle* style, double height, double oblique, double widthScale,
          double rotate, double x, double y, double z, long align);

  // The first index whose codes are (h, v); 0 when no index has them.
  static long findJustify(long h, long v);
  // The name of justification i; null when i is not 0-11.
  static const char* getAlignName(long i);

  // Contexts, justifications and insertion points; the style is not compared.
  bool operator==(const TEXT_3D& t) const;
  bool operator!=(const TEXT_3D& t) const { return !(*this == t); }

  const PNT_3D& getPnt() const { return pnt_; }
  PNT_3D& getPnt() { return pnt_; }
  void setPnt(const PNT_3D& p) { pnt_ = p; }
  const CTextContext& getContext() const { return context_; }
  CTextContext& getContext() { return context_; }
  void setContext(const CTextContext& c) { context_ = c; }
  CStyle* getStyle() const { return style_; }
  void setStyle(CStyle* s) { style_ = s; }

  long getAlign() const { return align_; }
  // Stored as given; an index outside 0-11 reads as justification 0 in the lookups below.
  void setAlign(long a) { align_ = a; }
  long getHorizAlign() const;
  long getVertAlign() const;
  // Keeps the other code: findJustify(h, current vertical).
  void setHorizAlign(long h) { align_ = findJustify(h, getVertAlign()); }
  void setVertAlign(long v) { align_ = findJustify(getHorizAlign(), v); }

  // Offset from the insertion point to the base point (left end of the baseline), turned by the
  // rotation. Justification 0 gives (0, 0) without a font; so does a text whose style has no
  // font (or a font of cell height <= 0): such a text has no extent.
  void getDeltaXY(double& dx, double& dy) const;
  // Insertion point plus getDeltaXY, same z.
  void getBasePoint(PNT_3D& p) const;
  // The four corners of the text's cell, bottom left, bottom right, top right, top left, sheared
  // by the oblique angle (horizontal styles only), rotated and placed at the insertion point.
  void getExtremes(double xs[4], double ys[4]) const;
  void calc_bdry(RECT_2D& r) const;
  // As the 2D box, at the insertion point's z.
  void calc_bdry(RECT_3D& r) const;

  // Insertion point scaled about centre (z included), height times f.
  void scale(const PNT_3D& centre, double f);
  // Insertion point turned about centre; a is added to the rotation.
  void rotate(const PNT_3D& centre, double a);

 private:
  PNT_3D pnt_;
  CTextContext context_;
  CStyle* style_;
  long align_;

  static long checkedAlign(long a) { return (a >= 0 && a < kAlignCount) ? a : 0; }
};

// Carries text t of ins's block into drawing coordinates: its insertion point, height, rotation,
// oblique angle and width scale after ins's scales and rotation. False, with nothing written,
// when one of ins's scales is 0.
bool transform_text(const CEntInsert& ins, const TEXT_3D& t, PNT_3D& pos, double& height,
                    double& rotate, double& oblique, double& widthScale);
