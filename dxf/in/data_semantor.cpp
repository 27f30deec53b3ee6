// dxf/in/data_semantor.cpp: IFileDXFIDataSemantor, the lookups and drawing services every
// semantor over a CData shares. Changes the drawing only to add entities and to make the
// external references that dependent items name before their block is read.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/semantor.h>

#include <memory>

CDataVariables* IFileDXFIDataSemantor::getVars() {
  return &data_.getVars();
}

void IFileDXFIDataSemantor::add(CEnt* entity) {
  data_.getEntTable().add(entity);
}

CLtype* IFileDXFIDataSemantor::getLtype(const String& name) {
  return data_.getLtypeTable().get(name);
}

CLtypeByLayer* IFileDXFIDataSemantor::getLtypeByLayer() {
  return &data_.getLtypeByLayer();
}

CLayer* IFileDXFIDataSemantor::getLayer(const String& name) {
  return data_.getLayerTable().get(name);
}

CStyle* IFileDXFIDataSemantor::getStyle(const String& name) {
  return data_.getStyleTable().get(name);
}

CStyle* IFileDXFIDataSemantor::getStyleStandard() {
  return &data_.getStyleTable().getStyleStandard();
}

CBlock* IFileDXFIDataSemantor::getBlock(const String& name) {
  CBlock* block = data_.getBlockTable().get(name);
  CBlockXRef* xref = data_.getBlockXRefTable().get(name);
  // One name cannot stand for two blocks: the parser could not tell which one is meant.
  if (block != nullptr && xref != nullptr) throw SemantorError();
  return block != nullptr ? block : xref;
}

CBlockFactory& IFileDXFIDataSemantor::getBlockFactory() {
  return data_.getBlockFactory();
}

CBlockTable& IFileDXFIDataSemantor::getBlockTable() {
  return data_.getBlockTable();
}

CBlockXRefDepend& IFileDXFIDataSemantor::getDepend() {
  return data_.getDepend();
}

IHandleGestor& IFileDXFIDataSemantor::getHandleGestor() {
  return data_.getHandleGestor();
}

CEntFactory& IFileDXFIDataSemantor::getEntFactory() {
  return data_.getEntFactory();
}

CBlockXRef* IFileDXFIDataSemantor::getXRef(const String& name) {
  CBlockXRefTable& xrefs = data_.getBlockXRefTable();
  if (CBlockXRef* xref = xrefs.get(name)) return xref;
  if (data_.getBlockTable().get(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
  // A layer or linetype of the reference comes before the reference's block record: the
  // reference exists from now on and its BLOCK record initialises it later.
  std::unique_ptr<CBlockXRef> xref(
      data_.getBlockFactory().createXRef(data_.getLtypeContinuous(), data_.getLtypeByLayer(),
                                         data_.getLtypeByBlock(), data_.getLayer0(), name));
  if (!xref) throw SemantorError();
  xrefs.add(xref.get());
  return xref.release();
}
