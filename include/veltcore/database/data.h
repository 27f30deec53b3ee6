// veltcore/database/data.h: CData, one drawing, with its drawing variables (CDataVariables),
// its iterators over layers, linetypes and styles (external references included on request),
// and CDataFactory, which builds a drawing with its handle manager and five factories.
// The drawing owns all of them; deleteData (or delete) destroys them in a safe order.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/linetypes/linetype.h>

class CData;

// The current settings and the header variables of a drawing. Setters store what they are
// given: they check no table and move no count.
class CDataVariables {
 public:
  CDataVariables& operator=(const CDataVariables& src) = default;

  const PNT_2D& getLimMax() const { return limMax_; }
  void setLimMax(const PNT_2D& p) { limMax_ = p; }
  const PNT_2D& getLimMin() const { return limMin_; }
  void setLimMin(const PNT_2D& p) { limMin_ = p; }
  double getLtypeScale() const { return ltypeScale_; }
  void setLtypeScale(double v) { ltypeScale_ = v; }
  double getPLineWid() const { return pLineWid_; }
  void setPLineWid(double v) { pLineWid_ = v; }
  // Angle base, radians.
  double getAngDir() const { return angDir_; }
  void setAngDir(double v) { angDir_ = v; }
  CLayer* getCurLayer() const { return curLayer_; }
  void setCurLayer(CLayer* l) { curLayer_ = l; }
  CLtype* getCurLtype() const { return curLtype_; }
  void setCurLtype(CLtype* lt) { curLtype_ = lt; }
  CStyle* getCurStyle() const { return curStyle_; }
  void setCurStyle(CStyle* s) { curStyle_ = s; }
  short getCurColor() const { return curColor_; }
  void setCurColor(short c) { curColor_ = c; }
  short getAngFormat() const { return angFormat_; }
  void setAngFormat(short v) { angFormat_ = v; }
  bool isOrtho() const { return ortho_; }
  void setOrtho(bool on) { ortho_ = on; }
  bool isPLineGen() const { return pLineGen_; }
  void setPLineGen(bool on) { pLineGen_ = on; }
  bool isAngClockWise() const { return angClockWise_; }
  void setAngClockWise(bool on) { angClockWise_ = on; }

 private:
  friend class CData;
  // Limits (0, 0)-(420, 297), scale 1, current layer 0, linetype by layer, colour by layer.
  CDataVariables(CLayer0& layer0, CLtypeByLayer& byLayer);
  CDataVariables(const CDataVariables& src) = default;

  PNT_2D limMax_;
  PNT_2D limMin_;
  double ltypeScale_;
  double pLineWid_;
  double angDir_;
  CLayer* curLayer_;
  CLtype* curLtype_;
  CStyle* curStyle_;
  short curColor_;
  short angFormat_;
  bool ortho_;
  bool pLineGen_;
  bool angClockWise_;
};

class CData {
 public:
  // Walks layer 0, the drawing's layers, then (when asked) each external reference's layers.
  class CLayerIterator {
   public:
    CLayerIterator(const CData& data, bool withXRefs);
    CLayer* operator*() const;
    CLayerIterator& operator++();
    CLayerIterator operator++(int);
    long size() const;

   private:
    const CData* data_;
    const CLayerTable* table_;  // null while on layer 0 and at the end
    bool withXRefs_;
    int xref_;  // -1: the drawing's own table
    int index_;
  };

  // Walks by layer and by block (when asked), continuous, the drawing's linetypes, then
  // (when asked) each external reference's linetypes.
  class CLtypeIterator {
   public:
    CLtypeIterator(const CData& data, bool withXRefs, bool withByLayerBlock);
    CLtype* operator*() const;
    CLtypeIterator& operator++();
    CLtypeIterator operator++(int);
    long size() const;

   private:
    const CData* data_;
    const CLtypeTable* table_;  // null while on the fixed linetypes and at the end
    bool withXRefs_;
    bool withByLayerBlock_;
    int fixed_;  // 0 by layer, 1 by block, 2 continuous
    int xref_;
    int index_;
  };

  // Walks the drawing's styles, then (when asked) each external reference's styles.
  class CStyleIterator {
   public:
    CStyleIterator(const CData& data, bool withXRefs);
    CStyle* operator*() const;
    CStyleIterator& operator++();
    CStyleIterator operator++(int);
    long size() const;

   private:
    const CData* data_;
    const CStyleTable* table_;  // null at the end
    bool withXRefs_;
    int xref_;
    int index_;
  };

  // Takes ownership of the handle manager and the five factories.
  CData(IHandleGestor& gestor, CLtypeFactory& ltypeFactory, CLayerFactory& layerFactory,
        CStyleFactory& styleFactory, CBlockFactory& blockFactory, CEntFactory& entFactory);
  // Entities first, then blocks, external references, layers, linetypes and styles, so that
  // nothing is deleted while something still points to it.
  virtual ~CData();
  CData(const CData&) = delete;
  CData& operator=(const CData&) = delete;

  CDataVariables& getVars() { return vars_; }
  const CDataVariables& getVars() const { return vars_; }
  CLtypeTable& getLtypeTable() { return ltypes_; }
  const CLtypeTable& getLtypeTable() const { return ltypes_; }
  CLayerTable& getLayerTable() { return layers_; }
  const CLayerTable& getLayerTable() const { return layers_; }
  CStyleTable& getStyleTable() { return styles_; }
  const CStyleTable& getStyleTable() const { return styles_; }
  CBlockTable& getBlockTable() { return blocks_; }
  const CBlockTable& getBlockTable() const { return blocks_; }
  CBlockXRefTable& getBlockXRefTable() { return xrefs_; }
  const CBlockXRefTable& getBlockXRefTable() const { return xrefs_; }
  CEntTable& getEntTable() { return ents_; }
  const CEntTable& getEntTable() const { return ents_; }
  CBlockXRefDepend& getDepend() { return depend_; }
  const CBlockXRefDepend& getDepend() const { return depend_; }
  CLtypeContinuous& getLtypeContinuous() const { return continuous_; }
  CLtypeByLayer& getLtypeByLayer() const { return byLayer_; }
  CLtypeByBlock& getLtypeByBlock() const { return byBlock_; }
  CLayer0& getLayer0() const { return layer0_; }
  IHandleGestor& getHandleGestor() const { return gestor_; }
  CLtypeFactory& getLtypeFactory() const { return ltypeFactory_; }
  CLayerFactory& getLayerFactory() const { return layerFactory_; }
  CStyleFactory& getStyleFactory() const { return styleFactory_; }
  CBlockFactory& getBlockFactory() const { return blockFactory_; }
  CEntFactory& getEntFactory() const { return entFactory_; }

 private:
  IHandleGestor& gestor_;
  CBlockXRefDepend depend_;
  // The fixed items are handed out by reference from const drawings too: a drawing never
  // changes their identity.
  mutable CLtypeContinuous continuous_;
  mutable CLtypeByLayer byLayer_;
  mutable CLtypeByBlock byBlock_;
  mutable CLayer0 layer0_;
  CDataVariables vars_;
  CStyleTable styles_;
  CLtypeTable ltypes_;
  CLayerTable layers_;
  CBlockXRefTable xrefs_;
  CBlockTable blocks_;
  CEntTable ents_;
  CLtypeFactory& ltypeFactory_;
  CLayerFactory& layerFactory_;
  CStyleFactory& styleFactory_;
  CBlockFactory& blockFactory_;
  CEntFactory& entFactory_;
};

// Builds drawings. A host may derive its own and replace any of the factories it creates.
class CDataFactory {
 public:
  CDataFactory() = default;
  virtual ~CDataFactory();
  CDataFactory(const CDataFactory&) = default;
  CDataFactory& operator=(const CDataFactory&) = default;

  // A new drawing with a new handle manager and five new factories; the caller owns it.
  CData* createData() const;
  // When false, new drawings keep no handles: every entity gets handle 0.
  void setHandling(bool on) { handling_ = on; }
  bool getHandling() const { return handling_; }

 protected:
  // CHandleGestorDefault(32, 1000000000) when handling, CHandleGestorFoo otherwise.
  virtual IHandleGestor* doCreateHandleGestor() const;
  virtual CLtypeFactory* doCreateLtypeFactory() const;
  virtual CLayerFactory* doCreateLayerFactory() const;
  virtual CStyleFactory* doCreateStyleFactory() const;
  virtual CBlockFactory* doCreateBlockFactory() const;
  virtual CEntFactory* doCreateEntFactory() const;

 private:
  bool handling_ = true;
};
