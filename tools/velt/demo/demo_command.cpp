// tools/velt/demo/demo_command.cpp: `velt demo [-o DIR]`: writes the demo's linetype library,
// builds the sample floor plan from it, and writes the drawing as AC1009 DXF and as an SVG
// picture (and a PNG on request) into DIR.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "command.h"
#include "demo/demo_drawing.h"
#include "io/save_drawing.h"
#include "render/render.h"

namespace velt {

namespace {

struct DemoOptions {
  std::string dir = ".";
  bool png = false;
};

void writeText(const std::string& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw CommandFailure(kFileError, path + ": cannot be written");
}

void runDemo(const DemoOptions& o) {
  std::error_code ec;
  std::filesystem::create_directories(o.dir, ec);
  const std::filesystem::path dir(o.dir);
  const std::string lin = (dir / "demo.lin").string();
  const std::string dxf = (dir / "demo.dxf").string();
  const std::string svg = (dir / "demo.svg").string();
  writeText(lin, kDemoLinetypeLibrary);
  std::printf("%s: linetype library (%s)\n", lin.c_str(), "DASHED, CENTER, HIDDEN, GAS");

  const DrawingPtr d = buildDemoDrawing(lin);
  saveDrawing(*d, dxf, 0);
  std::printf("%s: the floor plan as AC1009 DXF\n", dxf.c_str());

  RenderOptions picture;
  renderDrawing(*d, svg, ImageFormat::kSvg, picture);
  std::printf("%s: the floor plan as SVG (%ldx%ld)\n", svg.c_str(), picture.width, picture.height);
  if (o.png) {
    const std::string png = (dir / "demo.png").string();
    renderDrawing(*d, png, ImageFormat::kPng, picture);
    std::printf("%s: the floor plan as PNG (%ldx%ld)\n", png.c_str(), picture.width,
                picture.height);
  }
}

}  // namespace

void addDemoCommand(CLI::App& app) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* cmd = app.add_subcommand(
      "demo", "Build a sample floor plan through the library and write it as DXF and SVG.");
  cmd->add_option("-o,--output", options->dir, "the folder to write into (made if missing)");
  cmd->add_flag("--png", options->png, "also write demo.png");
  cmd->callback([options] { runDemo(*options); });
}

}  // namespace velt
