// dxf/in/entity_polyline.cpp: the POLYLINE record with its VERTEX records and SEQEND, and the
// LWPOLYLINE record of newer files; both become a CEntPolyline. The polyline and every vertex
// read are held until the record is complete: whatever stops the read, their handles go back
// through the entity factory and they are deleted. Touches the factory, the handle manager and
// the polyline only.
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

#include "dxf/in/pending_entities.h"
#include "dxf/in/version_readers.h"

namespace {

// Entity kinds, as reported with a missing required group.
constexpr long kPolylineKind = 5;
constexpr long kVertexKind = 40;
// Mask bits: group 8 (the layer), 66 (vertices follow), 10 and 20 (a vertex's X and Y).
constexpr long kLayerBit = 1;
constexpr long kVerticesFollowBit = 16;
constexpr long kPolylineRequired = kLayerBit | kVerticesFollowBit;
constexpr long kVertexRequired = 0x31;

// POLYLINE flags of the file (group 70).
constexpr long kFileClosed = 1;
constexpr long kFileCurveFit = 2;
constexpr long kFileSplineFit = 4;
constexpr long kFileLtGen = 128;
// CEntPolyline kind bits: the curve type 2 is the spline (B-spline basis), 4 the curve fit.
constexpr short kClosed = 1;
constexpr short kSpline = 2;
constexpr short kCurveFit = 4;
constexpr short kLtGen = 128;
// VERTEX flags (group 70).
constexpr long kFitVertex = 1;  // added by curve fitting
constexpr long kControlPoint = 16;
constexpr long k3DVertex = 32;

using veltcore::dxfin::Discard;
using veltcore::dxfin::Held;

// A vertex read and not yet in its polyline. read stays valid once the polyline owns it.
struct ReadVertex {
  Held<CVertex> vertex;
  const CVertex* read;
  long flags;
};

struct PolylineHeader {
  double elevation = 0.0;
  double widthStart = 0.0;
  double widthEnd = 0.0;
  long flags = 0;
  long smoothType = 0;  // group 75
};

// An LWPOLYLINE vertex as read; it becomes a CVertex once the record is complete.
struct LwVertex {
  double x;
  double y;
  double widthStart;
  double widthEnd;
};

// An LWPOLYLINE record as far as it has been read.
struct LwRecord {
  std::vector<LwVertex> vertices;
  double elevation = 0.0;
  double widthStart = 0.0;
  double widthEnd = 0.0;
  long flags = 0;

  // Widths (40, 41, or both by 43) hold for the vertex being read and the ones after it.
  void setWidths(double start, double end) {
    widthStart = start;
    widthEnd = end;
    if (vertices.empty()) return;
    vertices.back().widthStart = start;
    vertices.back().widthEnd = end;
  }
};

// The file's curve-fit (2) and spline (4) flags sit the other way round in the kind bits.
short kindBits(long fileFlags) {
  short bits = 0;
  if ((fileFlags & kFileClosed) != 0) bits |= kClosed;
  if ((fileFlags & kFileLtGen) != 0) bits |= kLtGen;
  if ((fileFlags & kFileSplineFit) != 0) bits |= kSpline;
  if ((fileFlags & kFileCurveFit) != 0) bits |= kCurveFit;
  return bits;
}

// Group 75 gives a spline's degree: 5 quadratic, 6 cubic. Other polylines have none.
short degreeOf(const PolylineHeader& h) {
  if ((h.flags & kFileSplineFit) == 0) return 0;
  if (h.smoothType == 5) return 2;
  if (h.smoothType == 6) return 3;
  return 0;
}

double checkedWidth(double w) {
  if (w < 0.0) throw CFileDXFIParser::BadValueParserError();
  return w;
}

enum class Place { Vertex, Visible };

// Links v into p; p owns it from the moment it holds it, which may be before a failing append
// returns (the polyline links a vertex first, then reboxes).
void handOver(CEntPolyline& p, Held<CVertex>& v, Place place) {
  CVertex& raw = *v;
  try {
    if (place == Place::Vertex)
      p.addVertex(raw);
    else
      p.addVisibleVertex(raw);
  } catch (...) {
    const long n = p.getNoTotalVertexes();
    if (n > 0 && &p[static_cast<int>(n - 1)] == &raw) v.release();
    throw;
  }
  v.release();
}

}  // namespace

class CFileDXFIVersionReader::PolylineReader {
 public:
  explicit PolylineReader(CFileDXFIVersionReader& r)
      : r_(r), hg_(r.semantor().getHandleGestor()), discard_{&r.entFactory(), &hg_} {}

  CEntPolyline* readPolyline() {
    EntityCommon c = r_.beginEntity();
    PolylineHeader h;
    while (r_.read() != 0) readHeaderGroup(h, c);
    r_.endEntity(c, kPolylineKind, kPolylineRequired);
    Held<CEntPolyline> p = create(c, kindBits(h.flags), degreeOf(h));
    std::vector<ReadVertex> vertices;
    while (r_.value().equal_ci("VERTEX")) vertices.push_back(readVertex(h));
    // A file that flags both curve kinds gets the spline's treatment, which keeps its vertices
    // as they are instead of fitting a curve of an undefined kind.
    if ((p->getCurve() & kSpline) != 0)
      attachSpline(*p, vertices);
    else if ((p->getCurve() & kCurveFit) != 0)
      attachCurveFit(*p, vertices);
    else
      for (ReadVertex& v : vertices) handOver(*p, v.vertex, Place::Vertex);
    if (!r_.value().equal_ci("SEQEND")) throw CFileDXFIParser::BadFileFormatParserError();
    r_.skipRecord();
    return p.release();
  }

  // The vertices are made once the record is complete, so the elevation (38) is every vertex's
  // Z wherever it stands. The vertex count (90) is not trusted: only vertices read are kept.
  CEntPolyline* readLwPolyline() {
    EntityCommon c = r_.beginEntity();
    LwRecord lw;
    while (r_.read() != 0) readLwGroup(lw, c);
    // No group is required beyond the layer.
    r_.endEntity(c, kPolylineKind, c.mask);
    Held<CEntPolyline> p = create(c, kindBits(lw.flags & (kFileClosed | kFileLtGen)), 0);
    for (const LwVertex& v : lw.vertices) {
      Held<CVertex> vertex =
          createVertex(PNT_3D(v.x, v.y, lw.elevation), v.widthStart, v.widthEnd, 0);
      handOver(*p, vertex, Place::Vertex);
    }
    return p.release();
  }

 private:
  CFileDXFIVersionReader& r_;
  IHandleGestor& hg_;
  Discard discard_;

  // Group 30 is the elevation; the point of groups 10 and 20 is always the origin and skipped.
  void readHeaderGroup(PolylineHeader& h, EntityCommon& c) {
    switch (r_.group()) {
      case 30:
        h.elevation = r_.getDouble();
        break;
      case 40:
        h.widthStart = checkedWidth(r_.getDouble());
        break;
      case 41:
        h.widthEnd = checkedWidth(r_.getDouble());
        break;
      case 66:
        c.mask |= kVerticesFollowBit;
        break;
      case 70:
        h.flags = r_.getInt();
        break;
      case 75:
        h.smoothType = r_.getInt();
        break;
      default:
        r_.readCommonGroup(c);
    }
  }

  // Group 10 begins a vertex, 20 is its Y.
  void readLwGroup(LwRecord& lw, EntityCommon& c) {
    switch (r_.group()) {
      case 10:
        lw.vertices.push_back(LwVertex{r_.getDouble(), 0.0, lw.widthStart, lw.widthEnd});
        break;
      case 20:
        if (!lw.vertices.empty()) lw.vertices.back().y = r_.getDouble();
        break;
      case 38:
        lw.elevation = r_.getDouble();
        break;
      case 40:
        lw.setWidths(r_.getDouble(), lw.widthEnd);
        break;
      case 41:
        lw.setWidths(lw.widthStart, r_.getDouble());
        break;
      case 43: {
        const double w = r_.getDouble();
        lw.setWidths(w, w);
        break;
      }
      case 70:
        lw.flags = r_.getInt();
        break;
      default:
        r_.readCommonGroup(c);
    }
  }

  // A vertex's layer (8) is required but not used: it belongs to its polyline's layer. Bulges
  // (42) are not read.
  ReadVertex readVertex(const PolylineHeader& h) {
    PNT_3D pnt(0.0, 0.0, 0.0);
    double widthStart = h.widthStart, widthEnd = h.widthEnd;
    long mask = 0, flags = 0, handle = 0;
    while (r_.read() != 0) {
      if (r_.readCornerGroup(r_.group(), &pnt, 1, mask)) continue;
      switch (r_.group()) {
        case 5:
          if (r_.semantor().shouldRespectHandles()) handle = r_.getHex();
          break;
        case 8:
          mask |= kLayerBit;
          break;
        case 40:
          widthStart = checkedWidth(r_.getDouble());
          break;
        case 41:
          widthEnd = checkedWidth(r_.getDouble());
          break;
        case 70:
          flags = r_.getInt();
          break;
        default:
          break;
      }
    }
    if (mask != kVertexRequired)
      throw CFileDXFIParser::ReqAttrNotSpecifiedParserError(kVertexKind, mask);
    if ((flags & k3DVertex) == 0) pnt.setZ(h.elevation);
    Held<CVertex> v = createVertex(pnt, widthStart, widthEnd, handle);
    const CVertex* at = v.get();
    return ReadVertex{std::move(v), at, flags};
  }

  // The file's fitted vertices are dropped: regen makes the curve afresh from the others.
  void attachCurveFit(CEntPolyline& p, std::vector<ReadVertex>& vertices) {
    for (ReadVertex& v : vertices) {
      if ((v.flags & kFitVertex) == 0) {
        handOver(p, v.vertex, Place::Vertex);
        continue;
      }
      hg_.unbook(v.vertex->GetHandle());
      delete v.vertex.release();
    }
    p.regen(hg_, r_.entFactory(), false);
  }

  // Control points (flag 16, or no flag at all) frame the spline; every vertex without flag 16
  // is drawn. A vertex with no flag is both, so the drawn one is a copy with a handle of its own.
  void attachSpline(CEntPolyline& p, std::vector<ReadVertex>& vertices) {
    for (ReadVertex& v : vertices)
      if ((v.flags & kControlPoint) != 0 || v.flags == 0) handOver(p, v.vertex, Place::Vertex);
    if (p.getNoCtrlPnts() < 2) throw CFileDXFIParser::BadFileFormatParserError();
    for (ReadVertex& v : vertices) {
      if ((v.flags & kControlPoint) != 0) continue;
      if (v.flags != 0) {
        handOver(p, v.vertex, Place::Visible);
        continue;
      }
      Held<CVertex> copy(r_.entFactory().createVertex(hg_, *v.read), discard_);
      if (!copy) throw std::bad_alloc();
      handOver(p, copy, Place::Visible);
    }
    p.calcBdry();
  }

  Held<CEntPolyline> create(const EntityCommon& c, short kind, short degree) {
    Held<CEntPolyline> p(
        r_.entFactory().createEntPolyline(hg_, c.layer, c.ltype, c.color, kind, degree, c.handle),
        discard_);
    if (!p) throw std::bad_alloc();
    return p;
  }

  Held<CVertex> createVertex(const PNT_3D& pnt, double widthStart, double widthEnd, long handle) {
    Held<CVertex> v(r_.entFactory().createVertex(hg_, pnt, widthStart, widthEnd, handle), discard_);
    if (!v) throw std::bad_alloc();
    return v;
  }
};

CEnt* CFileDXFIVersionReader::readPolyline() {
  return PolylineReader(*this).readPolyline();
}

CEnt* CFileDXFIVersionReader::readLwPolyline() {
  return PolylineReader(*this).readLwPolyline();
}
