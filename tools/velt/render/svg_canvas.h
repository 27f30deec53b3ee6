// tools/velt/render/svg_canvas.h: a Canvas that writes an SVG document as it goes: one element per
// drawn entity (<line>, <polyline>, <polygon>, <path>, <circle>, <text>) with the entity's kind
// as its class, or a <g> of that class around an entity that needs several elements, a block
// reference or a hatch (kept even when nothing in it shows, so that every reference drawn is one
// group). The text is built in a large buffer and written out in big blocks, on a thread of its
// own while the next block is built.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "render/canvas.h"

namespace velt {

class BackgroundWriter;

class SvgCanvas : public Canvas {
 public:
  // Opens path for writing at once, so that an unwritable path fails before any drawing; throws
  // CommandFailure(kFileError) when it cannot be opened. fontFamily names the font of the texts.
  SvgCanvas(const std::string& path, long width, long height, Rgb background,
            const std::string& fontFamily);
  ~SvgCanvas() override;
  SvgCanvas(const SvgCanvas&) = delete;
  SvgCanvas& operator=(const SvgCanvas&) = delete;

  bool raster() const override { return false; }
  void beginEntity(const char* kind) override;
  void endEntity() override;
  void beginGroup(const char* kind) override;
  void endGroup() override;
  void strokePath(const PixelPath& path, Rgb colour) override;
  void fillPath(const PixelPath& path, Rgb colour) override;
  void strokeCircle(PixelPoint centre, double radius, Rgb colour) override;
  void strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) override;
  void dot(PixelPoint p, Rgb colour) override;
  void text(const TextRun& run, Rgb colour) override;
  void finish() override;

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  // Writes the blocks to file_; gone before file_ is closed.
  std::unique_ptr<BackgroundWriter> writer_;
  // The document so far, written out whenever it grows large between two top-level entities.
  std::string out_;
  // The elements of the entity being drawn; copied into out_ when the entity ends, wrapped in a
  // group when there are several.
  std::string entity_;
  const char* kind_ = nullptr;
  int elements_ = 0;
  // Where the first element's tag name ends in entity_, for the class attribute.
  std::size_t firstTagEnd_ = 0;
  // Groups open; the document is written out only between top-level groups.
  int groups_ = 0;

  // The buffer elements go to: the entity's while one is open.
  std::string& target() { return kind_ != nullptr ? entity_ : out_; }
  void openElement(const char* tag);
  void number(double v);
  void attribute(const char* name, double v);
  void colourAttribute(const char* name, Rgb c);
  void pointList(const PixelPath& path, const PixelPath::Subpath& s);
  void pathData(const PixelPath& path, bool closeAll);
  void escaped(const std::string& utf8);
  void flushIfLarge();
};

}  // namespace velt
