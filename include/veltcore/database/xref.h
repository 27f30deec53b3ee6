// veltcore/database/xref.h: external references. CBlockXRef is a block whose contents come
// from another DXF file, with that file's own layers, linetypes, styles and blocks;
// CBlockXRefDepend records which references a container depends on, and how often;
// CBlockXRefTable holds a drawing's references. scomposeName splits "reference|name".
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/named_item.h>
#include <veltcore/database/style.h>
#include <veltcore/linetypes/linetype.h>

class CBlockXRef;
class CData;

// The external references a container (the drawing, a block table, a reference) depends on.
class CBlockXRefDepend {
 public:
  struct XREFITEM_tag {
    const CBlockXRef* xref;
    std::int32_t count;
  };

  CBlockXRefDepend() = default;
  ~CBlockXRefDepend();
  CBlockXRefDepend(const CBlockXRefDepend&) = delete;
  CBlockXRefDepend& operator=(const CBlockXRefDepend&) = delete;

  // One more use of x; a new record makes x needed once more.
  void add(const CBlockXRef* x);
  // One use less; the last use removes the record and x is needed once less.
  void dec(const CBlockXRef* x);
  // Drops every record, each reference needed once less.
  void zero();
  const std::vector<XREFITEM_tag*>& getDependList() const { return items_; }

 protected:
  long find(const CBlockXRef* x) const;

 private:
  std::vector<XREFITEM_tag*> items_;
};

class CBlockXRef : public CBlock {
 public:
  // Load status.
  static constexpr long kNotLoaded = 1;
  static constexpr long kLoaded = 2;
  static constexpr long kFileNotFound = 3;

  // Unloads, then deletes the reference's layers and linetypes.
  ~CBlockXRef() override;

  // CBlock::add, then the entity is registered with the reference's own handle manager.
  void add(CEnt* e) override;
  bool isXRef() const override { return true; }
  void add(CLtypeXRef* lt);
  void add(CStyle* style);
  // Counts the layer on its linetype, as the drawing's layer table does.
  void add(CLayerXRef* layer);
  void add(CBlock* block);

  bool loaded() const { return status_ == kLoaded; }
  // The full name of one of this reference's items: "reference|name".
  String dependentName(const String& name) const;
  // flags as one of this reference's items carries them: bit 16 always, bit 32 exactly while
  // the reference is loaded.
  long dependentFlags(long flags) const;
  long getStatus() const { return status_; }
  bool initialized() const { return initialized_; }
  long getNeeded() const { return needed_; }
  const String& getPath() const { return path_; }

  CLtype* getLtype(const String& name) const;
  CLayer* getLayer(const String& name) const;
  CStyle* getStyle(const String& name) const;
  CBlock* getBlock(const String& name) const;
  const CLtypeTable& getLtypeTable() const { return ltypes_; }
  const CLayerTable& getLayerTable() const { return layers_; }
  CStyleTable& getStyleTable() { return *styles_; }
  CBlockTable& getBlockTable() { return blocks_; }
  CBlockXRefDepend& getDepend() { return depend_; }
  IHandleGestor& getHandleGestor() { return gestor_; }

  // Reads the referenced file into this reference, from empty contents and a new style table:
  // status 2 on success; on failure CFileDXFIParser::FileDXFException passes on, after the
  // status became 3 if the file was not found (error 2). A request made while this
  // reference's own load is under way (files that refer back to it) returns at once: that load
  // goes on and completes the reference.
  void load(CData& host);
  // Drops the contents read from the file, the style table's standard style included; layers
  // and linetypes stay, marked not loaded.
  void unload();
  // A loaded reference is reloaded from the new path; otherwise only the path changes.
  void setPath(CData& host, const String& path);

 protected:
  friend class CBlockFactory;
  friend class CBlockXRefDepend;
  friend class CBlockXRefTable;

  // Not initialized: empty path, base point (0, 0, 0), flags 0. The fixed items are the host
  // drawing's.
  CBlockXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer, CLtypeByBlock& byBlock,
             CLayer0& layer0, const String& name);
  void init(const String& path, const PNT_3D& base, long flags);
  // Flag 32 is set exactly when the status is 2.
  void setStatus(long status);
  void incNeeded() const { ++needed_; }
  void decNeeded() const { --needed_; }

 private:
  String path_;
  CBlockXRefDepend depend_;
  CHandleGestorFoo gestor_;
  CLtypeTable ltypes_;
  CLayerTable layers_;
  // Replaced by a new table when a load begins: unload deletes the standard style, which a
  // table cannot make again.
  std::unique_ptr<CStyleTable> styles_;
  CBlockTable blocks_;
  mutable std::int32_t needed_;
  std::int32_t status_;
  bool initialized_;
  // A load of this reference is under way.
  bool loading_;

  // Deletes the entities, blocks and styles, leaving the status and the flags as they are.
  void dropContents();
};

// The drawing's external references, owned, in order of addition; looked up by name
// ignoring case.
class CBlockXRefTable {
 public:
  CBlockXRefTable() = default;
  virtual ~CBlockXRefTable();
  CBlockXRefTable(const CBlockXRefTable&) = delete;
  CBlockXRefTable& operator=(const CBlockXRefTable&) = delete;

  virtual void add(CBlockXRef* x);
  // Takes x out; not deleted.
  virtual void remove(CBlockXRef* x);
  CBlockXRef* get(const String& name) const;
  long size() const { return static_cast<long>(xrefs_.size()); }
  CBlockXRef* operator[](int i) const { return xrefs_[static_cast<std::size_t>(i)]; }
  // Deletes every reference. References that insert one another, or use one another's layers,
  // are unloaded and lose their layers all before any is deleted, so the order does not matter.
  void clearAll();

 private:
  std::vector<CBlockXRef*> xrefs_;
};

// Splits "prefix|name" at the first bar; false (outputs untouched) when there is no bar, or
// it stands first or last.
bool scomposeName(const String& full, String& prefix, String& name);
