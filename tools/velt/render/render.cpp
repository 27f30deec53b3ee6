// tools/velt/render/render.cpp: the render pipeline: layer rules, the fitted view, the canvas of
// the format, the scene walk with a progress bar, and the file.
#include "render/render.h"

#include <veltcore/database/data.h>
#include <veltcore/geometry/font.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <future>
#include <memory>
#include <system_error>

#include "command.h"
#include "font/freetype_font.h"
#include "io/progress.h"
#include "render/canvas_pipe.h"
#include "render/layer_rules.h"
#include "render/png_canvas.h"
#include "render/scene.h"
#include "render/svg_canvas.h"
#include "render/view_fit.h"

namespace velt {

namespace {

constexpr long kMinSide = 16;
constexpr long kMaxSide = 16384;

// The font texts without a FreeType font of their own are drawn with: the library's default,
// which velt registers before any command runs.
const FreeTypeFont* defaultFont() {
  return dynamic_cast<const FreeTypeFont*>(CFontTable::getInstance().getDefault());
}

std::unique_ptr<Canvas> makeCanvas(const std::string& path, ImageFormat format,
                                   const RenderOptions& o, const FreeTypeFont* font) {
  const Rgb background = backgroundOf(o.blackBackground);
  if (format == ImageFormat::kPng)
    return std::make_unique<PngCanvas>(path, o.width, o.height, background);
  // Turning every coordinate into text costs as much as the scene walk: it runs beside it.
  return std::make_unique<CanvasPipe>(std::make_unique<SvgCanvas>(
      path, o.width, o.height, background, font != nullptr ? font->family() : "sans-serif"));
}

// Completes the canvas on a second thread while whenDrawn runs on this one.
void finishAlongside(Canvas& canvas, const std::function<void()>& whenDrawn) {
  if (!whenDrawn) return canvas.finish();
  std::future<void> finished;
  try {
    finished = std::async(std::launch::async, [&canvas] { canvas.finish(); });
  } catch (const std::system_error&) {
    canvas.finish();  // no thread to be had: one after the other
    return whenDrawn();
  }
  whenDrawn();
  finished.get();  // passes on what finish() threw
}

}  // namespace

ImageFormat imageFormatOf(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".svg") return ImageFormat::kSvg;
  if (ext == ".png") return ImageFormat::kPng;
  throw CommandFailure(kUsageError,
                       path + ": unknown image format (the name must end in .svg or .png)");
}

void renderDrawing(const CData& data, const std::string& path, ImageFormat format,
                   const RenderOptions& options, const std::function<void()>& whenDrawn) {
  if (options.width < kMinSide || options.width > kMaxSide || options.height < kMinSide ||
      options.height > kMaxSide) {
    throw CommandFailure(kUsageError, "image size " + std::to_string(options.width) + "x" +
                                          std::to_string(options.height) + " is outside 16 ... " +
                                          "16384 pixels a side");
  }
  std::unique_ptr<Canvas> canvas;
  {
    const LayerRules rules(data, options.layers);
    const CWndVpt view = fitView(drawnExtent(data, rules), options.width, options.height);
    const FreeTypeFont* font = defaultFont();
    canvas = makeCanvas(path, format, options, font);
    SceneWalker scene(data, view, *canvas, rules, options.blackBackground, font);
    ProgressBar bar("rendering", static_cast<double>(data.getEntTable().getEntityTbl().size()));
    scene.drawModelSpace(&bar);
  }
  finishAlongside(*canvas, whenDrawn);
}

}  // namespace velt
