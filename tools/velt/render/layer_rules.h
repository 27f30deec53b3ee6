// tools/velt/render/layer_rules.h: which layers are drawn: none that is frozen or off, and, when
// the user names layers, only those.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class CData;
class CLayer;

namespace velt {

class LayerRules {
 public:
  // names empty: every layer. Names compare ignoring case, against the full names (with the
  // external reference's prefix for its layers). Throws CommandFailure(kUsageError) listing the
  // names no layer of data has.
  LayerRules(const CData& data, const std::vector<std::string>& names);

  // Whether entities on layer are drawn (an entity without a layer is).
  bool shown(const CLayer* layer) const;
  // Whether every layer is drawn: no names chosen, and no layer of the drawing frozen or off.
  bool showsEveryLayer() const { return everyLayer_; }
  // Frozen layers hide a block reference with everything in it; a reference on a layer that is
  // only off or not chosen still shows the entities of its block that are on other layers.
  static bool frozen(const CLayer* layer);

 private:
  std::unordered_set<const CLayer*> chosen_;
  bool filtering_ = false;
  bool everyLayer_ = true;
};

}  // namespace velt
