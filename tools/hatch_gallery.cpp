// tools/hatch_gallery.cpp: draws every catalogue pattern, and a few boundaries with holes,
// circles and bulges, into one SVG page for a person to look at. Boundaries are drawn in blue,
// hatch lines in black, dots as small red circles. Uses the public API only.
//
//   hatch_gallery [OUT.svg]        (default hatches.svg)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

namespace {

constexpr double kPanel = 60;  // panel side, drawing units
constexpr double kGap = 14;    // room for the label under each panel
constexpr int kColumns = 8;
constexpr double kPi = 3.14159265358979323846;

struct Svg {
  std::ostringstream body;
  double height = 0;

  void polyline(const std::vector<PNT_3D>& pts, double ox, double oy, const char* colour) {
    body << "<polyline fill='none' stroke='" << colour << "' stroke-width='0.6' points='";
    for (const PNT_3D& p : pts) body << ox + p.getX() << ',' << oy - p.getY() << ' ';
    body << "'/>\n";
  }
  void text(double x, double y, const std::string& s) {
    body << "<text x='" << x << "' y='" << y << "' font-size='5' font-family='sans-serif'>" << s
         << "</text>\n";
  }
};

// Draws the lines and dots of a generated hatch block.
class BlockDrawer : public IEntFooVisitor {
 public:
  BlockDrawer(Svg& svg, double ox, double oy) : svg_(svg), ox_(ox), oy_(oy) {}
  using IEntFooVisitor::visit;
  void visit(CEntLine& e) override {
    const LINE_3D& l = e.getLine();
    svg_.body << "<line stroke='black' stroke-width='0.25' x1='" << ox_ + l.start.getX() << "' y1='"
              << oy_ - l.start.getY() << "' x2='" << ox_ + l.end.getX() << "' y2='"
              << oy_ - l.end.getY() << "'/>\n";
  }
  void visit(CEntPnt& e) override {
    svg_.body << "<circle fill='red' r='0.35' cx='" << ox_ + e.getPnt().getX() << "' cy='"
              << oy_ - e.getPnt().getY() << "'/>\n";
  }

 private:
  Svg& svg_;
  double ox_, oy_;
};

// A scale that shows a few repeats of the pattern in a panel whatever its units.
double scaleFor(const HATCH_TYPE& t) {
  double spacing = 0;
  for (long i = 0; i < t.noLines; ++i) spacing = std::max(spacing, std::fabs(t.lines[i].deltaY));
  return spacing > 0 ? kPanel / 10 / (25.4 * spacing) : 1;
}

// The panels whose generation reported an odd crossing count (a hatch line through the
// boundary exactly along an edge or a vertex can do that); listed once at the end instead of
// one message per panel.
std::vector<std::string> g_oddPanels;
std::string g_currentPanel;

void noteOddPanel(const char*, const char*) {
  g_oddPanels.push_back(g_currentPanel);
}

void drawHatch(Svg& svg, CData& d, const HATCH_TYPE& t, double scale, double angle,
               const std::vector<PNT_3D>& boundary, double ox, double oy,
               const std::string& label) {
  g_currentPanel = label;
  std::unique_ptr<CBlock> block(createHatch(String("*PAT"), t, scale, angle, boundary, d));
  svg.polyline(boundary, ox, oy, "blue");
  if (block) {
    BlockDrawer drawer(svg, ox, oy);
    for (int i = 0; i < block->size(); ++i) (*block)[i]->accept(drawer);
  }
  svg.text(ox, oy + 6, label);
}

std::vector<PNT_3D> square(double side) {
  return {{0, 0, 0}, {side, 0, 0}, {side, side, 0}, {0, side, 0}, {0, 0, 0}};
}

// A square with two round holes, each reached by a bridge walked out and back.
std::vector<PNT_3D> squareWithHoles() {
  std::vector<PNT_3D> pts{
      {0, 0, 0}, {kPanel, 0, 0}, {kPanel, kPanel, 0}, {0, kPanel, 0}, {0, kPanel / 2, 0}};
  for (double cx : {kPanel * 0.3, kPanel * 0.7}) {
    pts.emplace_back(cx - 10, kPanel / 2, 0);
    hatch_add_circle(PNT_3D(cx, kPanel / 2, 0), 10, pts);  // starts at the right of the hole
    pts.emplace_back(cx - 10, kPanel / 2, 0);
  }
  pts.emplace_back(0, kPanel / 2, 0);
  pts.emplace_back(0, 0, 0);
  return pts;
}

// Fits the panel: the lower bulge dips 12 below its chord, the upper half circle rises 30.
std::vector<PNT_3D> bulgedShape() {
  const double low = 12, high = kPanel / 2;
  std::vector<PNT_3D> pts;
  hatch_add_segment_bulge(PNT_3D(0, low, 0), PNT_3D(kPanel, low, 0), 0.4, pts);
  hatch_add_segment_bulge(PNT_3D(kPanel, low, 0), PNT_3D(kPanel, high, 0), 0, pts);
  hatch_add_segment_bulge(PNT_3D(kPanel, high, 0), PNT_3D(0, high, 0), 1, pts);
  pts.emplace_back(0, low, 0);
  return pts;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "hatches.svg";
  initCore();
  setHatchFailureHandler(noteOddPanel);
  CDataFactory factory;
  CData* d = factory.createData();
  Svg svg;
  const double cell = kPanel + kGap;
  for (long i = 0; i < kNoHatchTypes; ++i) {
    const HATCH_TYPE& t = *getHatch(i);
    const double ox = 10 + (i % kColumns) * cell;
    const double oy = 10 + (i / kColumns) * cell + kPanel;
    drawHatch(svg, *d, t, scaleFor(t), 0, square(kPanel), ox, oy, t.name);
  }
  const double shapesY = 10 + ((kNoHatchTypes + kColumns - 1) / kColumns) * cell + kPanel;
  std::vector<PNT_3D> circle;
  hatch_add_circle(PNT_3D(kPanel / 2, kPanel / 2, 0), kPanel / 2, circle);
  drawHatch(svg, *d, *getHatch(String("ANSI31")), 0.3, 0, squareWithHoles(), 10, shapesY,
            "ANSI31, holes");
  drawHatch(svg, *d, *getHatch(String("NET")), 0.4, kPi / 6, circle, 10 + cell, shapesY,
            "NET at 30 degrees, circle");
  drawHatch(svg, *d, *getHatch(String("DOTS")), 1, 0, bulgedShape(), 10 + 2 * cell, shapesY,
            "DOTS, bulges");
  drawHatch(svg, *d, *getHatch(String("MUDST")), 0.3, kPi / 4, bulgedShape(), 10 + 3 * cell,
            shapesY, "MUDST at 45 degrees");
  deleteData(d);
  shutdownCore();

  std::ofstream file(out);
  const double width = 20 + kColumns * cell, height = shapesY + kGap + 10;
  file << "<svg xmlns='http://www.w3.org/2000/svg' width='" << width * 3 << "' height='"
       << height * 3 << "' viewBox='0 0 " << width << ' ' << height << "'>\n"
       << "<rect width='100%' height='100%' fill='white'/>\n"
       << svg.body.str() << "</svg>\n";
  if (!file) {
    std::cerr << "hatch_gallery: cannot write " << out << '\n';
    return 1;
  }
  std::cout << "wrote " << out << '\n';
  if (!g_oddPanels.empty()) {
    std::cout << "odd crossing counts (the pairs found were still drawn):";
    for (const std::string& p : g_oddPanels) std::cout << ' ' << p;
    std::cout << '\n';
  }
  return 0;
}
