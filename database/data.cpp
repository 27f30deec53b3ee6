// database/data.cpp: construction and destruction of a drawing, and its variables.
// Destruction follows a fixed order so that nothing is deleted while something still
// points to it: factories, entities, blocks, references, layers, linetypes, styles, the
// handle manager, then the members themselves.
#include <veltcore/database/data.h>

CDataVariables::CDataVariables(CLayer0& layer0, CLtypeByLayer& byLayer)
    : limMax_(420, 297),
      limMin_(0, 0),
      ltypeScale_(1.0),
      pLineWid_(0.0),
      angDir_(0.0),
      curLayer_(&layer0),
      curLtype_(&byLayer),
      curStyle_(nullptr),
      curColor_(256),
      angFormat_(0),
      ortho_(false),
      pLineGen_(false),
      angClockWise_(false) {}

CData::CData(IHandleGestor& gestor, CLtypeFactory& ltypeFactory, CLayerFactory& layerFactory,
             CStyleFactory& styleFactory, CBlockFactory& blockFactory, CEntFactory& entFactory)
    : gestor_(gestor),
      depend_(),
      continuous_(),
      byLayer_(),
      byBlock_(),
      layer0_(&continuous_, 7, 0),
      vars_(layer0_, byLayer_),
      styles_(),
      ltypes_(continuous_, byLayer_, byBlock_),
      layers_(layer0_),
      xrefs_(),
      blocks_(gestor, depend_),
      ents_(gestor, depend_),
      ltypeFactory_(ltypeFactory),
      layerFactory_(layerFactory),
      styleFactory_(styleFactory),
      blockFactory_(blockFactory),
      entFactory_(entFactory) {
  vars_.setCurStyle(&styles_.getStyleStandard());
  continuous_.addLayer();  // layer 0 uses the continuous linetype
}

CData::~CData() {
  delete &blockFactory_;
  delete &styleFactory_;
  delete &layerFactory_;
  delete &ltypeFactory_;
  delete &entFactory_;
  ents_.clearAll();
  blocks_.clearAll();
  xrefs_.clearAll();
  layers_.clearAll();
  ltypes_.clearAll();
  styles_.clearAll();
  delete &gestor_;
}
