// veltcore/linetypes/dash.h: the elements of a linetype pattern (length dashes and text dashes),
// the dash sequence that owns them and keeps the pattern length, and its undo snapshot.
// A text dash holds one linetype use of its text's style for as long as it exists.
#pragma once

#include <memory>
#include <vector>

#include <veltcore/geometry/rect.h>
#include <veltcore/geometry/text.h>

class CLtypeComplexDashSeqMemento;

// One element of a pattern.
class ILtypeComplexDash {
 public:
  virtual ~ILtypeComplexDash();
  virtual bool IsDoubleDash() const { return false; }
  virtual bool IsText() const { return false; }
  // The signed length of a length dash; 0 for other kinds.
  virtual double GetValue() const { return 0.0; }
  // The text of a text dash; null for other kinds.
  virtual const TEXT_3D* GetText() const { return nullptr; }
  // The element's box in pattern coordinates, starting at the element's position.
  virtual void GetBdry(RECT_2D& r) const = 0;
  // A new copy owned by the caller.
  virtual ILtypeComplexDash* Clone() const = 0;

 protected:
  ILtypeComplexDash() = default;
  ILtypeComplexDash(const ILtypeComplexDash&) = default;
  ILtypeComplexDash& operator=(const ILtypeComplexDash&) = default;
};

// A length: positive pen down, negative pen up, zero a dot.
class CDoubleLtypeComplexDash : public ILtypeComplexDash {
 public:
  explicit CDoubleLtypeComplexDash(double value) : value_(value) {}

  bool IsDoubleDash() const override { return true; }
  double GetValue() const override { return value_; }
  // From (0, 0) to (|value|, 0).
  void GetBdry(RECT_2D& r) const override;
  ILtypeComplexDash* Clone() const override;

 private:
  double value_;
};

// A text drawn along the line. Construction and copying add a linetype use to the text's
// style, destruction removes it, assignment moves it; a text without a style counts nothing.
class CFontLtypeComplexDash : public ILtypeComplexDash {
 public:
  explicit CFontLtypeComplexDash(const TEXT_3D& text);
  CFontLtypeComplexDash(const CFontLtypeComplexDash& src);
  CFontLtypeComplexDash& operator=(const CFontLtypeComplexDash& src);
  ~CFontLtypeComplexDash() override;

  bool IsText() const override { return true; }
  const TEXT_3D* GetText() const override { return &text_; }
  // The text's own box (TEXT_3D::calc_bdry).
  void GetBdry(RECT_2D& r) const override;
  ILtypeComplexDash* Clone() const override;

 private:
  TEXT_3D text_;
};

// The pattern of a linetype: owned dashes in order, and the pattern length, the sum of |value|
// over the length dashes, kept by every insertion and removal.
class CLtypeComplexDashSeq {
 public:
  CLtypeComplexDashSeq() = default;
  // Clones every dash; the pattern length is copied, not recomputed.
  CLtypeComplexDashSeq(const CLtypeComplexDashSeq& src);
  CLtypeComplexDashSeq& operator=(const CLtypeComplexDashSeq& src);
  virtual ~CLtypeComplexDashSeq();

  int GetNoDashes() const { return static_cast<int>(dashes_.size()); }
  // The i-th dash (owned by the sequence); null when i is out of range.
  ILtypeComplexDash* Get(int i) const;
  ILtypeComplexDash* operator[](int i) const { return Get(i); }
  double GetPatternLen() const { return patternLen_; }

  // Insert a new dash before position i (i is clamped into 0 ... GetNoDashes(), so the count
  // appends). A length adds |v| to the pattern length; a text adds nothing.
  void InsertDashDouble(int i, double v);
  void InsertDashText(int i, const TEXT_3D& t);
  void AddDashDouble(double v) { InsertDashDouble(GetNoDashes(), v); }
  void AddDashText(const TEXT_3D& t) { InsertDashText(GetNoDashes(), t); }
  // Destroys dash i and subtracts its |value|; nothing happens when i is out of range.
  void RemoveDash(int i);
  // Destroys every dash; the pattern length becomes 0.
  void ClearDashes();

  // The box of one repetition of the pattern; the empty region when there are no dashes.
  void GetBdry(RECT_2D& r) const;

  // Same count, same pattern length, and dash by dash the same kind with equal values (lengths)
  // or equal texts (text dashes).
  bool operator==(const CLtypeComplexDashSeq& s) const;
  bool operator!=(const CLtypeComplexDashSeq& s) const { return !(*this == s); }

  // A new snapshot (a copy of the sequence), owned by the caller.
  CLtypeComplexDashSeqMemento* CreateMemento() const;
  // Assigns the snapshot back; a null snapshot changes nothing.
  void SetMemento(const CLtypeComplexDashSeqMemento* m);

 private:
  std::vector<std::unique_ptr<ILtypeComplexDash>> dashes_;
  double patternLen_ = 0.0;

  void insert(int i, std::unique_ptr<ILtypeComplexDash> dash);
};

// An undo snapshot of a dash sequence: a copy of it, compared with the sequence's operator==.
class CLtypeComplexDashSeqMemento : public CLtypeComplexDashSeq {
 private:
  friend class CLtypeComplexDashSeq;
  explicit CLtypeComplexDashSeqMemento(const CLtypeComplexDashSeq& s) : CLtypeComplexDashSeq(s) {}
};
