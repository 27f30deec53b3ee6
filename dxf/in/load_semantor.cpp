// dxf/in/load_semantor.cpp: CFileDXFILoadDataSemantor, which turns the records of a DXF file
// into the items of a fresh drawing. The first definition of a name wins, except for blocks,
// which a later definition redefines; a new block that cannot be filled is destroyed.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity.h>

#include <memory>

#include "dxf/in/block_filling.h"

namespace {

// A factory that hands back nothing could not get the memory: reading cannot go on.
template <class T>
T* made(T* item) {
  if (item == nullptr) throw IFileDXFISemantor::SemantorError();
  return item;
}

// New blocks go to the drawing's block table.
veltcore::dxfin::BlockHome homeIn(CData& data) {
  return {data.getBlockTable(), data.getBlockFactory(), data.getEntFactory(),
          data.getHandleGestor()};
}

}  // namespace

void CFileDXFILoadDataSemantor::createLayer(const String& name, CLtype* ltype, short color,
                                            long flags) {
  CData& data = getData();
  CLayerTable& layers = data.getLayerTable();
  if (layers.get(name) != nullptr) return;
  std::unique_ptr<CLayer> layer(
      made(data.getLayerFactory().create(name, layerLtype(ltype), color, flags)));
  layers.add(layer.get());
  layer.release();
}

void CFileDXFILoadDataSemantor::createLayer0(CLtype* ltype, short color, long flags) {
  CLayer0& layer0 = getData().getLayer0();
  layer0.setLtype(layerLtype(ltype));
  layer0.setFlags(flags);
  layer0.setColor(color);
}

void CFileDXFILoadDataSemantor::createLayerXRef(const String& xrefName, const String& name,
                                                CLtype* ltype, short color, long flags) {
  CBlockXRef* xref = getXRef(xrefName);
  if (xref->getLayer(name) != nullptr) return;
  std::unique_ptr<CLayerXRef> layer(
      made(getData().getLayerFactory().createXRef(*xref, name, layerLtype(ltype), color, flags)));
  xref->add(layer.get());
  layer.release();
}

void CFileDXFILoadDataSemantor::createLtype(const String& name, const String& description,
                                            CLtypeComplexDashSeq& dashes, long flags) {
  CData& data = getData();
  CLtypeTable& ltypes = data.getLtypeTable();
  if (ltypes.get(name) != nullptr) return;
  std::unique_ptr<CLtype> ltype(
      made(data.getLtypeFactory().create(name, description, dashes, flags)));
  ltypes.add(ltype.get());
  ltype.release();
}

void CFileDXFILoadDataSemantor::createLtypeXRef(const String& xrefName, const String& name,
                                                const String& description,
                                                CLtypeComplexDashSeq& dashes, long flags) {
  CBlockXRef* xref = getXRef(xrefName);
  if (xref->getLtype(name) != nullptr) return;
  std::unique_ptr<CLtypeXRef> ltype(
      made(getData().getLtypeFactory().createXRef(*xref, name, description, dashes, flags)));
  xref->add(ltype.get());
  ltype.release();
}

void CFileDXFILoadDataSemantor::createStyle(const String& name, const ICADFont* font, double height,
                                            double widthScale, double oblique, double lastHeight,
                                            long flags) {
  CData& data = getData();
  CStyleTable& styles = data.getStyleTable();
  if (styles.get(name) != nullptr) return;
  std::unique_ptr<CStyle> style(made(
      data.getStyleFactory().create(name, font, height, widthScale, oblique, lastHeight, flags)));
  styles.add(style.get());
  style.release();
}

void CFileDXFILoadDataSemantor::createStyleStandard(const ICADFont* font, double height,
                                                    double widthScale, double oblique,
                                                    double lastHeight, long flags) {
  CStyleStandard& standard = getData().getStyleTable().getStyleStandard();
  standard.setFont(font);
  standard.setFixedHeight(height);
  standard.setLastHeight(lastHeight);
  standard.setOblique(oblique);
  standard.setWidthScale(widthScale);
  standard.setFlags(flags);
}

void CFileDXFILoadDataSemantor::createBlock(const String& name, const PNT_3D& base, long flags,
                                            std::mylist<CEnt*>& entities) {
  CData& data = getData();
  if (data.getBlockXRefTable().get(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
  CBlock* block = data.getBlockTable().get(name);
  if (block == nullptr)
    fillNewBlock(name, base, flags, entities);
  else
    redefineBlock(block, base, flags, entities);
}

void CFileDXFILoadDataSemantor::createBlockXRef(const String& name, const String& path,
                                                const PNT_3D& base, long flags) {
  CData& data = getData();
  if (data.getBlockTable().get(name) != nullptr) throw BlockAlreadyDefinedSemantorError();
  CBlockFactory& factory = data.getBlockFactory();
  CBlockXRefTable& xrefs = data.getBlockXRefTable();
  CBlockXRef* xref = xrefs.get(name);
  if (xref == nullptr) {
    std::unique_ptr<CBlockXRef> fresh(
        made(factory.createXRef(data.getLtypeContinuous(), data.getLtypeByLayer(),
                                data.getLtypeByBlock(), data.getLayer0(), name)));
    factory.init(*fresh, path, base, flags);
    xrefs.add(fresh.get());
    xref = fresh.release();
  } else if (!xref->initialized()) {
    // Made by a dependent layer or linetype read before this record.
    factory.init(*xref, path, base, flags);
  } else if (!xref->getPath().equal(path)) {
    throw BlockSecondDefinitionSemantorError();
  }
  if (!xref->loaded() && (flags & CBlockXRef::kXRefLoaded) != 0) xref->load(data);
}

CBlock* CFileDXFILoadDataSemantor::createBlockHurried(const String& name, long flags) {
  CData& data = getData();
  CBlock* block = made(data.getBlockFactory().create(name, flags));
  veltcore::dxfin::addNewBlock(homeIn(data), block);
  return block;
}

CLtype* CFileDXFILoadDataSemantor::layerLtype(CLtype* ltype) const {
  // A layer always has a linetype: everything that draws or writes a layer relies on it.
  return ltype != nullptr ? ltype : &getData().getLtypeContinuous();
}

void CFileDXFILoadDataSemantor::fillNewBlock(const String& name, const PNT_3D& base, long flags,
                                             std::mylist<CEnt*>& entities) {
  veltcore::dxfin::fillNewBlock(homeIn(getData()), name, base, flags, entities);
}

void CFileDXFILoadDataSemantor::redefineBlock(CBlock* block, const PNT_3D& base, long flags,
                                              std::mylist<CEnt*>& entities) {
  veltcore::dxfin::redefineBlock(getData().getBlockTable(), block, base, flags, entities);
}
