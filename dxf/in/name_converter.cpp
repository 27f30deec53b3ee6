// dxf/in/name_converter.cpp: CNameAcadConverter, the DXF-safe names of a drawing's items.
// Reads the drawing's tables only. A cleaned name is made unique against the items' own names
// of the same walk, never against the other cleaned names: two items may end up sharing one.
#include <veltcore/dxf/in/name_converter.h>

#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/linetypes/linetype.h>

#include "core/text.h"

namespace {

// The longest name a DXF table record takes.
constexpr std::size_t kMaxNameLength = 31;

template <class Item>
String lookUp(const std::map<const Item*, String>& names, const Item* item) {
  auto found = names.find(item);
  return found != names.end() ? found->second : String();
}

}  // namespace

CNameAcadConverter::CNameAcadConverter(const CData& data) : data_(data) {
  Convert();
}

CNameAcadConverter::~CNameAcadConverter() = default;

String CNameAcadConverter::GetName(const CLayer* layer) const {
  return lookUp(layerNames_, layer);
}

String CNameAcadConverter::GetName(const CLtype* ltype) const {
  return lookUp(ltypeNames_, ltype);
}

String CNameAcadConverter::GetName(const CStyle* style) const {
  return lookUp(styleNames_, style);
}

String CNameAcadConverter::GetName(const CBlock* block) const {
  return lookUp(blockNames_, block);
}

void CNameAcadConverter::Convert() {
  ConvertLayers();
  ConvertLtypes();
  ConvertStyles();
  ConvertBlocks();
}

void CNameAcadConverter::ConvertLayers() {
  std::vector<const CLayer*> walk;
  std::set<std::string> names;
  for (CData::CLayerIterator it(data_, true); *it != nullptr; ++it) {
    walk.push_back(*it);
    names.insert((*it)->getName().c_str());
  }
  for (const CLayer* layer : walk) layerNames_[layer] = uniqueName(layer->getFullName(), names);
}

void CNameAcadConverter::ConvertLtypes() {
  std::vector<const CLtype*> walk;
  std::set<std::string> names;
  for (CData::CLtypeIterator it(data_, true, true); *it != nullptr; ++it) {
    walk.push_back(*it);
    names.insert((*it)->getName().c_str());
  }
  for (const CLtype* ltype : walk) ltypeNames_[ltype] = uniqueName(ltype->getFullName(), names);
}

void CNameAcadConverter::ConvertStyles() {
  std::vector<const CStyle*> walk;
  std::set<std::string> names;
  for (CData::CStyleIterator it(data_, true); *it != nullptr; ++it) {
    walk.push_back(*it);
    names.insert((*it)->getName().c_str());
  }
  for (const CStyle* style : walk) styleNames_[style] = uniqueName(style->getName(), names);
}

void CNameAcadConverter::ConvertBlocks() {
  std::vector<const CBlock*> walk;
  const CBlockTable& blocks = data_.getBlockTable();
  for (int i = 0; i < blocks.size(); ++i) walk.push_back(blocks[i]);
  const CBlockXRefTable& xrefs = data_.getBlockXRefTable();
  for (int i = 0; i < xrefs.size(); ++i) walk.push_back(xrefs[i]);
  std::set<std::string> names;
  for (const CBlock* block : walk) names.insert(block->getName().c_str());
  for (const CBlock* block : walk) blockNames_[block] = uniqueName(block->getName(), names);
}

bool CNameAcadConverter::IsValidName(const String& name, String& out) {
  std::string text = name.c_str();
  bool valid = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsValidChar(text[i]) || (i == 0 && text[i] == '*')) continue;
    text[i] = '_';
    valid = false;
  }
  if (text.size() > kMaxNameLength) {
    text.resize(kMaxNameLength);
    valid = false;
  }
  out = text.c_str();
  return valid;
}

String CNameAcadConverter::GenerateValidName(String& base, int& counter) {
  const std::string suffix = veltcore::text::formatInt(counter);
  ++counter;
  std::string text = base.c_str();
  if (text.size() + suffix.size() > kMaxNameLength) text.resize(kMaxNameLength - suffix.size());
  text += suffix;
  return String(text.c_str());
}

bool CNameAcadConverter::IsValidChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '$';
}

String CNameAcadConverter::uniqueName(const String& taken, const std::set<std::string>& walkNames) {
  String out;
  if (IsValidName(taken, out)) return out;
  String candidate = out;
  int counter = 0;
  // Case counts here, unlike table lookups: "a_b" does not block "A_B".
  while (walkNames.count(candidate.c_str()) != 0) candidate = GenerateValidName(out, counter);
  return candidate;
}
