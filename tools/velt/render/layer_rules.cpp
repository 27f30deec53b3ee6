// tools/velt/render/layer_rules.cpp: matching the chosen names against the drawing's layers once,
// so that each entity's test is a flag check and a set lookup.
#include "render/layer_rules.h"

#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>

#include <algorithm>
#include <cctype>

#include "command.h"

namespace velt {

namespace {

std::string folded(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
  return s;
}

}  // namespace

LayerRules::LayerRules(const CData& data, const std::vector<std::string>& names) {
  for (CData::CLayerIterator it(data, true); *it != nullptr && everyLayer_; ++it)
    everyLayer_ = (*it)->thawed();
  if (names.empty()) return;
  filtering_ = true;
  everyLayer_ = false;
  std::vector<std::string> wanted;
  for (const std::string& n : names) wanted.push_back(folded(n));
  std::vector<bool> found(wanted.size(), false);
  for (CData::CLayerIterator it(data, true); *it != nullptr; ++it) {
    const std::string name = folded((*it)->getFullName().c_str());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      if (wanted[i] != name) continue;
      chosen_.insert(*it);
      found[i] = true;
    }
  }
  std::string missing;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!found[i]) missing += (missing.empty() ? "" : ", ") + names[i];
  }
  if (!missing.empty()) throw CommandFailure(kUsageError, "--layers: no such layer: " + missing);
}

bool LayerRules::shown(const CLayer* layer) const {
  if (layer == nullptr) return true;
  return layer->thawed() && (!filtering_ || chosen_.count(layer) != 0);
}

bool LayerRules::frozen(const CLayer* layer) {
  return layer != nullptr && layer->isFrozen();
}

}  // namespace velt
