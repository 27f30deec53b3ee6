// veltcore/dxf/in/semantor.h: IFileDXFISemantor, through which the DXF parser hands every item
// it reads to a drawing and asks for every lookup; IFileDXFIDataSemantor, the common part of
// the semantors that work on a CData; CFileDXFILoadDataSemantor, which fills a fresh drawing.
// Factory and table errors pass through a semantor unchanged; it undoes nothing on failure.
#pragma once

#include <veltcore/core/mylist.h>
#include <veltcore/core/point.h>
#include <veltcore/core/string.h>

class CBlock;
class CBlockFactory;
class CBlockTable;
class CBlockXRef;
class CBlockXRefDepend;
class CData;
class CDataVariables;
class CEnt;
class CEntFactory;
class CLayer;
class CLtype;
class CLtypeByLayer;
class CLtypeComplexDashSeq;
class CStyle;
class ICADFont;
class IHandleGestor;

// The builder the parser drives. Angles arrive in radians, lengths and flags as read. Lookups
// return null when nothing has the name.
class IFileDXFISemantor {
 public:
  // The exceptions carry nothing.
  class SemantorError {};
  // A name is used both by an ordinary block and by an external reference.
  class BlockAlreadyDefinedSemantorError : public SemantorError {};
  // An external reference is defined again with another path.
  class BlockSecondDefinitionSemantorError : public SemantorError {};

  // Reading failed: called once, before the parser's exception leaves load().
  virtual void unrecovableError() = 0;
  // Reading succeeded: called once, after the file is closed.
  virtual void transition() = 0;
  // Whether header variables (other than the version) and the current layer, linetype and
  // style are applied.
  virtual bool shouldReadHeaders() = 0;
  virtual CDataVariables* getVars() = 0;
  // Whether entity handles read from the file are kept.
  virtual bool shouldRespectHandles() = 0;
  // A LAYER record other than "0", not dependent on an external reference. ltype is null
  // when the record names none.
  virtual void createLayer(const String& name, CLtype* ltype, short color, long flags) = 0;
  virtual void createLayer0(CLtype* ltype, short color, long flags) = 0;
  // A LAYER record with flag 16, its name split at the first bar into reference and name.
  virtual void createLayerXRef(const String& xrefName, const String& name, CLtype* ltype,
                               short color, long flags) = 0;
  virtual void createLtype(const String& name, const String& description,
                           CLtypeComplexDashSeq& dashes, long flags) = 0;
  virtual void createLtypeXRef(const String& xrefName, const String& name,
                               const String& description, CLtypeComplexDashSeq& dashes,
                               long flags) = 0;
  // A STYLE record other than "STANDARD".
  virtual void createStyle(const String& name, const ICADFont* font, double height,
                           double widthScale, double oblique, double lastHeight, long flags) = 0;
  virtual void createStyleStandard(const ICADFont* font, double height, double widthScale,
                                   double oblique, double lastHeight, long flags) = 0;
  // A block definition; flags are the BLOCK record's group 70. The entities of the list pass
  // to the drawing and leave the list: on return it is empty. When it throws, the entities
  // still in the list are the caller's again (any that had left it were destroyed).
  virtual void createBlock(const String& name, const PNT_3D& base, long flags,
                           std::mylist<CEnt*>& entities) = 0;
  // An external-reference block definition.
  virtual void createBlockXRef(const String& name, const String& path, const PNT_3D& base,
                               long flags) = 0;
  // An insert names a block not yet defined: an empty block that a later createBlock fills.
  virtual CBlock* createBlockHurried(const String& name, long flags) = 0;
  // An entity of the ENTITIES section; the drawing owns it from now on.
  virtual void add(CEnt* entity) = 0;
  virtual CLtype* getLtype(const String& name) = 0;
  virtual CLtypeByLayer* getLtypeByLayer() = 0;
  virtual CLayer* getLayer(const String& name) = 0;
  virtual CStyle* getStyle(const String& name) = 0;
  virtual CStyle* getStyleStandard() = 0;
  // An ordinary block or an external reference.
  virtual CBlock* getBlock(const String& name) = 0;
  virtual CBlockFactory& getBlockFactory() = 0;
  virtual CBlockTable& getBlockTable() = 0;
  virtual CBlockXRefDepend& getDepend() = 0;
  virtual IHandleGestor& getHandleGestor() = 0;
  virtual CEntFactory& getEntFactory() = 0;

 protected:
  IFileDXFISemantor() = default;
  IFileDXFISemantor(const IFileDXFISemantor&) = default;
  IFileDXFISemantor& operator=(const IFileDXFISemantor&) = default;
  // Not virtual: a semantor is never deleted through this interface.
  ~IFileDXFISemantor() = default;
};

// What every semantor over a drawing shares: the lookups, the drawing's own factories,
// tables and handle manager, entities added to the drawing's entity table, and nothing done
// at the end of reading.
class IFileDXFIDataSemantor : public IFileDXFISemantor {
 public:
  void unrecovableError() override {}
  void transition() override {}
  CDataVariables* getVars() override;
  void add(CEnt* entity) override;
  CLtype* getLtype(const String& name) override;
  CLtypeByLayer* getLtypeByLayer() override;
  CLayer* getLayer(const String& name) override;
  CStyle* getStyle(const String& name) override;
  CStyle* getStyleStandard() override;
  // SemantorError when both a block and an external reference have the name.
  CBlock* getBlock(const String& name) override;
  CBlockFactory& getBlockFactory() override;
  CBlockTable& getBlockTable() override;
  CBlockXRefDepend& getDepend() override;
  IHandleGestor& getHandleGestor() override;
  CEntFactory& getEntFactory() override;

 protected:
  explicit IFileDXFIDataSemantor(CData& data) : data_(data) {}
  ~IFileDXFIDataSemantor() = default;

  CData& getData() const { return data_; }
  // The drawing's external reference of that name, made (not initialised: no path yet) and
  // added to the reference table when there is none. BlockAlreadyDefinedSemantorError when an
  // ordinary block has the name.
  CBlockXRef* getXRef(const String& name);

 private:
  CData& data_;
};

// Fills a fresh drawing for loadDXF: keeps headers and handles, keeps the first definition of
// a layer, linetype or style, changes layer "0" and the standard style in place, and loads an
// external reference marked loaded (flag 32) as soon as it is defined.
// A null linetype for a layer (a record without one) stands for the continuous linetype.
class CFileDXFILoadDataSemantor : public IFileDXFIDataSemantor {
 public:
  explicit CFileDXFILoadDataSemantor(CData& data) : IFileDXFIDataSemantor(data) {}

  bool shouldReadHeaders() override { return true; }
  bool shouldRespectHandles() override { return true; }
  void createLayer(const String& name, CLtype* ltype, short color, long flags) override;
  void createLayer0(CLtype* ltype, short color, long flags) override;
  void createLayerXRef(const String& xrefName, const String& name, CLtype* ltype, short color,
                       long flags) override;
  void createLtype(const String& name, const String& description, CLtypeComplexDashSeq& dashes,
                   long flags) override;
  void createLtypeXRef(const String& xrefName, const String& name, const String& description,
                       CLtypeComplexDashSeq& dashes, long flags) override;
  void createStyle(const String& name, const ICADFont* font, double height, double widthScale,
                   double oblique, double lastHeight, long flags) override;
  void createStyleStandard(const ICADFont* font, double height, double widthScale, double oblique,
                           double lastHeight, long flags) override;
  // A name no block has makes a new block; a block made by createBlockHurried (or an earlier
  // definition) is redefined with these contents, its old entities deleted. A redefinition
  // that would make the block contain itself raises SemantorError, nothing changed.
  void createBlock(const String& name, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities) override;
  // The path of an existing reference is compared ignoring case.
  void createBlockXRef(const String& name, const String& path, const PNT_3D& base,
                       long flags) override;
  CBlock* createBlockHurried(const String& name, long flags) override;

 private:
  CLtype* layerLtype(CLtype* ltype) const;
  void fillNewBlock(const String& name, const PNT_3D& base, long flags,
                    std::mylist<CEnt*>& entities);
  void redefineBlock(CBlock* block, const PNT_3D& base, long flags, std::mylist<CEnt*>& entities);
};
