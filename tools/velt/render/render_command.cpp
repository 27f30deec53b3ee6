// tools/velt/render/render_command.cpp: `velt render IN.dxf -o OUT.svg|OUT.png [--size WxH]
// [--layers A,B] [--background white|black]`: loads a drawing and draws its model space into
// an image. Every usage error is found before the drawing is loaded.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "command.h"
#include "io/load_drawing.h"
#include "render/render.h"

namespace velt {

namespace {

struct RenderCommandOptions {
  std::string input;
  std::string output;
  std::string size = "1200x900";
  std::vector<std::string> layers;
  std::string background = "white";
};

// "WxH", both whole numbers of pixels in 16 ... 16384.
void parseSize(const std::string& text, RenderOptions& o) {
  const std::size_t x = text.find_first_of("xX");
  const auto side = [&](const std::string& digits, long& out) {
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    out = std::stol(digits);
    return out >= 16 && out <= 16384;
  };
  if (x == std::string::npos || !side(text.substr(0, x), o.width) ||
      !side(text.substr(x + 1), o.height)) {
    throw CommandFailure(kUsageError,
                         "--size " + text + ": expected WIDTHxHEIGHT, each 16 to 16384 pixels");
  }
}

void runRender(const RenderCommandOptions& c) {
  RenderOptions o;
  parseSize(c.size, o);
  o.blackBackground = c.background == "black";
  for (const std::string& name : c.layers)
    if (!name.empty()) o.layers.push_back(name);
  const ImageFormat format = imageFormatOf(c.output);
  LoadedDrawing loaded = loadDrawing(c.input);
  renderDrawing(*loaded.data, c.output, format, o, [&loaded] { loaded.data.reset(); });
  std::printf("%s: %ldx%ld %s\n", c.output.c_str(), o.width, o.height,
              format == ImageFormat::kSvg ? "SVG" : "PNG");
}

}  // namespace

void addRenderCommand(CLI::App& app) {
  auto options = std::make_shared<RenderCommandOptions>();
  CLI::App* cmd = app.add_subcommand(
      "render", "Draw the model space of a DXF file (AC1009 to AC1015) into an SVG or PNG image.");
  cmd->add_option("input", options->input, "the DXF file to read")->required();
  cmd->add_option("-o,--output", options->output,
                  "the image to write: a name ending in .svg or .png")
      ->required();
  cmd->add_option("--size", options->size, "the image size in pixels, WIDTHxHEIGHT (16 to 16384)")
      ->default_str("1200x900");
  cmd->add_option("--layers", options->layers, "draw only these layers (comma-separated names)")
      ->delimiter(',');
  cmd->add_option("--background", options->background, "the background colour")
      ->check(CLI::IsMember({"white", "black"}))
      ->default_str("white");
  cmd->callback([options] { runRender(*options); });
}

}  // namespace velt
