// veltcore/entities/memento.h: undo snapshots of entities: CEntBaseMemento (layer, linetype,
// colour, common to all entities) and IEntDerivedMemento, the base of each class's own snapshot.
// Snapshots are read-only once taken and belong to the caller of the create operation.
#pragma once

class CEnt;
class CLayer;
class CLtype;

// Layer, linetype and colour of an entity, taken by CEnt::createBaseMemento and given back by
// CEnt::setMemento(const CEntBaseMemento*).
class CEntBaseMemento {
 public:
  virtual ~CEntBaseMemento();

  CLayer* getLayer() const { return layer_; }
  CLtype* getLtype() const { return ltype_; }
  short getColor() const { return color_; }

  // Exact: the same linetype object, then the same layer object, then the same colour.
  bool operator==(const CEnt& e) const;
  bool operator!=(const CEnt& e) const { return !(*this == e); }

 protected:
  friend class CEnt;
  explicit CEntBaseMemento(const CEnt& e);

 private:
  CLayer* layer_;
  CLtype* ltype_;
  short color_;
};

// The snapshot of one entity class's own fields; each class derives its own and creates it in
// createDerivedMemento.
class IEntDerivedMemento {
 public:
  virtual ~IEntDerivedMemento();
  // Whether e, of the class the snapshot was taken from, still holds what was recorded.
  virtual bool operator==(const CEnt& e) const = 0;
  virtual bool operator!=(const CEnt& e) const = 0;
  // A snapshot adapted to e; no snapshot adapts, so the answer is always null.
  virtual IEntDerivedMemento* fitMemento(const CEnt& e);
  // Bytes held by the snapshot: the object itself plus whatever it owns.
  virtual long size() const = 0;

 protected:
  IEntDerivedMemento() = default;
  IEntDerivedMemento(const IEntDerivedMemento&) = default;
  IEntDerivedMemento& operator=(const IEntDerivedMemento&) = default;
};
