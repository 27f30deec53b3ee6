// veltcore/entities/entity.h: CEnt, the base of every drawable entity: handle, cached box, layer,
// linetype, colour, selection status and two caller words, plus the virtual entity interface.
// Counts on layers and linetypes move only in setLayer, setLtype, setMemento(base) and the
// addTbls/removeTbls pair; constructors and the destructor never touch them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <veltcore/core/mylist.h>
#include <veltcore/database/handle.h>
#include <veltcore/geometry/rect.h>

class CBlockFactory;
class CBlockTable;
class CData;
class CEntBaseMemento;
class CEntFactory;
class CEntInsert;
class CEntTable;
class CLayer;
class CLtype;
class CStyle;
class IEntDerivedMemento;

class CEnt : public IHandleEnt {
 public:
  // Where a selected entity sits in its table's selection list: the node itself, so that the
  // table unlinks it in constant time; empty while the entity is not selected.
  using SelectStatus = std::optional<std::mylist<CEnt*>::iterator>;

  // Frees the entity only: the handle stays with the manager and no count moves (removeTbls
  // does that when the entity leaves its table).
  virtual ~CEnt();

  // Entities come from the library's small-object heap, where a large drawing's hundreds of
  // thousands of them cost far less to allocate than from the general heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;

  // Entering a table: the handle passes from booked to in use (a handle already in use is
  // tolerated), then the layer and the linetype count the entity.
  virtual void addTbls(IHandleGestor& g) const;
  // Leaving a table: the handle is released, the layer and the linetype uncount the entity.
  virtual void removeTbls(IHandleGestor& g) const;
  // Restores the class's own fields from a snapshot taken from an entity of the same class.
  virtual void setMemento(CData& d, const IEntDerivedMemento* m) = 0;
  // Only text entities have a style.
  virtual CStyle* getStyle() const;
  virtual void setStyle(CStyle* style);
  // The entity as a block reference; null except for inserts (and the classes built on them).
  virtual CEntInsert* getEntInsert();
  virtual const CEntInsert* getEntInsert() const;
  virtual short getType() const = 0;
  // Recomputes the cached box from the class's geometry.
  virtual void calcBdry() = 0;
  // A new snapshot of the class's own fields, owned by the caller.
  virtual IEntDerivedMemento* createDerivedMemento() const = 0;

  CLayer* getLayer() const { return layer_; }
  // Moves the entity's count from the old layer to layer, whether or not the entity is in a
  // table: every change of reference moves the count, so change an unlisted entity knowingly.
  void setLayer(CLayer* layer);
  CLtype* getLtype() const { return ltype_; }
  // Moves the entity's count from the old linetype to ltype.
  void setLtype(CLtype* ltype);
  short getColor() const { return color_; }
  // Any colour number, the by-layer and by-block values included, is stored as given.
  void setColor(short color) { color_ = color; }

  // Derived classes write the box through the non-const form in their calcBdry.
  const RECT_3D& getBdry() const { return bdry_; }
  RECT_3D& getBdry() { return bdry_; }
  bool isSelected() const { return selectStatus_.has_value(); }

  // Two words for the caller; the library never reads them.
  long getUserType() const { return userType_; }
  void setUserType(long type) { userType_ = type; }
  long getUserData() const { return userData_; }
  void setUserData(long data) { userData_ = data; }
  void setUserInfo(long type, long data) {
    userType_ = type;
    userData_ = data;
  }

  // A new snapshot of layer, linetype and colour, owned by the caller.
  CEntBaseMemento* createBaseMemento() const;
  // Takes them back: the linetype moves first, then the layer (counts move as with setLtype and
  // setLayer), then the colour is copied. A class that overrides the derived setMemento should
  // say `using CEnt::setMemento;` to keep this form visible.
  void setMemento(const CEntBaseMemento* m);

  // Both comparisons are answered by the snapshot.
  bool operator==(const CEntBaseMemento& m) const;
  bool operator!=(const CEntBaseMemento& m) const;
  bool operator==(const IEntDerivedMemento& m) const;
  bool operator!=(const IEntDerivedMemento& m) const;

 protected:
  // The factory reaches clone; the table reads and writes the selection status.
  friend class CEntFactory;
  friend class CEntTable;

  // Does not count the entity on layer or ltype. The box starts as the empty region until the
  // derived constructor computes it; user words are 0; not selected.
  CEnt(long handle, CLayer* layer, CLtype* ltype, short color);
  // Copies box, layer, linetype, colour and user words of src under the new handle; the copy is
  // not selected and is not counted anywhere.
  CEnt(const CEnt& src, long handle);
  // A plain copy would share src's handle and selection node: copies go through the form above.
  CEnt(const CEnt&) = delete;
  CEnt& operator=(const CEnt&) = delete;

  // A new entity of the same class made with its copy constructor and the given handle. Classes
  // with sub-objects (vertices, attributes, a hatch's block) create them through the factories.
  virtual CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
                      long handle) const = 0;

  const SelectStatus& getSelectStatus() const { return selectStatus_; }
  void setSelectStatus(std::mylist<CEnt*>::iterator node) { selectStatus_ = node; }
  // Forgets the selection node; the owning table has unlinked it already.
  void unselect() { selectStatus_.reset(); }

 private:
  // Where the entity sits in the table that owns it, kept by that table alone so that finding,
  // removing and testing membership need no lookup. Entities with the same handle form a ring in
  // list order, the first one's prev being the last. A new or copied entity is in no table.
  struct TableLink {
    const CEntTable* table = nullptr;
    std::mylist<CEnt*>::iterator node{};
    CEnt* prevSame = nullptr;
    CEnt* nextSame = nullptr;
    // The handle the entity had when it was added: the key of its ring.
    std::int32_t handle = 0;
  };

  RECT_3D bdry_;
  SelectStatus selectStatus_;
  TableLink tableLink_;
  CLayer* layer_;
  CLtype* ltype_;
  // The caller's words are kept at the interface's width, so a host may store a pointer.
  long userType_;
  long userData_;
  short color_;
};
