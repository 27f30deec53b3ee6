// veltcore/entities/text.h: the single-line text entity CEntText (type 6), the attribute
// definition CEntAttdef (7) and the attribute CEntAttrib (9), their snapshots, and the two
// transforms of an attribute between an insert's coordinates and the drawing's. A text counts
// itself on its style: setText, setStyle and setMemento move that count even outside a table.
#pragma once

#include <cstdint>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>
#include <veltcore/geometry/text.h>

class CEntAttdef;
class CEntInsert;

class CEntText : public CEnt {
 public:
  using CEnt::setMemento;

  // The entity's own registration (handle, layer, linetype), then one use of the style.
  void addTbls(IHandleGestor& g) const override;
  void removeTbls(IHandleGestor& g) const override;
  void accept(IEntVisitor& v) override;
  // m must be a snapshot of this entity's class: the style count moves from the current style to
  // the snapshot's, the text comes back and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  // The style held inside the text.
  CStyle* getStyle() const override { return text_.getStyle(); }
  // Moves one count from the old style to s, whether or not the text is in a table.
  void setStyle(CStyle* s) override;
  short getType() const override { return 6; }
  // The text's cell from its style's font. Without a style, or with a style that has no font,
  // the text cannot be measured and its box is the single point of insertion.
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  // A caller that changes the text through the non-const form must call calcBdry() itself (and
  // must not change the style that way: the counts would drift).
  const TEXT_3D& getText() const { return text_; }
  TEXT_3D& getText() { return text_; }
  // Moves one count from the old style to t's, whether or not the text is in a table.
  void setText(const TEXT_3D& t);

 protected:
  friend class CEntFactory;

  // Does not count the text on t's style (addTbls does).
  CEntText(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t);
  // The box is copied with the base, not recomputed.
  CEntText(const CEntText& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

  // The text string without touching the style or its count; renews the box.
  void setString(const String& s);

 private:
  TEXT_3D text_;
};

// A named field of a block: the text string is its tag; the default value and the prompt are
// separate. The flags are stored and passed on, never interpreted here.
class CEntAttdef : public CEntText {
 public:
  using CEntText::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntAttdefMemento: the text part as CEntText, then value, prompt and flags.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 7; }
  IEntDerivedMemento* createDerivedMemento() const override;

  const String& getTag() const { return getText().getContext().getString(); }
  // Renews the box: the tag is what the definition shows.
  void setTag(const String& tag) { setString(tag); }
  const String& getValue() const { return value_; }
  void setValue(const String& value) { value_ = value; }
  const String& getPrompt() const { return prompt_; }
  void setPrompt(const String& prompt) { prompt_ = prompt; }
  long getFlags() const { return flags_; }
  void setFlags(long flags);

 protected:
  friend class CEntFactory;

  // t's string is the tag.
  CEntAttdef(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
             const String& value, const String& prompt, long flags);
  CEntAttdef(const CEntAttdef& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  String value_;
  String prompt_;
  std::int32_t flags_;
};

// The value one insert gives to a block's field: the text string is the value; the tag is a
// separate field. Its placement is in the insert's own (logical) coordinates.
class CEntAttrib : public CEntText {
 public:
  using CEntText::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEntAttribMemento: the text part as CEntText, then tag and flags.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 9; }
  IEntDerivedMemento* createDerivedMemento() const override;

  const String& getValue() const { return getText().getContext().getString(); }
  // Renews the box: the value is what the attribute shows.
  void setValue(const String& value) { setString(value); }
  const String& getTag() const { return tag_; }
  void setTag(const String& tag) { tag_ = tag; }
  long getFlags() const { return flags_; }
  void setFlags(long flags);

 protected:
  friend class CEntFactory;

  // t's string is the value.
  CEntAttrib(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
             const String& tag, long flags);
  // Everything from def (layer, linetype, colour, placement, style, tag, flags) but the value and
  // the handle. ins is not read: def's placement, in block coordinates, is already the logical
  // placement for any insert of that block.
  CEntAttrib(const String& value, const CEntAttdef& def, const CEntInsert& ins, long handle);
  CEntAttrib(const CEntAttrib& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  String tag_;
  std::int32_t flags_;
};

// The text of a CEntText (string, style pointer and placement) when the snapshot was taken.
class CEntTextMemento : public IEntDerivedMemento {
 public:
  // TEXT_3D equality, which leaves the style out; false for an entity that is not a text.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const TEXT_3D& getText() const { return text_; }

 protected:
  friend class CEntText;
  explicit CEntTextMemento(const TEXT_3D& t) : text_(t) {}

 private:
  TEXT_3D text_;
};

class CEntAttdefMemento : public CEntTextMemento {
 public:
  // Text, then value, prompt and flags; false for an entity that is not a definition.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const String& getValue() const { return value_; }
  const String& getPrompt() const { return prompt_; }
  long getFlags() const { return flags_; }

 private:
  friend class CEntAttdef;
  explicit CEntAttdefMemento(const CEntAttdef& e);

  String value_;
  String prompt_;
  std::int32_t flags_;
};

class CEntAttribMemento : public CEntTextMemento {
 public:
  // Text, then tag and flags; false for an entity that is not an attribute.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const String& getTag() const { return tag_; }
  long getFlags() const { return flags_; }

 private:
  friend class CEntAttrib;
  explicit CEntAttribMemento(const CEntAttrib& e);

  String tag_;
  std::int32_t flags_;
};

// The placement of attribute a of insert ins in drawing coordinates: position, height, rotation
// (radians, in [0, 2*pi]), oblique angle (in [0, pi/2], never negative) and width factor. The
// attribute is not changed. A zero scale of ins gives infinities or not-a-number: nothing checks.
void transform_attrib_logic_2_phisic(const CEntInsert& ins, const CEntAttrib& a, PNT_3D& pos,
                                     double& height, double& rotation, double& oblique,
                                     double& widthScale);
// Converts t, given in drawing coordinates, into ins's own coordinates in place: point, height,
// rotation and width scale; the oblique angle becomes 0. The style is untouched.
void transform_attrib_phisic_2_logic(const CEntInsert& ins, TEXT_3D& t);
// The same on a's text. a's cached box is left as it was: the caller calls calcBdry().
void transform_attrib_phisic_2_logic(const CEntInsert& ins, CEntAttrib& a);
