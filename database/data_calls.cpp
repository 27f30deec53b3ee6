// database/data_calls.cpp: the drawing-level free functions, thin calls on the drawing's
// variables and tables. None of the remove functions checks whether an item is in use.
#include <veltcore/database/colors.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/geometry/font.h>

#include "core/string_ops.h"

void deleteData(CData* data) {
  delete data;
}

CLtype* getCurLtype(const CData& data) {
  return data.getVars().getCurLtype();
}
CLayer* getCurLayer(const CData& data) {
  return data.getVars().getCurLayer();
}
CStyle* getCurStyle(const CData& data) {
  return data.getVars().getCurStyle();
}
short getCurColor(const CData& data) {
  return data.getVars().getCurColor();
}
void setCurLtype(CData& data, CLtype* lt) {
  data.getVars().setCurLtype(lt);
}
void setCurLayer(CData& data, CLayer* layer) {
  data.getVars().setCurLayer(layer);
}
void setCurStyle(CData& data, CStyle* style) {
  data.getVars().setCurStyle(style);
}
void setCurColor(CData& data, short color) {
  data.getVars().setCurColor(color);
}
double getLtypeScale(const CData& data) {
  return data.getVars().getLtypeScale();
}
void setLtypeScale(CData& data, double scale) {
  data.getVars().setLtypeScale(scale);
}

CLtypeByLayer* getLtypeByLayer(const CData& data) {
  return &data.getLtypeByLayer();
}
CLtypeByBlock* getLtypeByBlock(const CData& data) {
  return &data.getLtypeByBlock();
}
CLayer0* getLayer0(const CData& data) {
  return &data.getLayer0();
}
CStyleStandard* getStyleStandard(const CData& data) {
  return &data.getStyleTable().getStyleStandard();
}
IHandleGestor& getHandleGestor(const CData& data) {
  return data.getHandleGestor();
}

void addLtype(CData& data, CLtype* lt) {
  data.getLtypeTable().add(lt);
}
void addStyle(CData& data, CStyle* style) {
  data.getStyleTable().add(style);
}
void addLayer(CData& data, CLayer* layer) {
  data.getLayerTable().add(layer);
}

CLtype* getLtype(const CData& data, const String& name) {
  return data.getLtypeTable().get(name);
}
CLayer* getLayer(const CData& data, const String& name) {
  return data.getLayerTable().get(name);
}
CStyle* getStyle(const CData& data, const String& name) {
  return data.getStyleTable().get(name);
}

void removeLtype(CData& data, CLtype* lt) {
  data.getLtypeTable().remove(lt);
}

CLtype* removeLtype(CData& data, const String& name) {
  CLtype* lt = getLtype(data, name);
  // The fixed linetypes answer to their names but belong to the drawing itself.
  if (lt == nullptr || lt->isContinuous() || lt->isByLayer() || lt->isByBlock()) return nullptr;
  removeLtype(data, lt);
  return lt;
}

void removeStyle(CData& data, CStyle* style) {
  data.getStyleTable().remove(style);
}

CStyle* removeStyle(CData& data, const String& name) {
  CStyle* style = getStyle(data, name);
  if (style != nullptr) removeStyle(data, style);
  return style;
}

void removeLayer(CData& data, CLayer* layer) {
  data.getLayerTable().remove(layer);
}

CLayer* removeLayer(CData& data, const String& name) {
  CLayer* layer = getLayer(data, name);
  if (layer == nullptr || layer->is0()) return nullptr;
  removeLayer(data, layer);
  return layer;
}

short getColor(short color, const CLayer* layer, short blockColor) {
  if (color == CColors::kByBlock) return blockColor;
  if (color == CColors::kByLayer) return layer->getColor();
  return color;
}

String GetBlockProgressiveName(const String& base, const CBlockTable& blocks) {
  return base + static_cast<int>(blocks.getProgNum(base));
}

void initCore() {}

void shutdownCore() {
  CFontTable::shutdown();
  CColors::shutdown();
}
