// veltcore/dxf/in/semantor.h: IFileDXFISemantor, through which the DXF parser hands every item
// it reads to a drawing and asks for every lookup; IFileDXFIDataSemantor, the common part of
// the semantors that work on a CData; CFileDXFILoadDataSemantor, which fills a fresh drawing.
// Factory and table errors pass through a semantor unchanged; it undoes nothing on failure.
// Beside them: CFileDXFIImportDataSemantor (importDXF) merges a file into a drawing, the block
// semantor reads a file as one block and takes back all it added when reading fails, and the
// external-reference semantor fills a CBlockXRef from its file.
#pragma once

#include <veltcore/core/mylist.h>
#include <veltcore/core/point.h>
#include <veltcore/core/string.h>

#include <unordered_set>

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
class IFile;
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

// Merges a file into a drawing that already has contents: what the drawing has wins (layers,
// linetypes, styles, blocks, layer "0" and the standard style stay as they are), no header
// variable is applied and every entity gets a new handle, so one file can be imported twice.
class CFileDXFIImportDataSemantor : public IFileDXFIDataSemantor {
 public:
  explicit CFileDXFIImportDataSemantor(CData& data);

  bool shouldReadHeaders() override { return false; }
  bool shouldRespectHandles() override { return false; }
  void createLayer(const String& name, CLtype* ltype, short color, long flags) override;
  void createLayer0(CLtype*, short, long) override {}
  void createLayerXRef(const String& xrefName, const String& name, CLtype* ltype, short color,
                       long flags) override;
  void createLtype(const String& name, const String& description, CLtypeComplexDashSeq& dashes,
                   long flags) override;
  void createLtypeXRef(const String& xrefName, const String& name, const String& description,
                       CLtypeComplexDashSeq& dashes, long flags) override;
  void createStyle(const String& name, const ICADFont* font, double height, double widthScale,
                   double oblique, double lastHeight, long flags) override;
  void createStyleStandard(const ICADFont*, double, double, double, double, long) override {}
  // A new name makes a new block. A block made earlier in this read (an insert came first) is
  // redefined. A block the drawing had keeps its contents: the file's definition is deleted
  // and the file's inserts use the drawing's block.
  void createBlock(const String& name, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities) override;
  void createBlockXRef(const String& name, const String& path, const PNT_3D& base,
                       long flags) override;
  CBlock* createBlockHurried(const String& name, long flags) override;

 private:
  // What the import does as loadDXF does it.
  CFileDXFILoadDataSemantor asLoad_;
  // The blocks this read made (the block table owns them).
  std::unordered_set<const CBlock*> created_;
};

// Reads a file as one new block of a drawing. The block exists from construction and enters the
// block table only when reading succeeds; when it fails, the block and everything the read added
// to the drawing's tables are taken out and deleted, so the tables are as they were (items
// changed in place, such as a reference that was loaded, stay changed).
class CFileDXFIBlockSemantor : public IFileDXFIDataSemantor {
 public:
  // BlockAlreadyDefinedSemantorError, before anything is made, when a block or an external
  // reference of the drawing has the name.
  CFileDXFIBlockSemantor(CData& data, const String& name);
  // Deletes the block if no table took it (a file that could not even be opened).
  ~CFileDXFIBlockSemantor();
  CFileDXFIBlockSemantor(const CFileDXFIBlockSemantor&) = delete;
  CFileDXFIBlockSemantor& operator=(const CFileDXFIBlockSemantor&) = delete;

  // Deletes the block being filled, then every block, external reference, style, layer and
  // linetype this read added, in that order.
  void unrecovableError() override;
  // Adds the block to the drawing's block table.
  void transition() override;
  bool shouldReadHeaders() override { return false; }
  // The variables of a drawing belong to its own reading, never to a block's.
  CDataVariables* getVars() override { return nullptr; }
  bool shouldRespectHandles() override { return false; }
  void createLayer(const String& name, CLtype* ltype, short color, long flags) override;
  void createLayer0(CLtype*, short, long) override {}
  void createLayerXRef(const String& xrefName, const String& name, CLtype* ltype, short color,
                       long flags) override;
  void createLtype(const String& name, const String& description, CLtypeComplexDashSeq& dashes,
                   long flags) override;
  void createLtypeXRef(const String& xrefName, const String& name, const String& description,
                       CLtypeComplexDashSeq& dashes, long flags) override;
  void createStyle(const String& name, const ICADFont* font, double height, double widthScale,
                   double oblique, double lastHeight, long flags) override;
  void createStyleStandard(const ICADFont*, double, double, double, double, long) override {}
  // As the import semantor. A block or reference named as the block being read is refused with
  // BlockAlreadyDefinedSemantorError: the block would come to contain itself.
  void createBlock(const String& name, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities) override;
  void createBlockXRef(const String& name, const String& path, const PNT_3D& base,
                       long flags) override;
  CBlock* createBlockHurried(const String& name, long flags) override;
  // To the block being filled.
  void add(CEnt* entity) override;

  // The block being filled; null once the block table holds it, or after a failure.
  CBlock* getFilledBlock() const { return block_; }

 private:
  // The sizes of the drawing's tables before this read: every item a read adds is appended and
  // none is removed, so what stands past them is what this read added.
  struct TableSizes {
    long layers, ltypes, styles, blocks, xrefs;
  };

  CFileDXFIImportDataSemantor asImport_;
  CBlock* block_;
  TableSizes before_;

  void refuseOwnName(const String& name) const;
  void removeAddedBlocks();
  void removeAddedXRefs();
  void removeAddedItems();
};

// Fills an external reference from its file for CBlockXRef::load. Layers, linetypes, styles and
// blocks go to the reference's own tables, entities into the reference (handle 0: the
// reference's handle manager hands out none); external references the file names are made and
// loaded in the drawing's table, as loadDXF makes them. No header variable is applied.
class CFileDXFIXRefSemantor : public IFileDXFISemantor {
 public:
  CFileDXFIXRefSemantor(CData& data, CBlockXRef& xref);

  void unrecovableError() override {}
  void transition() override {}
  bool shouldReadHeaders() override { return false; }
  // The drawing's variables are not this file's to read or to use.
  CDataVariables* getVars() override { return nullptr; }
  bool shouldRespectHandles() override { return false; }
  // A new layer is made dependent and resolved (flags | 48); a layer the reference had (a
  // placeholder made while the drawing was read) gains bit 32. Linetypes likewise.
  void createLayer(const String& name, CLtype* ltype, short color, long flags) override;
  void createLayer0(CLtype*, short, long) override {}
  void createLayerXRef(const String& xrefName, const String& name, CLtype* ltype, short color,
                       long flags) override;
  void createLtype(const String& name, const String& description, CLtypeComplexDashSeq& dashes,
                   long flags) override;
  void createLtypeXRef(const String& xrefName, const String& name, const String& description,
                       CLtypeComplexDashSeq& dashes, long flags) override;
  // Always a new style of the reference: a load starts from an empty style table.
  void createStyle(const String& name, const ICADFont* font, double height, double widthScale,
                   double oblique, double lastHeight, long flags) override;
  void createStyleStandard(const ICADFont* font, double height, double widthScale, double oblique,
                           double lastHeight, long flags) override;
  void createBlock(const String& name, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities) override;
  void createBlockXRef(const String& name, const String& path, const PNT_3D& base,
                       long flags) override;
  CBlock* createBlockHurried(const String& name, long flags) override;
  void add(CEnt* entity) override;
  CLtype* getLtype(const String& name) override;
  CLtypeByLayer* getLtypeByLayer() override;
  CLayer* getLayer(const String& name) override;
  CStyle* getStyle(const String& name) override;
  CStyle* getStyleStandard() override;
  // A block of the reference or an external reference of the drawing; SemantorError when both
  // have the name.
  CBlock* getBlock(const String& name) override;
  CBlockFactory& getBlockFactory() override;
  CBlockTable& getBlockTable() override;
  CBlockXRefDepend& getDepend() override;
  IHandleGestor& getHandleGestor() override;
  CEntFactory& getEntFactory() override;

 protected:
  // BlockAlreadyDefinedSemantorError when name would make a new external reference of the
  // drawing while a block of the reference has it.
  void refuseOwnBlockName(const String& name) const;

 private:
  CData& data_;
  CBlockXRef& xref_;
  // External references named in the file are made and loaded as loadDXF does it.
  CFileDXFILoadDataSemantor onDrawing_;
};

// Merges the DXF file into data through CFileDXFIImportDataSemantor. Failures leave as
// CFileDXFIParser::FileDXFException; what was merged before the error stays.
void importDXF(CData& data, IFile& file);
