// tools/velt/info/report.cpp: the text and JSON forms of the info report. Numbers go through
// std::to_chars, so that neither form depends on the C locale.
#include "info/report.h"

#include <charconv>

#include "info/json_writer.h"

namespace velt {

namespace {

constexpr std::size_t kLabelWidth = 20;

// A real for people: up to ten significant digits, no exponent below 1e10.
std::string decimal(double v) {
  char text[40];
  const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 10).ptr;
  return std::string(text, end);
}

// Seconds to the millisecond: the clock says no more than that about a load.
std::string seconds(double v) {
  char text[40];
  const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3).ptr;
  return std::string(text, end) + " s";
}

class TextLines {
 public:
  void add(const std::string& label, const std::string& value) {
    text_ += label;
    text_.append(label.size() < kLabelWidth ? kLabelWidth - label.size() : 1, ' ');
    text_ += value + "\n";
  }
  void add(const std::string& label, long value) { add(label, std::to_string(value)); }
  // The kinds that have entities, indented under their total.
  void addKinds(const EntityCounts& counts) {
    for (std::size_t k = 0; k < kEntityKinds; ++k) {
      const auto kind = static_cast<EntityKind>(k);
      if (counts[kind] > 0) add(std::string("  ") + dxfTypeName(kind), counts[kind]);
    }
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string withHatches(long n, long inHatches, const char* what) {
  std::string text = std::to_string(n);
  if (inHatches > 0) text += " (" + std::string(what) + ": " + std::to_string(inHatches) + ")";
  return text;
}

std::string extentText(const std::optional<Extent>& e) {
  if (!e) return "empty";
  return "(" + decimal(e->minX) + ", " + decimal(e->minY) + ") to (" + decimal(e->maxX) + ", " +
         decimal(e->maxY) + ")";
}

void writeKinds(JsonWriter& json, const EntityCounts& counts) {
  json.beginObject();
  for (std::size_t k = 0; k < kEntityKinds; ++k) {
    const auto kind = static_cast<EntityKind>(k);
    json.key(dxfTypeName(kind));
    json.value(counts[kind]);
  }
  json.endObject();
}

void writeExtent(JsonWriter& json, const std::optional<Extent>& e) {
  if (!e) return json.null();
  json.beginArray();
  for (double v : {e->minX, e->minY, e->maxX, e->maxY}) json.value(v);
  json.endArray();
}

void writeCount(JsonWriter& json, const char* name, long n) {
  json.key(name);
  json.value(n);
}

}  // namespace

std::string textReport(const InfoReport& r) {
  const DrawingStats& s = r.stats;
  TextLines lines;
  lines.add("file", r.file);
  lines.add("version", r.version.value_or("not declared"));
  lines.add("load time", seconds(r.loadSeconds));
  lines.add("layers", s.layers);
  lines.add("linetypes", s.linetypes);
  lines.add("styles", s.styles);
  lines.add("blocks", withHatches(s.blocks, s.hatchBlocks, "hatch patterns"));
  lines.add("xrefs", s.xrefs);
  lines.add("entities", s.entities.total());
  lines.addKinds(s.entities);
  lines.add("entities in blocks",
            withHatches(s.blockEntities.total(), s.entitiesInHatchBlocks, "in hatch patterns"));
  lines.addKinds(s.blockEntities);
  lines.add("extent", extentText(s.extent));
  return lines.text();
}

std::string jsonReport(const InfoReport& r) {
  const DrawingStats& s = r.stats;
  JsonWriter json;
  json.beginObject();
  json.key("file");
  json.value(r.file);
  json.key("version");
  if (r.version) {
    json.value(*r.version);
  } else {
    json.null();
  }
  writeCount(json, "layers", s.layers);
  writeCount(json, "linetypes", s.linetypes);
  writeCount(json, "styles", s.styles);
  writeCount(json, "blocks", s.blocks);
  writeCount(json, "hatch_blocks", s.hatchBlocks);
  writeCount(json, "xrefs", s.xrefs);
  json.key("entities");
  writeKinds(json, s.entities);
  writeCount(json, "entities_in_blocks", s.blockEntities.total());
  json.key("entities_in_blocks_by_type");
  writeKinds(json, s.blockEntities);
  writeCount(json, "entities_in_hatch_blocks", s.entitiesInHatchBlocks);
  json.key("extent");
  writeExtent(json, s.extent);
  json.key("load_seconds");
  json.value(r.loadSeconds);
  json.endObject();
  return json.text() + "\n";
}

}  // namespace velt
