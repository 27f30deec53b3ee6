// veltcore/database/layer.h: layers (CLayer, the fixed layer "0" CLayer0, the layers of an
// external reference CLayerXRef), their visitor, snapshot, table and factory.
// A layer never owns its linetype, but counts itself on it: every change of a listed layer's
// linetype goes through setLtype or setMemento so the linetype's layer count stays exact.
#pragma once

#include <veltcore/core/string.h>
#include <veltcore/database/named_item.h>

class CBlockXRef;
class CLayer;
class CLayer0;
class CLayerFactory;
class CLayerMemento;
class CLayerXRef;
class CLtype;

// A host's operation on the three layer classes; the library only dispatches to it.
class ILayerVisitor {
 public:
  virtual void visit(CLayerXRef& layer) = 0;
  virtual void visit(CLayer0& layer) = 0;
  virtual void visit(CLayer& layer) = 0;

 protected:
  ~ILayerVisitor() = default;
};

class CLayer : public CNamedItem {
 public:
  // Flag bits of a layer.
  static constexpr long kFrozen = 1;
  static constexpr long kLocked = 4;
  static constexpr long kXRefDependent = 16;
  static constexpr long kXRefLoaded = 32;
  static constexpr long kOff = 128;
  static constexpr long kPrivate = 32768;

  ~CLayer() override;

  // The name as shown to users: "reference|name" for a layer of an external reference.
  virtual const String& getFullName() const;
  void setFlags(long flags) override;
  using CNamedItem::setFlags;
  virtual void accept(ILayerVisitor& visitor);
  virtual bool is0() const { return false; }
  virtual bool isXRef() const { return false; }

  // Name, flags, entity count, linetype and colour; the linetypes' layer counts do not move.
  CLayer& operator=(const CLayer& src);
  // Equal as named items, the same linetype object and the same colour.
  bool operator==(const CLayer& other) const;
  bool operator!=(const CLayer& other) const { return !(*this == other); }

  CLtype* getLtype() const { return ltype_; }
  // Moves this layer's count from the old linetype to lt.
  void setLtype(CLtype* lt);
  short getColor() const { return color_; }
  void setColor(short color) { color_ = color; }

  bool isFrozen() const { return (getFlags() & kFrozen) != 0; }
  bool isLocked() const { return (getFlags() & kLocked) != 0; }
  bool isOff() const { return (getFlags() & kOff) != 0; }
  bool isPrivate() const { return (getFlags() & kPrivate) != 0; }
  // Neither frozen nor off.
  bool thawed() const { return (getFlags() & (kFrozen | kOff)) == 0; }
  void setFrozen(bool on) { setFlags(kFrozen, on); }
  void setLocked(bool on) { setFlags(kLocked, on); }
  void setOff(bool on) { setFlags(kOff, on); }
  void setPrivate(bool on) { setFlags(kPrivate, on); }

  // A new snapshot of name, linetype, flags and colour, owned by the caller.
  CLayerMemento* createMemento() const;
  // Takes them back; the linetype moves as with setLtype.
  void setMemento(const CLayerMemento& m);

 protected:
  friend class CLayerFactory;
  // Does not count the layer on lt: the table does that when the layer is added.
  CLayer(const String& name, CLtype* lt, short color, long flags);
  // Name, flags, linetype and colour; the copy uses no entities yet.
  CLayer(const CLayer& src);

 private:
  CLtype* ltype_;
  short color_;
};

// The fixed layer "0" every drawing has; a member of the drawing, never in the table's list.
class CLayer0 : public CLayer {
 public:
  CLayer0(CLtype* lt, short color, long flags);

  void accept(ILayerVisitor& visitor) override;
  bool is0() const override { return true; }
};

// A layer read from an external reference's file; its full name is "reference|name".
class CLayerXRef : public CLayer {
 public:
  const String& getFullName() const override { return fullName_; }
  // Bit 16 is always set; bit 32 follows whether the reference is loaded.
  void setFlags(long flags) override;
  using CNamedItem::setFlags;
  void accept(ILayerVisitor& visitor) override;
  bool isXRef() const override { return true; }

  CBlockXRef& getXRef() const { return *xref_; }

 protected:
  friend class CLayerFactory;
  // Stores flags unchanged; the full name is formed once, here.
  CLayerXRef(CBlockXRef& xref, const String& name, CLtype* lt, short color, long flags);

 private:
  CBlockXRef* xref_;
  String fullName_;
};

// An undo snapshot of a layer: name, linetype, flags and colour.
class CLayerMemento {
 public:
  const String& GetName() const { return name_; }
  CLtype* getLtype() const { return ltype_; }
  long getFlags() const { return flags_; }
  short getColor() const { return color_; }

  // Exact comparison with the layer: name (case-sensitive), linetype, flags, colour.
  bool operator==(const CLayer& layer) const;
  bool operator!=(const CLayer& layer) const { return !(*this == layer); }

 private:
  friend class CLayer;
  explicit CLayerMemento(const CLayer& layer);

  String name_;
  CLtype* ltype_;
  long flags_;
  short color_;
};

// The drawing's ordinary layers, in order of addition. Layer "0" is not in the list but is
// found by get("0"); the table counts each listed layer on its linetype.
class CLayerTable : public CNamedItemTableImp {
 public:
  explicit CLayerTable(CLayer0& layer0);
  // Deletes the listed layers without touching the linetypes' counts.
  ~CLayerTable();

  // Appends l (the table owns it) and counts it on its linetype.
  void add(CLayer* l);
  // Takes l out (not deleted) and uncounts it; a layer not in the list changes nothing.
  void remove(CLayer* l);
  // Exactly "0" gives layer 0; any other name the first listed layer equal ignoring case.
  CLayer* get(const String& name) const;
  CLayer0& getLayer0() const { return layer0_; }
  // Uncounts and deletes every listed layer, in list order.
  void clearAll();
  CLayer* operator[](int i) const;

 private:
  CLayer0& layer0_;

  bool contains(const CLayer* l) const;
};

// Makes layers; a host may derive its own. Every result belongs to the caller until a table
// takes it.
class CLayerFactory {
 public:
  virtual ~CLayerFactory();
  // A plain copy of l (a copy of layer "0" or of an external-reference layer is a plain layer).
  virtual CLayer* create(const CLayer& l);
  virtual CLayer* create(const String& name, CLtype* lt, short color, long flags);
  virtual CLayerXRef* createXRef(CBlockXRef& xref, const String& name, CLtype* lt, short color,
                                 long flags);
};
