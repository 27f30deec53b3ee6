// tools/velt/demo/demo_drawing.cpp: the demo floor plan, in centimetres: three rooms inside
// walls drawn as wide polylines with rounded corners, each room filled with a catalogue hatch
// (one around a column, as an island), doors from one block with a numbering attribute
// (rotated, mirrored, and as a 2 x 3 array in a legend), texts in several justifications and a
// second style, axes and service lines in linetypes from a library file, and furniture on a
// frozen layer that neither the picture nor a skip-frozen save shows.
#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/font.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include <cmath>
#include <vector>

#include "demo/demo_drawing.h"
#include "demo/demo_parts.h"

namespace velt {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWallWidth = 20.0;
constexpr double kInnerWallWidth = 12.0;
constexpr long kClosedFlag = 1;  // a polyline's "closed" bit, as in DXF group 70

struct Pt {
  double x, y;
};

// The drawing and the items the plan is drawn with.
class PlanBuilder {
 public:
  explicit PlanBuilder(CData& d) : d_(d) {}

  CLayer* layer(const char* name, short color, const char* ltype = "CONTINUOUS") {
    CLtype* lt = getLtype(d_, ltype);
    if (lt == nullptr) throw CommandFailure(kFileError, std::string("no linetype ") + ltype);
    CLayer* l = d_.getLayerFactory().create(name, lt, color, 0);
    addLayer(d_, l);
    return l;
  }

  CStyle* style(const char* name, double widthScale, double obliqueDegrees) {
    CStyle* s = d_.getStyleFactory().create(name, CFontTable::getInstance().getDefault(), 0.0,
                                            widthScale, obliqueDegrees * kPi / 180.0, 0.0, 0);
    addStyle(d_, s);
    return s;
  }

  // An open or closed polyline of constant width through pts, on layer.
  CEntPolyline* polyline(CLayer* layer, const std::vector<Pt>& pts, double width, bool closed,
                         CLtype* ltype = nullptr) {
    CEntPolyline* p = createEntPolyline(d_, layer, ltype != nullptr ? ltype : byLayer(), 256,
                                        closed ? kClosedFlag : 0, 0, 0);
    for (const Pt& q : pts) {
      p->addVertex(*createVertex(d_, PNT_3D(q.x, q.y, 0), width, width, 0));
    }
    p->calcBdry();
    return p;
  }

  CEnt* line(CLayer* layer, Pt a, Pt b) {
    return createEntLine(d_, layer, byLayer(), 256, LINE_3D(a.x, a.y, 0, b.x, b.y, 0), 0);
  }

  CEnt* circle(CLayer* layer, Pt c, double r) {
    return createEntCircle(d_, layer, byLayer(), 256, CIRCLE_3D(c.x, c.y, 0, r), 0);
  }

  // A text of style s with justification (h, v) at p.
  CEnt* text(CLayer* layer, CStyle* s, const char* str, Pt p, double height, long h, long v,
             double rotationDegrees = 0.0) {
    const TEXT_3D t(str, s, height, s->getOblique(), s->getWidthScale(),
                    rotationDegrees * kPi / 180.0, p.x, p.y, 0.0, TEXT_3D::findJustify(h, v));
    return createEntText(d_, layer, byLayer(), 256, t, 0);
  }

  void add(CEnt* e) { d_.getEntTable().add(e); }

  CLtype* byLayer() const { return getLtypeByLayer(d_); }
  CData& data() const { return d_; }

 private:
  CData& d_;
};

// The outline of a rectangle whose corners are rounded with radius r, counter-clockwise from
// the lower edge, each corner sampled as the arc of a quarter-circle bulge.
std::vector<Pt> roundedRectangle(Pt lo, Pt hi, double r) {
  const Pt corners[4][2] = {{{hi.x - r, lo.y}, {hi.x, lo.y + r}},
                            {{hi.x, hi.y - r}, {hi.x - r, hi.y}},
                            {{lo.x + r, hi.y}, {lo.x, hi.y - r}},
                            {{lo.x, lo.y + r}, {lo.x + r, lo.y}}};
  const double quarterBulge = std::tan(kPi / 8.0);  // a 90 degree arc, counter-clockwise
  std::vector<Pt> out;
  for (const auto& c : corners) {
    ARC_3D arc;
    createArcFromBulge(PNT_3D(c[0].x, c[0].y, 0), PNT_3D(c[1].x, c[1].y, 0), quarterBulge, arc);
    // Counter-clockwise from start to end; an arc across angle 0 ends below its start.
    const double end = arc.end > arc.start ? arc.end : arc.end + 2.0 * kPi;
    constexpr int kSteps = 8;
    for (int i = 0; i <= kSteps; ++i) {
      const double a = arc.start + (end - arc.start) * i / kSteps;
      out.push_back({arc.centre.getX() + r * std::cos(a), arc.centre.getY() + r * std::sin(a)});
    }
  }
  return out;
}

void drawWalls(PlanBuilder& b, CLayer* walls) {
  b.add(b.polyline(walls, roundedRectangle({0, 0}, {1400, 900}, 60), kWallWidth, true));
  const std::vector<std::vector<Pt>> inner = {{{600, 10}, {600, 380}},
                                              {{600, 470}, {600, 890}},
                                              {{606, 500}, {900, 500}},
                                              {{990, 500}, {1390, 500}}};
  for (const auto& run : inner) b.add(b.polyline(walls, run, kInnerWallWidth, false));
}

std::vector<PNT_3D> ring(Pt lo, Pt hi) {
  return {PNT_3D(lo.x, lo.y, 0), PNT_3D(hi.x, lo.y, 0), PNT_3D(hi.x, hi.y, 0),
          PNT_3D(lo.x, hi.y, 0), PNT_3D(lo.x, lo.y, 0)};
}

void hatchRoom(PlanBuilder& b, CLayer* layer, const char* pattern, double scale, double angle,
               std::vector<PNT_3D> boundary) {
  const HATCH_TYPE* type = getHatch(String(pattern));
  if (type == nullptr) throw CommandFailure(kUsageError, std::string("no hatch ") + pattern);
  CEntHatch* h =
      createEntHatch(b.data(), layer, b.byLayer(), 256, *type, scale, angle, boundary, 0);
  if (h == nullptr) throw CommandFailure(kUsageError, std::string("hatch refused: ") + pattern);
  b.add(h);
}

void drawHatches(PlanBuilder& b, CLayer* layer) {
  const double in = kWallWidth / 2 + 2, inner = kInnerWallWidth / 2 + 2;
  hatchRoom(b, layer, "DOTS", 12, 0, ring({in, in}, {600 - inner, 900 - in}));
  hatchRoom(b, layer, "ANSI37", 5, 0, ring({600 + inner, 500 + inner}, {1400 - in, 900 - in}));
  // The study holds a column: its outline follows the room's and then the column's, and the
  // even-odd fill leaves the column empty.
  std::vector<PNT_3D> study = ring({600 + inner, in}, {1400 - in, 500 - inner});
  const std::vector<PNT_3D> column = ring({970, 220}, {1030, 280});
  study.insert(study.end(), column.begin(), column.end());
  hatchRoom(b, layer, "BRICK", 3, 0, study);
  b.add(b.polyline(layer, {{970, 220}, {1030, 220}, {1030, 280}, {970, 280}}, 0, true));
}

// The door block: the leaf open at 90 degrees, its swing, and a numbering attribute.
CBlock* doorBlock(PlanBuilder& b, CLayer* doors, CStyle* standard) {
  CData& d = b.data();
  CBlock* door = d.getBlockFactory().create("PORTA", PNT_3D(0, 0, 0), 0);
  door->add(b.line(doors, {0, 0}, {0, 90}));
  door->add(createEntArc(d, doors, b.byLayer(), 256, ARC_3D(0, 0, 0, 90, 0, kPi / 2), 0));
  const TEXT_3D tag("NUM", standard, 14, 0, 1, 0, 45, -22, 0,
                    TEXT_3D::findJustify(TEXT_3D::kCenter, TEXT_3D::kMiddle));
  door->add(createEntAttdef(d, doors, b.byLayer(), 5, tag, "P?", "Numero porta", 0, 0));
  d.getBlockTable().add(door);
  return door;
}

void insertDoor(PlanBuilder& b, CBlock* door, CLayer* layer, Pt at, double sx, double rotDeg,
                const char* number, long rows = 1, long columns = 1) {
  CData& d = b.data();
  CEntInsert* ins = createEntInsert(d, layer, b.byLayer(), 256, *door, PNT_3D(at.x, at.y, 0), sx, 1,
                                    1, rotDeg * kPi / 180.0, rows, columns, 130, 150, 0);
  for (int i = 0; i < door->size(); ++i) {
    if (const auto* def = dynamic_cast<const CEntAttdef*>((*door)[i])) {
      ins->add(createEntAttrib(d, number, *def, *ins, 0));
    }
  }
  ins->calcBdry();
  b.add(ins);
}

void drawDoors(PlanBuilder& b, CLayer* doors, CStyle* standard) {
  CBlock* door = doorBlock(b, doors, standard);
  insertDoor(b, door, doors, {600, 380}, 1, 90, "P1");  // into the living room
  insertDoor(b, door, doors, {990, 500}, -1, 0, "P2");  // mirrored, into the kitchen
  // The legend's door schedule: the same block as two rows of three.
  insertDoor(b, door, doors, {1600, 300}, 1, 0, "TIPO A", 2, 3);
}

void drawTexts(PlanBuilder& b, CLayer* texts, CStyle* standard, CStyle* titles) {
  const struct {
    const char* name;
    const char* area;
    Pt at;
  } rooms[] = {{"SOGGIORNO", "54.0 m2", {300, 450}},
               {"CUCINA", "32.0 m2", {1000, 700}},
               {"STUDIO", "40.0 m2", {1000, 380}}};
  for (const auto& r : rooms) {
    b.add(b.text(texts, standard, r.name, r.at, 30, TEXT_3D::kCenter, TEXT_3D::kMiddle));
    b.add(b.text(texts, standard, r.area, {r.at.x, r.at.y - 30}, 18, TEXT_3D::kCenter,
                 TEXT_3D::kTop));
  }
  b.add(b.text(texts, titles, "PIANTA PIANO TERRA", {0, -200}, 50, TEXT_3D::kLeft,
               TEXT_3D::kBaseline));
  b.add(b.text(texts, standard, "Scala 1:100 - disegnata da veltcore", {1400, -200}, 20,
               TEXT_3D::kRight, TEXT_3D::kBottom));
  b.add(b.text(texts, titles, "ABACO PORTE", {1600, 650}, 30, TEXT_3D::kLeft, TEXT_3D::kBottom));
  b.add(
      b.text(texts, standard, "ingresso", {-90, 450}, 18, TEXT_3D::kCenter, TEXT_3D::kBottom, 90));
}

void drawAxes(PlanBuilder& b, CLayer* axes, CStyle* standard) {
  const struct {
    const char* label;
    Pt from, to;
  } lines[] = {{"A", {0, 1000}, {0, -100}},       {"B", {600, 1000}, {600, -100}},
               {"C", {1400, 1000}, {1400, -100}}, {"1", {-100, 0}, {1500, 0}},
               {"2", {-100, 500}, {1500, 500}},   {"3", {-100, 900}, {1500, 900}}};
  for (const auto& l : lines) {
    b.add(b.line(axes, l.from, l.to));
    const Pt bubble = {
        l.to.x + (l.to.x - l.from.x) / std::hypot(l.to.x - l.from.x, l.to.y - l.from.y) * 30,
        l.to.y + (l.to.y - l.from.y) / std::hypot(l.to.x - l.from.x, l.to.y - l.from.y) * 30};
    b.add(b.circle(axes, bubble, 30));
    b.add(b.text(axes, standard, l.label, bubble, 28, TEXT_3D::kCenter, TEXT_3D::kMiddle));
  }
}

void drawServices(PlanBuilder& b, CLayer* gas, CLayer* water) {
  b.add(b.polyline(gas, {{1380, 870}, {700, 870}, {700, 620}}, 0, false));
  b.add(b.polyline(water, {{620, 880}, {620, 20}, {1380, 20}}, 0, false));
}

// On a frozen layer: in the drawing and its file, in no picture.
void drawFurniture(PlanBuilder& b, CLayer* furniture) {
  b.add(b.circle(furniture, {1000, 720}, 60));
  b.add(b.polyline(furniture, {{60, 100}, {300, 100}, {300, 190}, {60, 190}}, 0, true));
}

}  // namespace

DrawingPtr buildDemoDrawing(const std::string& linetypeFile) {
  DrawingPtr d(CDataFactory().createData());
  loadDemoLinetypes(*d, linetypeFile);
  setLtypeScale(*d, 30.0);
  PlanBuilder b(*d);
  CStyle* standard = getStyleStandard(*d);
  CStyle* titles = b.style("TITOLI", 0.8, 12.0);
  CLayer* walls = b.layer("MURI", 7);
  CLayer* hatches = b.layer("CAMPITURE", 8);
  CLayer* doors = b.layer("PORTE", 1);
  CLayer* texts = b.layer("TESTI", 5);
  CLayer* axes = b.layer("ASSI", 1, "CENTER");
  CLayer* gas = b.layer("GAS", 30, "GAS");
  CLayer* water = b.layer("ACQUA", 3, "HIDDEN");
  CLayer* furniture = b.layer("ARREDI", 6, "DASHED");
  furniture->setFrozen(true);

  drawHatches(b, hatches);
  drawWalls(b, walls);
  drawDoors(b, doors, standard);
  drawTexts(b, texts, standard, titles);
  drawAxes(b, axes, standard);
  drawServices(b, gas, water);
  drawFurniture(b, furniture);
  return d;
}

}  // namespace velt
