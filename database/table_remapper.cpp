// database/table_remapper.cpp: CTableRemapper. Every use found is looked up once in the pairs
// and, when a new item is paired with it, moved through the owner's own setter, so that the
// entity, layer and style-use counts follow without any bookkeeping here.
#include <veltcore/database/table_remapper.h>

#include <veltcore/database/data.h>
#include <veltcore/entities/entity.h>
#include <veltcore/linetypes/dash.h>

namespace {

// The item paired with item; null when item has no pair (its use stays as it is).
template <class Item>
Item* pairedWith(const std::map<Item*, Item*>& pairs, Item* item) {
  const auto found = pairs.find(item);
  return found != pairs.end() ? found->second : nullptr;
}

// A null old item is ignored: "no item" (a line's style, a dash without a style) is not a use
// that anything should take the place of.
template <class Item>
void record(std::map<Item*, Item*>& pairs, Item* oldItem, Item* newItem) {
  if (oldItem == nullptr) return;
  if (newItem == nullptr) {
    pairs.erase(oldItem);
  } else {
    pairs[oldItem] = newItem;
  }
}

}  // namespace

CTableRemapper::CTableRemapper(CData& data, bool withXRefs) : data_(data), withXRefs_(withXRefs) {}

void CTableRemapper::ChangeInto(CLayer* oldItem, CLayer* newItem) {
  record(layers_, oldItem, newItem);
}

void CTableRemapper::ChangeInto(CLtype* oldItem, CLtype* newItem) {
  record(ltypes_, oldItem, newItem);
}

void CTableRemapper::ChangeInto(CStyle* oldItem, CStyle* newItem) {
  record(styles_, oldItem, newItem);
}

void CTableRemapper::Remap() {
  RemapLtypes();
  ReampLayers();
  RemapBlock();
  RemapEntities();
}

void CTableRemapper::RemapLtypes() {
  if (styles_.empty()) return;  // only text dashes change here
  for (CData::CLtypeIterator it(data_, withXRefs_, false); *it != nullptr; ++it) {
    remapDashes(**it);
  }
}

void CTableRemapper::ReampLayers() {
  if (ltypes_.empty()) return;
  for (CData::CLayerIterator it(data_, withXRefs_); *it != nullptr; ++it) {
    CLayer* layer = *it;
    if (CLtype* ltype = pairedWith(ltypes_, layer->getLtype())) layer->setLtype(ltype);
  }
}

void CTableRemapper::RemapBlock() {
  const CBlockTable& blocks = data_.getBlockTable();
  for (int b = 0; b < blocks.size(); ++b) {
    const CBlock& block = *blocks[b];
    for (int i = 0; i < block.size(); ++i) remapEntity(*block[i]);
  }
  const CBlockXRefTable& xrefs = data_.getBlockXRefTable();
  for (int x = 0; x < xrefs.size(); ++x) {
    const CBlockXRef& xref = *xrefs[x];
    for (int i = 0; i < xref.size(); ++i) remapEntity(*xref[i]);
  }
}

void CTableRemapper::RemapEntities() {
  for (CEntTable::CEntIterator it(data_.getEntTable(), true); *it != nullptr; ++it) {
    remapEntity(**it);
  }
}

void CTableRemapper::remapDashes(CLtype& ltype) const {
  CLtypeComplexDashSeq& seq = ltype.GetDashSeq();
  for (int i = 0; i < seq.GetNoDashes(); ++i) {
    const TEXT_3D* text = seq[i]->GetText();
    if (text == nullptr) continue;
    CStyle* style = pairedWith(styles_, text->getStyle());
    if (style == nullptr) continue;
    // The copy is taken before the removal destroys the dash's text; the new dash takes a use
    // of the new style as the old one gives back its use of the old style.
    TEXT_3D moved(*text);
    moved.setStyle(style);
    seq.RemoveDash(i);
    seq.InsertDashText(i, moved);
  }
}

void CTableRemapper::remapEntity(CEnt& e) const {
  // Every lookup is made before any change, so each answers for the entity as it was.
  CLayer* layer = pairedWith(layers_, e.getLayer());
  CLtype* ltype = pairedWith(ltypes_, e.getLtype());
  CStyle* oldStyle = e.getStyle();
  CStyle* style = oldStyle != nullptr ? pairedWith(styles_, oldStyle) : nullptr;
  if (layer != nullptr) e.setLayer(layer);
  if (ltype != nullptr) e.setLtype(ltype);
  if (style != nullptr) e.setStyle(style);
}
