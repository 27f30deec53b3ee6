// database/layer_table.cpp: the drawing's layer table and the layer factory.
// The table counts each listed layer on its linetype; layer "0" is found but never listed.
#include <veltcore/database/layer.h>
#include <veltcore/linetypes/linetype.h>

#include <cstring>

CLayerTable::CLayerTable(CLayer0& layer0) : layer0_(layer0) {}

CLayerTable::~CLayerTable() = default;

void CLayerTable::add(CLayer* l) {
  CNamedItemTableImp::add(l);
  if (l->getLtype() != nullptr) l->getLtype()->addLayer();
}

void CLayerTable::remove(CLayer* l) {
  if (!contains(l)) return;
  CNamedItemTableImp::remove(l);
  if (l->getLtype() != nullptr) l->getLtype()->decLayer();
}

CLayer* CLayerTable::get(const String& name) const {
  if (std::strcmp(name.c_str(), "0") == 0) return &layer0_;
  return static_cast<CLayer*>(CNamedItemTableImp::get(name));
}

void CLayerTable::clearAll() {
  for (int i = 0; i < size(); ++i) {
    CLtype* lt = (*this)[i]->getLtype();
    if (lt != nullptr) lt->decLayer();
  }
  CNamedItemTableImp::clearAll();
}

CLayer* CLayerTable::operator[](int i) const {
  return static_cast<CLayer*>(CNamedItemTableImp::operator[](i));
}

bool CLayerTable::contains(const CLayer* l) const {
  for (int i = 0; i < size(); ++i)
    if ((*this)[i] == l) return true;
  return false;
}

CLayerFactory::~CLayerFactory() = default;

CLayer* CLayerFactory::create(const CLayer& l) {
  return new CLayer(l);
}

CLayer* CLayerFactory::create(const String& name, CLtype* lt, short color, long flags) {
  return new CLayer(name, lt, color, flags);
}

CLayerXRef* CLayerFactory::createXRef(CBlockXRef& xref, const String& name, CLtype* lt, short color,
                                      long flags) {
  return new CLayerXRef(xref, name, lt, color, flags);
}
