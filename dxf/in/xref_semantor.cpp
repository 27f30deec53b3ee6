// dxf/in/xref_semantor.cpp: CFileDXFIXRefSemantor, which fills an external reference from the
// file it names. The file's layers, linetypes, styles and blocks go to the reference's own tables
// and are looked up there; the external references the file itself names join the drawing's.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/semantor.h>

#include <memory>

#include "dxf/in/block_filling.h"

namespace {

// Bits 16 and 32: the item depends on an external reference, and that reference is loaded.
constexpr long kResolvedDependent = CLayer::kXRefDependent | CLayer::kXRefLoaded;

// A factory that hands back nothing could not get the memory: reading cannot go on.
template <class T>
T* made(T* item) {
  if (item == nullptr) throw IFileDXFISemantor::SemantorError();
  return item;
}

}  // namespace

CFileDXFIXRefSemantor::CFileDXFIXRefSemantor(CData& data, CBlockXRef& xref)
    : data_(data), xref_(xref), onDrawing_(data) {}

void CFileDXFIXRefSemantor::createLayer(const String& name, CLtype* ltype, short color,
                                        long flags) {
  if (CLayer* placeholder = xref_.getLayer(name)) {
    // Made while the drawing was read ("reference|name"): now the file has it. The stored word
    // is changed directly, since the layer's own setFlags would clear bit 32 until the load
    // ends.
    if (placeholder->isXRef()) placeholder->setFlags(CLayer::kXRefLoaded, true);
    return;
  }
  // A layer always has a linetype, as in a drawing loaded by loadDXF.
  CLtype* layerLtype = ltype != nullptr ? ltype : &data_.getLtypeContinuous();
  std::unique_ptr<CLayerXRef> layer(made(data_.getLayerFactory().createXRef(
      xref_, name, layerLtype, color, flags | kResolvedDependent)));
  xref_.add(layer.get());
  layer.release();
}

void CFileDXFIXRefSemantor::createLayerXRef(const String& xrefName, const String& name,
                                            CLtype* ltype, short color, long flags) {
  refuseOwnBlockName(xrefName);
  onDrawing_.createLayerXRef(xrefName, name, ltype, color, flags);
}

void CFileDXFIXRefSemantor::createLtype(const String& name, const String& description,
                                        CLtypeComplexDashSeq& dashes, long flags) {
  if (CLtype* placeholder = xref_.getLtype(name)) {
    if (placeholder->isXRef()) placeholder->setFlags(CLtype::kXRefLoaded, true);
    return;
  }
  std::unique_ptr<CLtypeXRef> ltype(made(data_.getLtypeFactory().createXRef(
      xref_, name, description, dashes, flags | kResolvedDependent)));
  xref_.add(ltype.get());
  ltype.release();
}

void CFileDXFIXRefSemantor::createLtypeXRef(const String& xrefName, const String& name,
                                            const String& description, CLtypeComplexDashSeq& dashes,
                                            long flags) {
  refuseOwnBlockName(xrefName);
  onDrawing_.createLtypeXRef(xrefName, name, description, dashes, flags);
}

void CFileDXFIXRefSemantor::createStyle(const String& name, const ICADFont* font, double height,
                                        double widthScale, double oblique, double lastHeight,
                                        long flags) {
  std::unique_ptr<CStyle> style(made(
      data_.getStyleFactory().create(name, font, height, widthScale, oblique, lastHeight, flags)));
  xref_.add(style.get());
  style.release();
}

void CFileDXFIXRefSemantor::createStyleStandard(const ICADFont* font, double height,
                                                double widthScale, double oblique,
                                                double lastHeight, long flags) {
  // CBlockXRef::load gives the reference a new style table, standard style included, before
  // every read: the one an unload deleted is never reached.
  CStyleStandard& standard = xref_.getStyleTable().getStyleStandard();
  standard.setFont(font);
  standard.setFixedHeight(height);
  standard.setLastHeight(lastHeight);
  standard.setOblique(oblique);
  standard.setWidthScale(widthScale);
  standard.setFlags(flags);
}

void CFileDXFIXRefSemantor::createBlock(const String& name, const PNT_3D& base, long flags,
                                        std::mylist<CEnt*>& entities) {
  if (data_.getBlockXRefTable().get(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
  CBlockTable& table = xref_.getBlockTable();
  if (CBlock* early = table.get(name)) {
    veltcore::dxfin::redefineBlock(table, early, base, flags, entities);
    return;
  }
  veltcore::dxfin::fillNewBlock(
      {table, data_.getBlockFactory(), data_.getEntFactory(), xref_.getHandleGestor()}, name, base,
      flags, entities);
}

void CFileDXFIXRefSemantor::createBlockXRef(const String& name, const String& path,
                                            const PNT_3D& base, long flags) {
  refuseOwnBlockName(name);
  onDrawing_.createBlockXRef(name, path, base, flags);
}

CBlock* CFileDXFIXRefSemantor::createBlockHurried(const String& name, long flags) {
  CBlock* block = made(data_.getBlockFactory().create(name, flags));
  veltcore::dxfin::addNewBlock({xref_.getBlockTable(), data_.getBlockFactory(),
                                data_.getEntFactory(), xref_.getHandleGestor()},
                               block);
  return block;
}

void CFileDXFIXRefSemantor::add(CEnt* entity) {
  xref_.add(entity);
}

CLtype* CFileDXFIXRefSemantor::getLtype(const String& name) {
  return xref_.getLtype(name);
}

CLtypeByLayer* CFileDXFIXRefSemantor::getLtypeByLayer() {
  return &data_.getLtypeByLayer();
}

CLayer* CFileDXFIXRefSemantor::getLayer(const String& name) {
  return xref_.getLayer(name);
}

CStyle* CFileDXFIXRefSemantor::getStyle(const String& name) {
  return xref_.getStyle(name);
}

CStyle* CFileDXFIXRefSemantor::getStyleStandard() {
  return &data_.getStyleTable().getStyleStandard();
}

CBlock* CFileDXFIXRefSemantor::getBlock(const String& name) {
  CBlock* block = xref_.getBlock(name);
  CBlockXRef* xref = data_.getBlockXRefTable().get(name);
  // One name cannot stand for two blocks: the parser could not tell which one is meant.
  if (block != nullptr && xref != nullptr) throw SemantorError();
  return block != nullptr ? block : xref;
}

CBlockFactory& CFileDXFIXRefSemantor::getBlockFactory() {
  return data_.getBlockFactory();
}

CBlockTable& CFileDXFIXRefSemantor::getBlockTable() {
  return xref_.getBlockTable();
}

CBlockXRefDepend& CFileDXFIXRefSemantor::getDepend() {
  return xref_.getDepend();
}

IHandleGestor& CFileDXFIXRefSemantor::getHandleGestor() {
  return xref_.getHandleGestor();
}

CEntFactory& CFileDXFIXRefSemantor::getEntFactory() {
  return data_.getEntFactory();
}

void CFileDXFIXRefSemantor::refuseOwnBlockName(const String& name) const {
  if (xref_.getBlock(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
}
