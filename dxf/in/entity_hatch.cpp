// dxf/in/entity_hatch.cpp: the HATCH record of newer files. After their counts, the pattern
// lines, the boundary paths and the seed points come in one fixed order of groups, and any
// other group there is a fault; only external paths give boundary points, and the pattern comes
// from the built-in catalogue by name. A hatch becomes a generated "*PAT" block in the
// semantor's block table and a CEntHatch placing it. A record that cannot be hatched (a pattern
// not in the catalogue, such as a solid fill, or a boundary or scale the generator refuses) is
// dropped: no block, no entity, no handle left booked.
#include <memory>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include "dxf/in/pending_entities.h"
#include "dxf/in/version_readers.h"

using veltcore::dxfin::kDegToRad;

namespace {

constexpr long kHatchKind = 10;
// Boundary path flags (group 92) and edge types (group 72).
constexpr long kExternalPath = 1;
constexpr long kPolylinePath = 2;
constexpr long kLineEdge = 1;
constexpr long kArcEdge = 2;
constexpr long kEllipseEdge = 3;
constexpr long kSplineEdge = 4;

// What a HATCH record gives the generator.
struct HatchRecord {
  String pattern;
  // A record without a scale hatches at the pattern's own size.
  double scale = 1.0;
  double angle = 0.0;  // radians
  double elevation = 0.0;
  std::vector<PNT_3D> boundary;
};

// A generated block never added to a table: its lines' handles go back, then it is deleted.
struct BlockDiscard {
  CEntFactory* factory;
  IHandleGestor* gestor;

  void operator()(CBlock* b) const noexcept {
    try {
      for (int i = 0; i < b->size(); ++i) factory->unbookHandle(*gestor, (*b)[i]);
    } catch (...) {
    }
    delete b;
  }
};

using veltcore::dxfin::Discard;

// The layer of the generated lines: the current layer of the drawing being read into. A
// semantor without variables reads a block or an external reference, where no current layer
// applies; the lines then go on layer "0", which takes, as every entity of a block on layer
// "0", the layer of whatever inserts the block. Null only from a semantor that has neither.
CLayer* hatchLineLayer(IFileDXFISemantor& s) {
  if (CDataVariables* vars = s.getVars()) return vars->getCurLayer();
  return s.getLayer("0");
}

// Keeps the hatch's own handle booked while its lines take fresh ones, so that none of them
// takes the handle the file gives the hatch.
class HandleHold {
 public:
  HandleHold(IHandleGestor& g, long handle)
      : g_(g), handle_(handle != 0 ? g.bookHandle(handle) : 0) {}
  ~HandleHold() {
    try {
      giveBack();
    } catch (...) {
    }
  }
  HandleHold(const HandleHold&) = delete;
  HandleHold& operator=(const HandleHold&) = delete;

  void giveBack() {
    if (handle_ != 0) g_.unbook(handle_);
    handle_ = 0;
  }

 private:
  IHandleGestor& g_;
  long handle_;
};

}  // namespace

class CFileDXFIVersionReader::HatchReader {
 public:
  HatchReader(CFileDXFIVersionReader& r, HatchRecord& h) : r_(r), h_(h) {}

  // The groups up to the next group 0. Groups 47, 70, 71, 75, 76 and 77 and the elevation
  // point's X and Y are not used. The boundary takes the elevation (30) wherever it stands.
  void read(EntityCommon& c) {
    while (r_.read() != 0) {
      switch (r_.group()) {
        case 2:
          h_.pattern = r_.value().c_str();
          break;
        case 30:
          h_.elevation = r_.getDouble();
          break;
        case 41:
          h_.scale = r_.getDouble();
          break;
        case 52:
          // Degrees, as every angle of a DXF file; the hatch keeps radians.
          h_.angle = r_.getDouble() * kDegToRad;
          break;
        case 78:
          skipPatternLines(r_.getInt());
          break;
        case 91:
          readPaths(r_.getInt());
          break;
        case 98:
          skipSeedPoints(r_.getInt());
          break;
        default:
          r_.readCommonGroup(c);
      }
    }
    for (PNT_3D& p : h_.boundary) p.setZ(h_.elevation);
  }

  // The generated block enters the block table only once the entity exists, so that a hatch
  // that cannot be made leaves no block behind.
  CEnt* build(const EntityCommon& c, const HATCH_TYPE& type) {
    IFileDXFISemantor& s = r_.semantor();
    IHandleGestor& hg = s.getHandleGestor();
    CEntFactory& ef = r_.entFactory();
    CBlockTable& blocks = s.getBlockTable();
    const String name = getHatchName(blocks);
    CLayer* lineLayer = hatchLineLayer(s);
    if (lineLayer == nullptr) return nullptr;  // dropped, as a record that cannot be hatched

    HandleHold hold(hg, c.handle);
    std::unique_ptr<CBlock, BlockDiscard> block(
        createHatch(name, type, h_.scale, h_.angle, h_.boundary, s.getBlockFactory(), hg, ef,
                    lineLayer, s.getLtype("ByBlock"), 0),
        BlockDiscard{&ef, &hg});
    if (!block) return nullptr;
    hold.giveBack();
    std::unique_ptr<CEnt, Discard> hatch(
        ef.createEntHatch(hg, c.layer, c.ltype, c.color, block.get(), type, h_.scale, h_.angle,
                          h_.boundary, c.handle),
        Discard{&ef, &hg});
    if (!hatch) return nullptr;
    try {
      blocks.add(block.get());
    } catch (...) {
      // The table owns the block once it holds it, even when the rest of add failed.
      if (blocks.get(name) == block.get()) block.release();
      throw;
    }
    block.release();
    return hatch.release();
  }

 private:
  CFileDXFIVersionReader& r_;
  HatchRecord& h_;

  void expect(long code) {
    if (r_.read() != code) throw CFileDXFIParser::BadFileFormatHatchParserError();
  }
  double nextDouble(long code) {
    expect(code);
    return r_.getDouble();
  }
  long nextInt(long code) {
    expect(code);
    return r_.getInt();
  }
  // X by xCode, then Y by xCode + 10.
  PNT_3D nextPoint(long xCode) {
    const double x = nextDouble(xCode);
    const double y = nextDouble(xCode + 10);
    return PNT_3D(x, y, 0.0);
  }

  // Angle (53), base point (43, 44), offset (45, 46), dash count (79) and the dashes (49). The
  // catalogue has the pattern: the file's copy is only checked for its shape.
  void skipPatternLines(long count) {
    for (long i = 0; i < count; ++i) {
      for (long code : {53, 43, 44, 45, 46}) expect(code);
      const long dashes = nextInt(79);
      for (long j = 0; j < dashes; ++j) expect(49);
    }
  }

  // Each path: its flags (92), its polyline or its edges, then its source objects (97, and a
  // handle 330 each).
  void readPaths(long count) {
    for (long i = 0; i < count; ++i) {
      const long flags = nextInt(92);
      const bool external = (flags & kExternalPath) != 0;
      if ((flags & kPolylinePath) != 0)
        readPolylinePath(external);
      else
        readEdgePath(external);
      const long sources = nextInt(97);
      for (long j = 0; j < sources; ++j) expect(330);
    }
  }

  // Has-bulge (72), closed (73), vertex count (93), then each vertex's 10, 20 and, with bulges,
  // 42. The segments are emitted as the vertices arrive.
  void readPolylinePath(bool external) {
    const bool bulges = nextInt(72) != 0;
    const bool closed = nextInt(73) != 0;
    const long count = nextInt(93);
    PNT_3D first(0.0, 0.0, 0.0), previous(0.0, 0.0, 0.0);
    double previousBulge = 0.0;
    for (long i = 0; i < count; ++i) {
      const PNT_3D p = nextPoint(10);
      const double bulge = bulges ? nextDouble(42) : 0.0;
      if (i == 0)
        first = p;
      else if (external)
        hatch_add_segment_bulge(previous, p, previousBulge, h_.boundary);
      previous = p;
      previousBulge = bulge;
    }
    if (external && closed && count > 1)
      hatch_add_segment_bulge(previous, first, previousBulge, h_.boundary);
  }

  void readEdgePath(bool external) {
    const long edges = nextInt(93);
    for (long i = 0; i < edges; ++i) readEdge(external);
  }

  // Arcs and elliptic arcs run counter-clockwise from start to end angle (degrees in the file);
  // their direction flag (73) is read and not applied.
  void readEdge(bool external) {
    const long type = nextInt(72);
    if (type == kSplineEdge) {
      skipSplineEdge();
      return;
    }
    if (type != kLineEdge && type != kArcEdge && type != kEllipseEdge)
      throw CFileDXFIParser::BadFileFormatHatchParserError();
    const PNT_3D first = nextPoint(10);
    if (type == kLineEdge) {
      const PNT_3D end = nextPoint(11);
      if (external) addLineEdge(first, end);
      return;
    }
    const PNT_3D major = type == kEllipseEdge ? nextPoint(11) : PNT_3D(0.0, 0.0, 0.0);
    const double size = nextDouble(40);  // the radius, or the minor/major ratio
    const double start = nextDouble(50) * kDegToRad;
    const double end = nextDouble(51) * kDegToRad;
    expect(73);
    if (!external) return;
    if (type == kArcEdge)
      hatch_add_arc(first, size, start, end, h_.boundary);
    else
      hatch_add_ellipse(first, major.getX(), major.getY(), size, start, end, h_.boundary);
  }

  // A ring of line edges gives each corner as one edge's end and the next one's start: the
  // start is taken only where the boundary does not already stand on it.
  void addLineEdge(const PNT_3D& start, const PNT_3D& end) {
    std::vector<PNT_3D>& b = h_.boundary;
    if (!b.empty() && !(b.back() == start)) b.push_back(start);
    b.push_back(end);
  }

  // Degree (94), rational (73), periodic (74), knot count (95), control point count (96), the
  // knots (40), the control points (10, 20, and 42 when rational). No boundary points.
  void skipSplineEdge() {
    expect(94);
    const bool rational = nextInt(73) != 0;
    expect(74);
    const long knots = nextInt(95);
    const long controls = nextInt(96);
    for (long i = 0; i < knots; ++i) expect(40);
    for (long i = 0; i < controls; ++i) {
      nextPoint(10);
      if (rational) expect(42);
    }
  }

  void skipSeedPoints(long count) {
    for (long i = 0; i < count; ++i) nextPoint(10);
  }
};

CEnt* CFileDXFIVersionReader::readHatch() {
  EntityCommon c = beginEntity();
  HatchRecord h;
  HatchReader reader(*this, h);
  reader.read(c);
  // No group is required beyond the layer.
  endEntity(c, kHatchKind, c.mask);
  const HATCH_TYPE* type = getHatch(h.pattern);
  if (type == nullptr) return nullptr;
  return reader.build(c, *type);
}
