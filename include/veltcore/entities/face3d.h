// veltcore/entities/face3d.h: CEnt3DFace, the four-cornered 3D face entity (type 11), with its
// edge-visibility flags and triangle mark, and its snapshot CEnt3DFaceMemento.
// Vertex and edge indices are taken modulo 4 (index AND 3), so no index ever reaches past the
// four vertices: -1 is vertex 3, 4 is vertex 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include <veltcore/core/point.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>

class LINE_3D;

class CEnt3DFace : public CEnt {
 public:
  // Edge i runs from vertex i to vertex i+1 (edge 3 back to vertex 0) and is invisible when bit
  // i of the flags is set.
  static constexpr long kEdgeBits = 15;
  // The face has three distinct corners: vertex 3 equals vertex 2.
  static constexpr long kTriangular = 128;

  using CEnt::setMemento;

  void accept(IEntVisitor& v) override;
  // m must be a CEnt3DFaceMemento: the vertices and the whole flags word come back as recorded
  // (the triangle mark is not re-derived) and the box is recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 11; }
  // The box of the four vertices.
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;

  // A vertex changed through the non-const form renews neither the box nor the triangle mark.
  const PNT_3D& getVertex(long i) const { return vertex_[slot(i)]; }
  PNT_3D& getVertex(long i) { return vertex_[slot(i)]; }
  // The triangle mark is renewed only when vertex 2 or 3 changes: they alone decide it.
  void setVertex(long i, const PNT_3D& p);
  void setVertexes(const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3);
  // Four points in a row.
  void setVertexes(const PNT_3D* const p);

  // The four edge bits only.
  long getFlags() const { return flags_ & kEdgeBits; }
  // Replaces the edge bits and keeps the triangle mark; every other bit is cleared.
  void setFlags(long f);
  bool isEdgeVisib(long i) const { return (flags_ & edgeBit(i)) == 0; }
  void setEdgeVisib(long i, bool visible);
  bool isTriangular() const { return (flags_ & kTriangular) != 0; }
  // Marks the face triangular and makes it so: vertex 3 becomes a copy of vertex 2.
  void setTriangular();

  // The ends of edge i: vertex i, then vertex i+1 (vertex 0 after vertex 3).
  void getPoints(long i, PNT_3D& a, PNT_3D& b) const;
  void getLine(long i, LINE_3D& l) const;

 protected:
  friend class CEntFactory;

  // Flags are kept as given, bits beyond the edges and the mark included, until the next
  // setFlags; the triangle mark is then derived from the vertices.
  CEnt3DFace(long handle, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p0,
             const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3, long flags);
  CEnt3DFace(const CEnt3DFace& src, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

 private:
  // The snapshot records and compares the whole flags word.
  friend class CEnt3DFaceMemento;

  PNT_3D vertex_[4];
  std::int32_t flags_;

  // The unsigned conversion is modular, so negative indices wrap too.
  static std::size_t slot(long i) { return static_cast<std::size_t>(i) & 3u; }
  static std::int32_t edgeBit(long i) { return static_cast<std::int32_t>(1u << slot(i)); }
  // Sets the triangle mark exactly when vertex 3 equals vertex 2; no other bit moves.
  void setTriangFlag();
};

// The four vertices and the whole flags word of a CEnt3DFace when the snapshot was taken.
class CEnt3DFaceMemento : public IEntDerivedMemento {
 public:
  // Exact: vertices 0 to 3, then the flags word; an entity of another class never equals it.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }

  const PNT_3D& getVertex(long i) const { return vertex_[static_cast<std::size_t>(i) & 3u]; }
  // The whole word: edge bits, triangle mark and any other bit.
  long getFlagsWord() const { return flags_; }

 private:
  friend class CEnt3DFace;
  explicit CEnt3DFaceMemento(const CEnt3DFace& face);

  PNT_3D vertex_[4];
  std::int32_t flags_;
};
