// linetypes/ltype_pattern.cpp: reading the two lines of a linetype library definition. The
// pattern line is walked field by field in place (no copy of the line); a text element takes
// the rest of its bracket, which may hold commas, as one piece. Numbers are read as atof reads
// them in the C locale, whatever locale the host has set: text that is no number gives 0.
#include "linetypes/ltype_pattern.h"

#include <veltcore/database/style.h>
#include <veltcore/linetypes/dash.h>

#include <cstring>

#include "core/text.h"

namespace veltcore::detail {
namespace {

// Degrees to radians, as the file's rotations are converted.
constexpr double kDegreesToRadians = 0.01745329251994;

using Error = CLtypeLoaderLoadError;

// The characters [begin, end) of the line.
struct Span {
  const char* begin;
  const char* end;

  long size() const { return static_cast<long>(end - begin); }
  bool empty() const { return begin == end; }
  char back() const { return end[-1]; }
};

String toString(Span s) {
  return s.empty() ? String() : String(0, static_cast<int>(s.size() - 1), s.begin);
}

// The comma-separated fields of [from, to), in order. A trailing comma leaves one empty field.
class Fields {
 public:
  Fields(const char* from, const char* to) : pos_(from), end_(to), more_(true) {}

  bool more() const { return more_; }
  Span next() {
    const auto* comma =
        static_cast<const char*>(std::memchr(pos_, ',', static_cast<std::size_t>(end_ - pos_)));
    const Span field{pos_, comma != nullptr ? comma : end_};
    more_ = comma != nullptr;
    pos_ = more_ ? comma + 1 : end_;
    return field;
  }
  // A text element's attributes run to its "]", commas included: they are taken as one piece,
  // and the fields go on after the "]" and the comma behind it. A "]" with no comma behind it
  // ends the line, or the element is malformed.
  Span takeBracket(const String& name) {
    const char* close = more_ ? static_cast<const char*>(
                                    std::memchr(pos_, ']', static_cast<std::size_t>(end_ - pos_)))
                              : nullptr;
    if (close == nullptr) throw Error(name, Error::kBadField);
    const Span piece{pos_, close};
    const char* after = close + 1;
    if (after != end_ && *after != ',') throw Error(name, Error::kBadField);
    more_ = after != end_;
    pos_ = more_ ? after + 1 : end_;
    return piece;
  }

 private:
  const char* pos_;
  const char* end_;
  bool more_;
};

// The placement a text element's attributes set, with the defaults of an element without them.
struct TextPlacement {
  double height = 1.0;
  double rotation = 0.0;  // radians
  double x = 0.0;
  double y = 0.0;
};

// "L=value": S height, R rotation in degrees, X and Y the offset, either case; other letters are
// accepted and ignored.
void applyAttribute(Span field, const String& name, TextPlacement& placement) {
  if (field.size() < 3 || field.begin[1] != '=') throw Error(name, Error::kBadField);
  // The value ends at the "," or "]" behind it, which no number contains.
  const double value = text::parseDouble(field.begin + 2);
  switch (text::foldCase(field.begin[0])) {
    case 's':
      placement.height = value;
      break;
    case 'r':
      placement.rotation = value * kDegreesToRadians;
      break;
    case 'x':
      placement.x = value;
      break;
    case 'y':
      placement.y = value;
      break;
    default:
      break;
  }
}

// ["text",style,attributes...]: field is ["text" (a text holds no comma), the rest comes from
// fields up to the "]".
void readTextElement(Span field, Fields& fields, bool first, const String& name,
                     const LtypeStyleFinder& styles, CLtypeComplexDashSeq& seq) {
  if (first) throw Error(name, Error::kTextFirst);
  if (field.back() == ']') throw Error(name, Error::kBadField);
  if (field.size() < 4 || field.begin[1] != '"' || field.back() != '"')
    throw Error(name, Error::kBadText);
  const String text = toString(Span{field.begin + 2, field.end - 1});
  const Span element = fields.takeBracket(name);
  Fields parts(element.begin, element.end);
  const Span styleName = parts.next();
  if (styleName.empty()) throw Error(name, Error::kBadField);
  CStyle* style = styles.find(toString(styleName));
  if (style == nullptr) throw Error(name, Error::kUnknownStyle);
  TextPlacement placement;
  while (parts.more()) applyAttribute(parts.next(), name, placement);
  // Oblique 0, width scale 1, left justified at the offset from the dash position.
  seq.AddDashText(TEXT_3D(text, style, placement.height, 0.0, 1.0, placement.rotation, placement.x,
                          placement.y, 0.0, 0));
}

void readLength(Span field, bool first, const String& name, CLtypeComplexDashSeq& seq) {
  // The field ends at a "," or at the end of the line, neither part of a number.
  const double value = text::parseDouble(field.begin);
  if (first && value < 0.0) throw Error(name, Error::kNegativeFirst);
  seq.AddDashDouble(value);
}

}  // namespace

CStyle* LtypeStyleFinder::find(const String& name) const {
  CStyle* style = styles_.get(name);
  if (style == nullptr && notifier_ != nullptr) style = notifier_->findStyle(name);
  return style;
}

void splitLtypeHeader(const char* line, String& name, String& desc) {
  const char* rest = line + 1;  // after the "*"
  const char* comma = std::strchr(rest, ',');
  if (comma == nullptr) {
    name = rest;
    desc = "";
    return;
  }
  name = toString(Span{rest, comma});
  desc = comma + 1;
}

void readLtypePattern(const char* line, const String& name, const LtypeStyleFinder& styles,
                      CLtypeComplexDashSeq& seq) {
  Fields fields(line, line + std::strlen(line));
  const Span head = fields.next();
  if (head.size() != 1 || head.begin[0] != 'A') throw Error(name, Error::kNoPattern);
  bool first = true;
  while (fields.more()) {
    const Span field = fields.next();
    if (field.empty()) throw Error(name, Error::kBadField);
    if (field.begin[0] == '[')
      readTextElement(field, fields, first, name, styles, seq);
    else
      readLength(field, first, name, seq);
    first = false;
  }
  if (seq.GetNoDashes() < 2) throw Error(name, Error::kTooFewDashes);
}

}  // namespace veltcore::detail
