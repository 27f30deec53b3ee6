// tools/velt/render/render.h: drawing a drawing's model space into an image file, SVG or PNG,
// through a viewport window fitted to what is drawn. Used by `velt render` and by the demo.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CData;

namespace velt {

enum class ImageFormat { kSvg, kPng };

struct RenderOptions {
  long width = 1200, height = 900;
  std::vector<std::string> layers;  // empty: every layer
  bool blackBackground = false;
};

// The image format of path by its extension (.svg, .png, any case); throws
// CommandFailure(kUsageError) otherwise.
ImageFormat imageFormatOf(const std::string& path);

// Draws model space of data into path; throws CommandFailure(kFileError) when path cannot be
// written, CommandFailure(kUsageError) for a size outside 16 ... 16384 or a layer name the
// drawing does not have. Once everything is drawn, whenDrawn (if given) runs while the image
// is completed and written on another thread: data is no longer read, and the caller may free
// it there, which for a large drawing takes as long as encoding its image.
void renderDrawing(const CData& data, const std::string& path, ImageFormat format,
                   const RenderOptions& options, const std::function<void()>& whenDrawn = {});

}  // namespace velt
