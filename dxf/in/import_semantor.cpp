// dxf/in/import_semantor.cpp: CFileDXFIImportDataSemantor, which merges a DXF file into a drawing
// that has contents of its own. Tables are filled as loadDXF fills them, where the first name
// wins, so the drawing's items win; blocks differ: the drawing's definition wins over the file's.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity.h>

#include "dxf/in/pending_entities.h"

CFileDXFIImportDataSemantor::CFileDXFIImportDataSemantor(CData& data)
    : IFileDXFIDataSemantor(data), asLoad_(data) {}

void CFileDXFIImportDataSemantor::createLayer(const String& name, CLtype* ltype, short color,
                                              long flags) {
  asLoad_.createLayer(name, ltype, color, flags);
}

void CFileDXFIImportDataSemantor::createLayerXRef(const String& xrefName, const String& name,
                                                  CLtype* ltype, short color, long flags) {
  asLoad_.createLayerXRef(xrefName, name, ltype, color, flags);
}

void CFileDXFIImportDataSemantor::createLtype(const String& name, const String& description,
                                              CLtypeComplexDashSeq& dashes, long flags) {
  asLoad_.createLtype(name, description, dashes, flags);
}

void CFileDXFIImportDataSemantor::createLtypeXRef(const String& xrefName, const String& name,
                                                  const String& description,
                                                  CLtypeComplexDashSeq& dashes, long flags) {
  asLoad_.createLtypeXRef(xrefName, name, description, dashes, flags);
}

void CFileDXFIImportDataSemantor::createStyle(const String& name, const ICADFont* font,
                                              double height, double widthScale, double oblique,
                                              double lastHeight, long flags) {
  asLoad_.createStyle(name, font, height, widthScale, oblique, lastHeight, flags);
}

void CFileDXFIImportDataSemantor::createBlock(const String& name, const PNT_3D& base, long flags,
                                              std::mylist<CEnt*>& entities) {
  CData& data = getData();
  if (data.getBlockXRefTable().get(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
  CBlock* existing = data.getBlockTable().get(name);
  if (existing != nullptr && created_.count(existing) == 0) {
    // The drawing's block stays. The file's definition has no further use: its entities are
    // deleted now, their handles given back, rather than kept anywhere unreachable.
    for (CEnt* e : entities)
      veltcore::dxfin::discardEntity(data.getEntFactory(), data.getHandleGestor(), e);
    entities.clear();
    return;
  }
  // A new name makes a new block; one this read made earlier is redefined.
  asLoad_.createBlock(name, base, flags, entities);
  if (existing == nullptr) created_.insert(data.getBlockTable().get(name));
}

void CFileDXFIImportDataSemantor::createBlockXRef(const String& name, const String& path,
                                                  const PNT_3D& base, long flags) {
  asLoad_.createBlockXRef(name, path, base, flags);
}

CBlock* CFileDXFIImportDataSemantor::createBlockHurried(const String& name, long flags) {
  CBlock* block = asLoad_.createBlockHurried(name, flags);
  created_.insert(block);
  return block;
}
