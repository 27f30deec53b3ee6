// tools/velt/render/svg_canvas.cpp: the SVG writer. Coordinates are written with two decimals
// (a hundredth of a pixel), text matrices with six significant digits, all through
// std::to_chars: a large drawing writes millions of numbers and the C library's printf would
// both cost more and depend on the locale.
#include "render/svg_canvas.h"

#include <charconv>
#include <cmath>

#include "command.h"
#include "font/freetype_font.h"
#include "io/background_writer.h"
#include "render/rounding.h"

namespace velt {

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 22;
constexpr double kDotRadius = 1.0;
// Beyond this, coordinates are written in the general form (hundredths would overflow).
constexpr double kLargestFixed = 1e15;

}  // namespace

SvgCanvas::SvgCanvas(const std::string& path, long width, long height, Rgb background,
                     const std::string& fontFamily)
    : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) throw CommandFailure(kFileError, path + ": cannot be written");
  try {
    writer_ = std::make_unique<BackgroundWriter>(file_, path);
  } catch (...) {
    std::fclose(file_);
    throw;
  }
  out_.reserve(kFlushSize + (kFlushSize >> 2));
  const std::string w = std::to_string(width), h = std::to_string(height);
  out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" ";
  out_ += "width=\"" + w + "\" height=\"" + h + "\" viewBox=\"-0.5 -0.5 " + w + " " + h + "\">\n";
  out_ +=
      "<rect class=\"background\" x=\"-0.5\" y=\"-0.5\" width=\"" + w + "\" height=\"" + h + "\"";
  colourAttribute("fill", background);
  out_ += "/>\n<g id=\"model\" fill=\"none\" stroke-width=\"1\" stroke-linecap=\"round\" ";
  out_ += "stroke-linejoin=\"round\" font-family=\"";
  escaped(fontFamily);
  out_ += "\">\n";
}

SvgCanvas::~SvgCanvas() {
  writer_.reset();
  if (file_ != nullptr) std::fclose(file_);
}

void SvgCanvas::beginEntity(const char* kind) {
  kind_ = kind;
  entity_.clear();
  elements_ = 0;
}

void SvgCanvas::endEntity() {
  const char* kind = kind_;
  kind_ = nullptr;
  if (elements_ == 0) return;
  if (elements_ == 1) {
    out_.append(entity_, 0, firstTagEnd_);
    out_ += " class=\"";
    out_ += kind;
    out_ += '"';
    out_.append(entity_, firstTagEnd_, std::string::npos);
  } else {
    out_ += "<g class=\"";
    out_ += kind;
    out_ += "\">\n";
    out_ += entity_;
    out_ += "</g>\n";
  }
  flushIfLarge();
}

void SvgCanvas::beginGroup(const char* kind) {
  out_ += "<g class=\"";
  out_ += kind;
  out_ += "\">\n";
  ++groups_;
}

void SvgCanvas::endGroup() {
  if (groups_ == 0) return;
  --groups_;
  out_ += "</g>\n";
  flushIfLarge();
}

void SvgCanvas::strokePath(const PixelPath& path, Rgb colour) {
  int drawn = 0;
  const PixelPath::Subpath* only = nullptr;
  for (const PixelPath::Subpath& s : path.subpaths()) {
    if (s.count < 2) continue;
    ++drawn;
    only = &s;
  }
  if (drawn == 0) return;
  if (drawn > 1) {
    openElement("path");
    pathData(path, false);
  } else if (only->count == 2 && !only->closed) {
    const PixelPoint a = path.points()[only->first], b = path.points()[only->first + 1];
    openElement("line");
    attribute("x1", a.x);
    attribute("y1", a.y);
    attribute("x2", b.x);
    attribute("y2", b.y);
  } else {
    openElement(only->closed ? "polygon" : "polyline");
    pointList(path, *only);
  }
  colourAttribute("stroke", colour);
  target() += "/>\n";
}

void SvgCanvas::fillPath(const PixelPath& path, Rgb colour) {
  if (path.empty()) return;
  if (path.subpaths().size() == 1) {
    openElement("polygon");
    pointList(path, path.subpaths().front());
  } else {
    openElement("path");
    pathData(path, true);
  }
  colourAttribute("fill", colour);
  target() += " stroke=\"none\"/>\n";
}

void SvgCanvas::strokeCircle(PixelPoint centre, double radius, Rgb colour) {
  openElement("circle");
  attribute("cx", centre.x);
  attribute("cy", centre.y);
  attribute("r", radius);
  colourAttribute("stroke", colour);
  target() += "/>\n";
}

void SvgCanvas::strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) {
  // Two halves, so that neither needs the large-arc flag and a full turn still draws.
  const double angles[3] = {a0, (a0 + a1) / 2, a1};
  openElement("path");
  std::string& t = target();
  t += " d=\"M";
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      t += " A";
      number(radius);
      t += ' ';
      number(radius);
      t += " 0 0 1";
    }
    t += ' ';
    number(centre.x + radius * std::cos(angles[i]));
    t += ' ';
    number(centre.y + radius * std::sin(angles[i]));
  }
  t += '"';
  colourAttribute("stroke", colour);
  t += "/>\n";
}

void SvgCanvas::dot(PixelPoint p, Rgb colour) {
  openElement("circle");
  attribute("cx", p.x);
  attribute("cy", p.y);
  attribute("r", kDotRadius);
  colourAttribute("fill", colour);
  target() += " stroke=\"none\"/>\n";
}

void SvgCanvas::text(const TextRun& run, Rgb colour) {
  // An empty text is still an element: every text entity drawn has one.
  if (run.font == nullptr) return;
  openElement("text");
  std::string& t = target();
  // Glyph space runs y downward, the run's font units upward: the y column changes sign.
  // Adding 0.0 turns a negative zero into zero.
  const double m[6] = {run.xx + 0.0, run.yx + 0.0, -run.xy + 0.0, -run.yy + 0.0, run.x0, run.y0};
  t += " transform=\"matrix(";
  for (int i = 0; i < 6; ++i) {
    char buffer[32];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, m[i], std::chars_format::general, 6);
    if (i > 0) t += ' ';
    t.append(buffer, r.ptr);
  }
  t += ")\"";
  attribute("font-size", run.font->unitsPerEm());
  t += " xml:space=\"preserve\"";
  colourAttribute("fill", colour);
  t += '>';
  if (!run.vertical) {
    escaped(run.utf8);
  } else {
    // One character per line, a cell apart.
    const long cell = run.font->getCellHeight();
    long line = 0;
    for (std::size_t i = 0; i < run.utf8.size();) {
      std::size_t n = 1;
      while (i + n < run.utf8.size() &&
             (static_cast<unsigned char>(run.utf8[i + n]) & 0xC0) == 0x80)
        ++n;
      t += "<tspan x=\"0\"";
      attribute("y", static_cast<double>(line * cell));
      t += '>';
      escaped(run.utf8.substr(i, n));
      t += "</tspan>";
      i += n;
      ++line;
    }
  }
  t += "</text>\n";
}

void SvgCanvas::finish() {
  while (groups_ > 0) endGroup();
  out_ += "</g>\n</svg>\n";
  writer_->write(out_);
  writer_->finish();
  writer_.reset();
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0) throw CommandFailure(kFileError, path_ + ": cannot be written");
}

void SvgCanvas::openElement(const char* tag) {
  std::string& t = target();
  t += '<';
  t += tag;
  if (kind_ != nullptr && elements_++ == 0) firstTagEnd_ = t.size();
}

void SvgCanvas::number(double v) {
  // Hundredths as a whole number, written with integer conversions: the common case by far,
  // and several times cheaper than formatting the double. The trailing zeros (and a bare
  // point) are dropped.
  char buffer[48];
  char* end = buffer;
  if (std::fabs(v) < kLargestFixed) {
    const long long hundredths = roundHalfAway(v * 100);
    const unsigned long long magnitude = hundredths < 0
                                             ? 0ull - static_cast<unsigned long long>(hundredths)
                                             : static_cast<unsigned long long>(hundredths);
    if (hundredths < 0) *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, magnitude / 100).ptr;
    const unsigned fraction = static_cast<unsigned>(magnitude % 100);
    if (fraction != 0) {
      *end++ = '.';
      *end++ = static_cast<char>('0' + fraction / 10);
      if (fraction % 10 != 0) *end++ = static_cast<char>('0' + fraction % 10);
    }
  } else {
    end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6).ptr;
  }
  target().append(buffer, end);
}

void SvgCanvas::attribute(const char* name, double v) {
  std::string& t = target();
  t += ' ';
  t += name;
  t += "=\"";
  number(v);
  t += '"';
}

void SvgCanvas::colourAttribute(const char* name, Rgb c) {
  static const char kHex[] = "0123456789abcdef";
  const char value[7] = {kHex[c.r >> 4], kHex[c.r & 15], kHex[c.g >> 4],
                         kHex[c.g & 15], kHex[c.b >> 4], kHex[c.b & 15]};
  std::string& t = target();
  t += ' ';
  t += name;
  t += "=\"#";
  t.append(value, 6);
  t += '"';
}

void SvgCanvas::pointList(const PixelPath& path, const PixelPath::Subpath& s) {
  std::string& t = target();
  t += " points=\"";
  for (std::uint32_t i = 0; i < s.count; ++i) {
    const PixelPoint p = path.points()[s.first + i];
    if (i > 0) t += ' ';
    number(p.x);
    t += ',';
    number(p.y);
  }
  t += '"';
}

void SvgCanvas::pathData(const PixelPath& path, bool closeAll) {
  std::string& t = target();
  t += " d=\"";
  bool first = true;
  for (const PixelPath::Subpath& s : path.subpaths()) {
    if (s.count < 2 && !closeAll) continue;
    for (std::uint32_t i = 0; i < s.count; ++i) {
      const PixelPoint p = path.points()[s.first + i];
      if (i == 0) {
        t += first ? "M" : " M";
      } else if (i == 1) {
        t += " L";
      }
      t += ' ';
      number(p.x);
      t += ' ';
      number(p.y);
    }
    if (s.closed || closeAll) t += " Z";
    first = false;
  }
  t += '"';
}

void SvgCanvas::escaped(const std::string& utf8) {
  std::string& t = target();
  for (const char c : utf8) {
    switch (c) {
      case '&':
        t += "&amp;";
        break;
      case '<':
        t += "&lt;";
        break;
      case '>':
        t += "&gt;";
        break;
      case '"':
        t += "&quot;";
        break;
      default:
        // Control characters are not allowed in XML text at all.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') t += c;
    }
  }
}

void SvgCanvas::flushIfLarge() {
  if (groups_ == 0 && out_.size() >= kFlushSize) {
    writer_->write(out_);
    out_.reserve(kFlushSize + (kFlushSize >> 2));
  }
}

}  // namespace velt
