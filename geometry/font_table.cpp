// geometry/font_table.cpp: CFontTable, the process-wide registry of host fonts, and the
// out-of-line parts of ICADFont. The instance is a plain pointer, made on first use and freed
// only by shutdown(), so loading the library constructs nothing and exit destroys nothing.
#include <veltcore/geometry/font.h>

#include <cstring>
#include <memory>
#include <utility>

namespace {

CFontTable* s_instance = nullptr;

}  // namespace

ICADFont::~ICADFont() = default;

bool ICADFont::hasGlyph(unsigned char) const {
  return true;
}

CFontTable& CFontTable::getInstance() {
  if (s_instance == nullptr) s_instance = new CFontTable();
  return *s_instance;
}

void CFontTable::shutdown() {
  delete s_instance;
  s_instance = nullptr;
}

CFontTable::~CFontTable() = default;

void CFontTable::add(ICADFont* font) {
  if (font == nullptr) return;
  // Owned before the vector may grow: a failed allocation still deletes the font.
  std::unique_ptr<ICADFont> owned(font);
  fonts_.push_back(std::move(owned));
}

const ICADFont* CFontTable::get(const String& name, bool orDefault) const {
  for (const auto& font : fonts_) {
    if (std::strcmp(font->getName().c_str(), name.c_str()) == 0) return font.get();
  }
  return orDefault ? default_ : nullptr;
}

const ICADFont* CFontTable::operator[](int i) const {
  if (i < 0 || i >= static_cast<int>(fonts_.size())) return nullptr;
  return fonts_[static_cast<std::size_t>(i)].get();
}
