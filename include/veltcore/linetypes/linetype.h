// veltcore/linetypes/linetype.h: linetypes (CLtype and the built-in continuous, by-layer and
// by-block kinds, the linetypes of external references), their visitor, snapshot, factory and
// table. The table refers to the three built-ins without owning them and finds them by name.
#pragma once

#include <cstdint>
#include <memory>

#include <veltcore/core/string.h>
#include <veltcore/database/named_item.h>
#include <veltcore/linetypes/dash.h>

class CBlockXRef;
class CLtype;
class CLtypeByBlock;
class CLtypeByLayer;
class CLtypeContinuous;
class CLtypeFactory;
class CLtypeMemento;
class CLtypeXRef;

// A host's operation on the linetype classes; the library only dispatches to it.
class ILtypeVisitor {
 public:
  virtual void visit(CLtypeXRef& lt) = 0;
  virtual void visit(CLtypeByBlock& lt) = 0;
  virtual void visit(CLtypeByLayer& lt) = 0;
  virtual void visit(CLtypeContinuous& lt) = 0;
  virtual void visit(CLtype& lt) = 0;

 protected:
  ~ILtypeVisitor() = default;
};

// A named pattern of dashes with a description. Counts the layers that use it (kept by the
// layers) besides the entities (kept by the entities).
class CLtype : public CNamedItem {
 public:
  // Flag bits a linetype sets or reads; the others are kept as they come.
  static constexpr long kXRefDependent = 0x10;
  static constexpr long kXRefLoaded = 0x20;
  static constexpr long kPrivate = 0x8000;

  ~CLtype() override;
  // The name users see: "reference|name" for a linetype of an external reference.
  virtual const String& getFullName() const;
  void setFlags(long flags) override;
  using CNamedItem::setFlags;
  virtual void accept(ILtypeVisitor& visitor);
  virtual bool isContinuous() const { return false; }
  virtual bool isByLayer() const { return false; }
  virtual bool isByBlock() const { return false; }
  virtual bool isXRef() const { return false; }

  // Name, description, flags (stored as they are) and dash sequence; both counts stay.
  CLtype& operator=(const CLtype& src);
  // Equal as named items, the same description (case-sensitive) and the same number of dashes.
  // The dash values are deliberately not compared.
  bool operator==(const CLtype& other) const;
  bool operator!=(const CLtype& other) const { return !(*this == other); }

  const String& getDesc() const { return desc_; }
  void setDesc(const String& desc) { desc_ = desc; }
  double getPatternLen() const { return seq_.GetPatternLen(); }
  int getNoDashes() const { return seq_.GetNoDashes(); }
  ILtypeComplexDash* GetDash(int i) const { return seq_.Get(i); }
  ILtypeComplexDash* operator[](int i) const { return seq_.Get(i); }
  // The first dash; null when there is none.
  ILtypeComplexDash* getDashArray() const { return seq_.Get(0); }
  const CLtypeComplexDashSeq& GetDashSeq() const { return seq_; }
  CLtypeComplexDashSeq& GetDashSeq() { return seq_; }
  const CLtypeComplexDashSeq& GetLtypeComplexDashSeq() const { return seq_; }
  CLtypeComplexDashSeq& GetLtypeComplexDashSeq() { return seq_; }
  void AddDashDouble(double v) { seq_.AddDashDouble(v); }
  void AddDashText(const TEXT_3D& t) { seq_.AddDashText(t); }
  void ClearDashes() { seq_.ClearDashes(); }

  long getLayers() const { return layers_; }
  void addLayer();
  void decLayer();
  void zeroLayers() { layers_ = 0; }

  bool isPrivate() const { return (getFlags() & kPrivate) != 0; }
  // Sets or clears only the private bit.
  void setPrivate(bool on) { CNamedItem::setFlags(kPrivate, on); }

  // A new snapshot, owned by the caller.
  CLtypeMemento* createMemento() const;
  // Name, description, flags (through setFlags), then the dash sequence.
  void setMemento(const CLtypeMemento& m);

 protected:
  friend class CLtypeFactory;
  // Copies seq.
  CLtype(const String& name, const String& desc, const CLtypeComplexDashSeq& seq, long flags);
  // The n values of dashes, in order, as length dashes; none when n <= 0 or dashes is null.
  CLtype(const String& name, const String& desc, const double* dashes, long n, long flags);
  // Name, flags, description and dashes; the copy is a new item, used by no entity or layer.
  CLtype(const CLtype& src);

 private:
  CLtypeComplexDashSeq seq_;
  String desc_;
  std::int32_t layers_;
};

// "Continuous", described "SolidLine": the drawing's built-in solid line.
class CLtypeContinuous : public CLtype {
 public:
  CLtypeContinuous();
  void accept(ILtypeVisitor& visitor) override;
  bool isContinuous() const override { return true; }
};

// "BYLAYER": entities drawn with their layer's linetype.
class CLtypeByLayer : public CLtype {
 public:
  CLtypeByLayer();
  void accept(ILtypeVisitor& visitor) override;
  bool isByLayer() const override { return true; }
};

// "BYBLOCK": entities drawn with the linetype of the insert that shows them.
class CLtypeByBlock : public CLtype {
 public:
  CLtypeByBlock();
  void accept(ILtypeVisitor& visitor) override;
  bool isByBlock() const override { return true; }
};

// A linetype read from an external reference's file.
class CLtypeXRef : public CLtype {
 public:
  // "reference|name", formed once at construction: a later rename does not change it.
  const String& getFullName() const override { return fullName_; }
  // Bit 0x10 is always set; bit 0x20 exactly when the reference is loaded.
  void setFlags(long flags) override;
  using CNamedItem::setFlags;
  void accept(ILtypeVisitor& visitor) override;
  bool isXRef() const override { return true; }

  CBlockXRef& getXRef() const { return *xref_; }

 protected:
  friend class CLtypeFactory;
  // Stores flags unchanged; the reference's loaded state is applied by the next setFlags.
  CLtypeXRef(CBlockXRef& xref, const String& name, const String& desc,
             const CLtypeComplexDashSeq& seq, long flags);

 private:
  CBlockXRef* xref_;
  String fullName_;
};

// An undo snapshot of a linetype; it owns its snapshot of the dash sequence.
class CLtypeMemento {
 public:
  ~CLtypeMemento();
  CLtypeMemento(const CLtypeMemento&) = delete;
  CLtypeMemento& operator=(const CLtypeMemento&) = delete;

  const String& GetName() const { return name_; }
  const String& getDesc() const { return desc_; }
  long getFlags() const { return flags_; }
  double getPatternLen() const { return patternLen_; }
  const CLtypeComplexDashSeqMemento& getDashSeq() const { return *seq_; }

  // Name and description case-sensitively, flags, pattern length, then the dash sequence.
  bool operator==(const CLtype& lt) const;
  bool operator!=(const CLtype& lt) const { return !(*this == lt); }

 private:
  friend class CLtype;
  explicit CLtypeMemento(const CLtype& lt);

  double patternLen_;
  std::unique_ptr<CLtypeComplexDashSeqMemento> seq_;
  String name_;
  String desc_;
  std::int32_t flags_;
};

// Makes linetypes; a host may derive its own. Every result belongs to the caller until a
// table takes it.
class CLtypeFactory {
 public:
  virtual ~CLtypeFactory();
  // A plain copy of lt (a copy of a built-in or external-reference linetype is a plain one).
  virtual CLtype* create(const CLtype& lt);
  virtual CLtype* create(const String& name, const String& desc, const double* dashes, long n,
                         long flags);
  virtual CLtype* create(const String& name, const String& desc, const CLtypeComplexDashSeq& seq,
                         long flags);
  virtual CLtypeXRef* createXRef(CBlockXRef& xref, const String& name, const String& desc,
                                 const CLtypeComplexDashSeq& seq, long flags);
};

// The linetypes of a drawing (or of an external reference), owned, in order of addition. The
// three built-ins are the drawing's members: found by get, never listed, never deleted here.
class CLtypeTable : public CNamedItemTableImp {
 public:
  CLtypeTable(CLtypeContinuous& continuous, CLtypeByLayer& byLayer, CLtypeByBlock& byBlock);
  CLtypeTable(const CLtypeTable&) = delete;
  CLtypeTable& operator=(const CLtypeTable&) = delete;

  CLtypeContinuous& getLtypeContinuous() const { return continuous_; }
  CLtypeByLayer& getLtypeByLayer() const { return byLayer_; }
  CLtypeByBlock& getLtypeByBlock() const { return byBlock_; }

  // Appends lt; the table owns it.
  void add(CLtype* lt) { CNamedItemTableImp::add(lt); }
  // Takes lt out without deleting it; nothing happens when it is not listed.
  void remove(CLtype* lt) { CNamedItemTableImp::remove(lt); }
  // "continuous", "bylayer" and "byblock" in any case give the built-ins, even when a listed
  // linetype has one of those names; any other name the first listed linetype equal to it
  // ignoring case; null when none is.
  CLtype* get(const String& name) const;
  // Deletes every listed linetype; the built-ins are untouched.
  void clearAll() { CNamedItemTableImp::clearAll(); }
  // The i-th listed linetype, unchecked.
  CLtype* operator[](int i) const;

 private:
  CLtypeContinuous& continuous_;
  CLtypeByLayer& byLayer_;
  CLtypeByBlock& byBlock_;
};
