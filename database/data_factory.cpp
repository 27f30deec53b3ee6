// database/data_factory.cpp: CDataFactory builds a drawing with its handle manager and its
// five factories. If anything fails on the way, what was made is freed and null returned.
#include <veltcore/database/data.h>

#include <memory>
#include <new>

CDataFactory::~CDataFactory() = default;

CData* CDataFactory::createData() const {
  try {
    std::unique_ptr<IHandleGestor> gestor(doCreateHandleGestor());
    std::unique_ptr<CLtypeFactory> ltypes(doCreateLtypeFactory());
    std::unique_ptr<CLayerFactory> layers(doCreateLayerFactory());
    std::unique_ptr<CStyleFactory> styles(doCreateStyleFactory());
    std::unique_ptr<CBlockFactory> blocks(doCreateBlockFactory());
    std::unique_ptr<CEntFactory> ents(doCreateEntFactory());
    if (!gestor || !ltypes || !layers || !styles || !blocks || !ents) return nullptr;
    CData* data = new CData(*gestor, *ltypes, *layers, *styles, *blocks, *ents);
    // The drawing owns them now.
    gestor.release();
    ltypes.release();
    layers.release();
    styles.release();
    blocks.release();
    ents.release();
    return data;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

IHandleGestor* CDataFactory::doCreateHandleGestor() const {
  if (handling_) return new CHandleGestorDefault(32, 1000000000);
  return new CHandleGestorFoo();
}

CLtypeFactory* CDataFactory::doCreateLtypeFactory() const {
  return new CLtypeFactory();
}

CLayerFactory* CDataFactory::doCreateLayerFactory() const {
  return new CLayerFactory();
}

CStyleFactory* CDataFactory::doCreateStyleFactory() const {
  return new CStyleFactory();
}

CBlockFactory* CDataFactory::doCreateBlockFactory() const {
  return new CBlockFactory();
}

CEntFactory* CDataFactory::doCreateEntFactory() const {
  return new CEntFactory();
}
