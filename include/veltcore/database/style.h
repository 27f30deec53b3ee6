// veltcore/database/style.h: text styles (CStyle, the standard style CStyleStandard), their
// visitor, undo snapshot, table and factory. A style names a font it does not own.
// Besides the entity count, a style counts the linetype text dashes that use it (AddLtype).
#pragma once

#include <cstdint>

#include <veltcore/core/string.h>
#include <veltcore/database/named_item.h>

class CStyle;
class CStyleFactory;
class CStyleMemento;
class CStyleStandard;
class CStyleTable;
class ICADFont;

// A host's operation on the two style classes; the library only dispatches to it.
class IStyleVisitor {
 public:
  virtual void visit(CStyleStandard& style) = 0;
  virtual void visit(CStyle& style) = 0;

 protected:
  ~IStyleVisitor() = default;
};

class CStyle : public CNamedItem {
 public:
  // Flag bits of a style.
  static constexpr long kShape = 1;
  static constexpr long kVertical = 4;
  static constexpr long kBold = 256;
  static constexpr long kItalic = 512;

  ~CStyle() override;
  virtual void accept(IStyleVisitor& visitor);
  virtual bool isStandard() const { return false; }

  // Name, flags and entity count, the four doubles and the font; the linetype uses stay.
  CStyle& operator=(const CStyle& src);
  // Equal as named items, the same font object, and the same fixed height, width scale and
  // oblique; the last height and the use counts do not matter.
  bool operator==(const CStyle& other) const;
  bool operator!=(const CStyle& other) const { return !(*this == other); }

  const ICADFont* getFont() const { return font_; }
  void setFont(const ICADFont* font) { font_ = font; }
  // 0.0 means the height is not fixed by the style.
  double getFixedHeight() const { return fixedHeight_; }
  void setFixedHeight(double h) { fixedHeight_ = h; }
  double getWidthScale() const { return widthScale_; }
  void setWidthScale(double w) { widthScale_ = w; }
  double getOblique() const { return oblique_; }
  void setOblique(double o) { oblique_ = o; }
  double getLastHeight() const { return lastHeight_; }
  void setLastHeight(double h) { lastHeight_ = h; }
  // Remembers h for the next text, unless the style fixes the height (exactly 0.0 means free).
  void updateLastHeight(double h);

  bool IsShape() const { return (getFlags() & kShape) != 0; }
  bool isHoriz() const { return (getFlags() & kVertical) == 0; }
  void setHoriz(bool on) { setFlags(kVertical, !on); }
  bool isBold() const { return (getFlags() & kBold) != 0; }
  void setBold(bool on) { setFlags(kBold, on); }
  bool isItalic() const { return (getFlags() & kItalic) != 0; }
  void setItalic(bool on) { setFlags(kItalic, on); }

  // Uses by linetype text dashes, moved only by the dashes themselves.
  void AddLtype();
  void DecLtype();
  long GetNoLtype() const { return ltypeUses_; }

  // A new snapshot of name, the four doubles, font and flags, owned by the caller.
  CStyleMemento* createMemento() const;
  void setMemento(const CStyleMemento& m);

 protected:
  friend class CStyleFactory;
  // No linetype uses yet.
  CStyle(const String& name, const ICADFont* font, double fixedHeight, double widthScale,
         double oblique, double lastHeight, long flags);
  // Copies the linetype uses too, although no dash of the copy exists yet; the entity count
  // starts at 0 as for any new item.
  CStyle(const CStyle& src);

 private:
  double fixedHeight_;
  double widthScale_;
  double oblique_;
  double lastHeight_;
  const ICADFont* font_;
  std::int32_t ltypeUses_;
};

// The style "STANDARD" every style table starts with.
class CStyleStandard : public CStyle {
 public:
  CStyleStandard(const ICADFont* font, double fixedHeight, double widthScale, double oblique,
                 double lastHeight, long flags);

  void accept(IStyleVisitor& visitor) override;
  bool isStandard() const override { return true; }
};

// An undo snapshot of a style: the seven values setMemento writes back.
class CStyleMemento {
 public:
  const String& getName() const { return name_; }
  double getFixedHeight() const { return fixedHeight_; }
  double getWidthScale() const { return widthScale_; }
  double getOblique() const { return oblique_; }
  double getLastHeight() const { return lastHeight_; }
  const ICADFont* getFont() const { return font_; }
  long getFlags() const { return flags_; }

  // All seven exactly: the name case-sensitively, the font by identity.
  bool operator==(const CStyle& style) const;
  bool operator!=(const CStyle& style) const { return !(*this == style); }

 private:
  friend class CStyle;
  explicit CStyleMemento(const CStyle& style);

  String name_;
  double fixedHeight_;
  double widthScale_;
  double oblique_;
  double lastHeight_;
  const ICADFont* font_;
  std::int32_t flags_;
};

inline bool operator==(const CStyle& style, const CStyleMemento& m) {
  return m == style;
}
inline bool operator!=(const CStyle& style, const CStyleMemento& m) {
  return m != style;
}

// The styles of a drawing (or of an external reference), owned, in order of addition. The
// standard style is made by the constructor, with the font table's default font, and is the
// first entry: deleted with the table like every other style.
class CStyleTable : public CNamedItemTableImp {
 public:
  CStyleTable();
  CStyleTable(const CStyleTable&) = delete;
  CStyleTable& operator=(const CStyleTable&) = delete;

  // Unusable after clearAll, which deletes it.
  CStyleStandard& getStyleStandard() const { return *standard_; }

  // Appends style; the table owns it.
  void add(CStyle* style) { CNamedItemTableImp::add(style); }
  // Takes style out without deleting it; nothing happens when it is not listed.
  void remove(CStyle* style) { CNamedItemTableImp::remove(style); }
  // The first style named name ignoring case; null when none is.
  CStyle* get(const String& name) const;
  // Deletes every style, the standard one included: only the owner's destruction does this.
  void clearAll();
  // The i-th style, unchecked.
  CStyle* operator[](int i) const;

 private:
  CStyleStandard* standard_;
};

// Makes styles; a host may derive its own. Every result belongs to the caller until a table
// takes it.
class CStyleFactory {
 public:
  virtual ~CStyleFactory();
  // A plain copy of style (a copy of the standard style is an ordinary style); no entities.
  virtual CStyle* create(const CStyle& style);
  virtual CStyle* create(const String& name, const ICADFont* font, double fixedHeight,
                         double widthScale, double oblique, double lastHeight, long flags);
};
