// veltcore/entities/polyline.h: CVertex (a point with segment widths, owned by a polyline),
// CEntPolyline (type 5, a chain of vertices, optionally closed and smoothed into a curve) and
// their snapshots CVertexMemento and CEntPolylineMemento.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <veltcore/core/object_heap.h>
#include <veltcore/core/point.h>
#include <veltcore/database/handle.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/memento.h>

class CEntLine;
class CEntPolylineMemento;
class CPolylineAppendBox;
class CVertexMemento;
class LINE_3D;

// A polyline vertex. Not an entity: no layer or colour, it lives only inside a CEntPolyline.
// Its widths are those at the start and at the end of the segment that leaves it.
class CVertex : public IHandleEnt {
 public:
  // Calls visit(CVertex&).
  void accept(IEntVisitor& v) override;
  virtual ~CVertex();

  // Vertices come from the library's small-object heap: a drawing holds them by the million.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;

  // Plain copies keep the handle: they are snapshots of the value, not new drawing objects.
  CVertex(const CVertex&) = default;
  CVertex& operator=(const CVertex&) = default;

  const PNT_3D& getPnt() const { return pnt_; }
  PNT_3D& getPnt() { return pnt_; }
  void getPnt(double& x, double& y, double& z) const { pnt_.get(x, y, z); }
  void setPnt(const PNT_3D& p) { pnt_ = p; }
  void setPnt(double x, double y, double z) { pnt_.set(x, y, z); }

  double GetWidthStart() const { return widthStart_; }
  void SetWidthStart(double w) { widthStart_ = w; }
  double GetWidthEnd() const { return widthEnd_; }
  void SetWidthEnd(double w) { widthEnd_ = w; }
  // Exact: any width other than 0.0.
  bool IsWide() const { return widthStart_ != 0.0 || widthEnd_ != 0.0; }

  // Position and widths; the snapshot belongs to the caller.
  CVertexMemento* createMemento() const;
  void setMemento(const CVertexMemento* m);

 protected:
  friend class CEntFactory;

  CVertex(const PNT_3D& p, double widthStart, double widthEnd, long handle);
  CVertex(const CVertex& src, long handle);

 private:
  PNT_3D pnt_;
  double widthStart_;
  double widthEnd_;
};

// A chain of vertices. When it is a curve, the first getFirstVisibleVertex() vertices are the
// control points and the generated curve vertices follow them; otherwise every vertex is visible.
// The polyline owns its vertices and deletes them (last to first) with itself.
//
// Indices: the int/long index operations (operator[], GetVertexPos) expect 0 <= i < total;
// SetVertexPos, SetVertexWidth, removeVertex and getPoints/getLine check their index and do
// nothing (removeVertex returns null) when it lies outside the vertices.
class CEntPolyline : public CEnt {
 public:
  using CEnt::setMemento;

  // Deletes every vertex, from the last to the first; no handle is released.
  ~CEntPolyline() override;

  // The polyline's own handle and layer/linetype counts, then every vertex's handle, last first.
  void addTbls(IHandleGestor& g) const override;
  void removeTbls(IHandleGestor& g) const override;
  // m must be a CEntPolylineMemento. The box is copied, not recomputed.
  void setMemento(CData& d, const IEntDerivedMemento* m) override;
  short getType() const override { return 5; }
  // Thin: the visible vertices' positions. Wide: every point of the outline's runs.
  void calcBdry() override;
  IEntDerivedMemento* createDerivedMemento() const override;
  void accept(IEntVisitor& v) override;

  // Vertex insertion takes ownership of v; insertVertex clamps i to 0 ... total. On a curve,
  // addVertex adds a control point (the curve is not regenerated) and insertVertex/removeVertex
  // leave the box alone.
  void addVertex(CVertex& v);
  // firstVisible is left as it is, even when i lies among the control points.
  void insertVertex(CVertex& v, long i);
  // Unlinks vertex i and hands it to the caller; its handle is not released.
  CVertex* removeVertex(long i);
  // Deletes every vertex without releasing handles; the box becomes the empty region.
  void clearVertex();
  void addVisibleVertex(CVertex& v);
  // Gestor forms: reserve v's handle first, or release the removed vertices' handles after.
  void addVertex(IHandleGestor& g, CVertex& v);
  void insertVertex(IHandleGestor& g, CVertex& v, long i);
  // Inserts run, in order, at index i (clamped as insertVertex's) in one step, and owns its
  // vertices from then on; otherwise as insertVertex (firstVisible unchanged, a curve's box left
  // alone). When g is not null their handles are reserved first; when anything fails, those
  // reserved are released, nothing is inserted and the caller keeps the run.
  void insertVertexes(IHandleGestor* g, const std::vector<CVertex*>& run, long i);
  void addVisibleVertex(IHandleGestor& g, CVertex& v);
  CVertex* removeVertex(IHandleGestor& g, long i);
  void clearVertex(IHandleGestor& g);

  long getNoTotalVertexes() const { return static_cast<long>(vertexes_.size()); }
  long getNoCtrlPnts() const { return isCurve() ? firstVisible_ : getNoTotalVertexes(); }
  long getFirstCtrlPnt() const { return 0; }
  long getLastCtrlPnt() const { return getNoCtrlPnts(); }
  long getFirstVisibleVertex() const { return firstVisible_; }
  // One past the last visible vertex: the total count.
  long getLastVisibleVertex() const { return getNoTotalVertexes(); }
  long getNoVisibleVertexes() const { return getNoTotalVertexes() - firstVisible_; }
  long getNoVisibleSegments() const {
    return isClosed() ? getNoVisibleVertexes() : getNoVisibleVertexes() - 1;
  }
  // The vertex indices of the first visible segment (the closing one when closed).
  void getFirstVisibileSegmentIndex(long& a, long& b) const;

  const CVertex& operator[](int i) const { return *vertexes_[static_cast<std::size_t>(i)]; }
  const PNT_3D& GetVertexPos(int i) const { return (*this)[i].getPnt(); }
  // Neither renews the box: the caller calls calcBdry() when done.
  void SetVertexPos(int i, const PNT_3D& p);
  void SetVertexWidth(int i, double start, double end);
  // Segment i: from vertex i (from the last vertex when i is a control-point index, so that
  // segment firstVisible - 1 is the closing one) to vertex i + 1.
  void getPoints(long i, PNT_3D& a, PNT_3D& b) const;
  void getLine(long i, LINE_3D& l) const;

  short getFlags() const { return flags_; }
  short getDegree() const { return degree_; }
  short getCurve() const { return static_cast<short>(flags_ & kCurveMask); }
  bool isCurve() const { return getCurve() != 0; }
  bool isClosed() const { return (flags_ & kClosed) != 0; }
  bool IsLtGen() const { return (flags_ & kLtGen) != 0; }
  void setLtGen(bool on);

  // Some visible vertex has a width.
  bool isWide() const;
  // Every vertex, control points included, has both widths equal to vertex 0's; exact.
  bool IsWidthConstant(double& w) const;
  void setWidth(double w);

  // inTable: the polyline is in a table, so the handles of deleted curve vertices are released
  // and those of new ones reserved; otherwise new vertices keep their booked handles.
  void gener(IHandleGestor& g, CEntFactory& f, short curve, short degree, bool inTable);
  void regen(IHandleGestor& g, CEntFactory& f, bool inTable);
  // Keeps the generated vertices as plain ones; the control points' handles are not released.
  void Rectify();
  void close(IHandleGestor& g, CEntFactory& f, bool inTable);
  void open(IHandleGestor& g, CEntFactory& f, bool inTable);

 protected:
  friend class CEntFactory;
  friend class CEntPolylineMemento;

  static constexpr short kClosed = 1;
  static constexpr short kCurveMask = 14;
  static constexpr short kLtGen = 128;

  CEntPolyline(long handle, CLayer* layer, CLtype* ltype, short color, short flags, short degree);
  CEntPolyline(IHandleGestor& g, CEntFactory& f, const CEntPolyline& src, long handle);
  CEntPolyline(IHandleGestor& g, CEntFactory& f, const CEntLine& line, long handle);

  CEnt* clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory& bf, CBlockTable& bt,
              long handle) const override;

  // Deletes the visible vertices (releasing their handles through g when not null).
  void deleteVertexVisible(IHandleGestor* g);
  // The control points padded for the curve's basis.
  void createPartition(std::vector<PNT_3D>& p) const;
  // Appends the curve through p with basis m (16 coefficients), one vertex per step.
  void makeCurve(IHandleGestor& g, CEntFactory& f, bool inTable, const std::vector<PNT_3D>& p,
                 const double* m, double step);

 private:
  CVertex& GetVertex(int i) { return *vertexes_[static_cast<std::size_t>(i)]; }
  bool validIndex(long i) const { return i >= 0 && i < getNoTotalVertexes(); }
  // After close/open: a curve is regenerated, a wide polyline reboxed.
  void renewAfterClosing(IHandleGestor& g, CEntFactory& f, bool inTable);
  // Extends the box with v's position, or recomputes it when the polyline is wide.
  void updateBdryWith(const CVertex& v);
  // Links v as the last vertex and reboxes: a thin polyline's box grows by v's position, a wide
  // one's becomes its whole outline's box, in constant time while vertices are only appended.
  void appendVisible(CVertex& v);
  // Any change other than an append makes the append state stale.
  void dropAppendBox();

  // Pooled: most polylines have a few vertices, and a drawing has many polylines.
  std::vector<CVertex*, veltcore::detail::PoolAllocator<CVertex*>> vertexes_;
  // Built by the first append after any other change; not copied with the polyline. A cache,
  // dropped by addTbls too.
  mutable std::unique_ptr<CPolylineAppendBox> appendBox_;
  std::int32_t firstVisible_;
  short flags_;
  short degree_;
};

// Position and widths of a vertex when the snapshot was taken.
class CVertexMemento {
 public:
  virtual ~CVertexMemento();
  CVertexMemento(const CVertexMemento&) = default;
  CVertexMemento& operator=(const CVertexMemento&) = delete;

  const PNT_3D& getPnt() const { return pnt_; }
  double GetWidthStart() const { return widthStart_; }
  double GetWidthEnd() const { return widthEnd_; }
  // Exact on all three.
  bool operator==(const CVertex& v) const;
  bool operator!=(const CVertex& v) const { return !(*this == v); }

 private:
  friend class CVertex;
  explicit CVertexMemento(const CVertex& v);

  PNT_3D pnt_;
  double widthStart_;
  double widthEnd_;
};

// A polyline's box, vertices (object and snapshot, owned), counts and settings.
class CEntPolylineMemento : public IEntDerivedMemento {
 public:
  using VertexPair = std::pair<CVertex*, CVertexMemento*>;

  ~CEntPolylineMemento() override;
  CEntPolylineMemento(const CEntPolylineMemento&) = delete;
  CEntPolylineMemento& operator=(const CEntPolylineMemento&) = delete;

  // firstVisible, count, flags, degree, then each vertex against its snapshot; exact.
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override;

  const RECT_3D& getBdry() const { return bdry_; }
  const std::vector<VertexPair>& getVertexes() const { return vertexes_; }
  long getNoVertexes() const { return count_; }
  long getFirstVisible() const { return firstVisible_; }
  short getFlags() const { return flags_; }
  short getDegree() const { return degree_; }

 private:
  friend class CEntPolyline;
  explicit CEntPolylineMemento(const CEntPolyline& p);

  RECT_3D bdry_;
  std::vector<VertexPair> vertexes_;
  std::int32_t count_;
  std::int32_t firstVisible_;
  short flags_;
  short degree_;
};
