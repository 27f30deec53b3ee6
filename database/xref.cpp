// database/xref.cpp: CBlockXRef, an external reference with tables of its own, and the
// dependency record CBlockXRefDepend. The reference's entities and blocks are registered
// with its own handle manager, which hands out no handles. A reference loads its file itself,
// through the DXF reader and the external-reference semantor.
#include <veltcore/database/xref.h>

#include <veltcore/database/data.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/entity.h>

#include "core/string_ops.h"

CBlockXRef::CBlockXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer, CLtypeByBlock& byBlock,
                       CLayer0& layer0, const String& name)
    : CBlock(name),
      path_(),
      depend_(),
      gestor_(),
      ltypes_(continuous, byLayer, byBlock),
      layers_(layer0),
      styles_(std::make_unique<CStyleTable>()),
      blocks_(gestor_, depend_),
      needed_(0),
      status_(kNotLoaded),
      initialized_(false),
      loading_(false) {}

CBlockXRef::~CBlockXRef() {
  unload();
  layers_.clearAll();
  ltypes_.clearAll();
}

void CBlockXRef::init(const String& path, const PNT_3D& base, long flags) {
  path_ = path;
  setFlags(flags);
  setNewMover(base);
  initialized_ = true;
}

void CBlockXRef::setStatus(long status) {
  status_ = static_cast<std::int32_t>(status);
  setFlags(kXRefLoaded, status == kLoaded);
}

String CBlockXRef::dependentName(const String& name) const {
  return getName() + "|" + name;
}

long CBlockXRef::dependentFlags(long flags) const {
  const long dependent = flags | CLayer::kXRefDependent;
  return loaded() ? (dependent | CLayer::kXRefLoaded) : (dependent & ~CLayer::kXRefLoaded);
}

void CBlockXRef::add(CEnt* e) {
  CBlock::add(e);
  e->addTbls(gestor_);
}

void CBlockXRef::add(CLtypeXRef* lt) {
  ltypes_.add(lt);
}

void CBlockXRef::add(CStyle* style) {
  styles_->add(style);
}

void CBlockXRef::add(CLayerXRef* layer) {
  layers_.add(layer);
}

void CBlockXRef::add(CBlock* block) {
  blocks_.add(block);
}

CLtype* CBlockXRef::getLtype(const String& name) const {
  return ltypes_.get(name);
}

CLayer* CBlockXRef::getLayer(const String& name) const {
  return layers_.get(name);
}

CStyle* CBlockXRef::getStyle(const String& name) const {
  return styles_->get(name);
}

CBlock* CBlockXRef::getBlock(const String& name) const {
  return blocks_.get(name);
}

namespace {

// Marks a load under way for as long as it runs, however it ends.
class LoadUnderWay {
 public:
  explicit LoadUnderWay(bool& flag) : flag_(flag) { flag_ = true; }
  ~LoadUnderWay() { flag_ = false; }
  LoadUnderWay(const LoadUnderWay&) = delete;
  LoadUnderWay& operator=(const LoadUnderWay&) = delete;

 private:
  bool& flag_;
};

constexpr long kFileNotFoundError = 2;

}  // namespace

void CBlockXRef::load(CData& host) {
  // A file that refers back to a reference being loaded (A -> B -> A, or A -> A) asks for it
  // again from within its own load; loading it anew would never end. The load under way
  // completes the reference, and the inserts read meanwhile already point at it.
  if (loading_) return;
  if (loaded()) {
    unload();
  } else {
    // What a failed read left (it leaves the reference partly filled) goes, so that a new read
    // does not add to it; the status stays until this load decides it.
    dropContents();
  }
  depend_.zero();
  styles_ = std::make_unique<CStyleTable>();

  LoadUnderWay underWay(loading_);
  CFileStdLib file(path_, IFile::kRead);
  CFileDXFIXRefSemantor semantor(host, *this);
  CFileDXFIParser parser(file, semantor, host.getEntFactory());
  try {
    parser.load();
  } catch (const CFileDXFIParser::FileDXFException& e) {
    // Only a missing file changes the status (the flags are not touched); the error passes on
    // unchanged either way.
    if (e.getErrorNumber() == kFileNotFoundError)
      status_ = static_cast<std::int32_t>(kFileNotFound);
    throw;
  }
  setStatus(kLoaded);
}

void CBlockXRef::unload() {
  dropContents();
  setStatus(kNotLoaded);
  // The items stay, marked as belonging to a reference that is not loaded.
  for (int i = 0; i < layers_.size(); ++i) layers_[i]->setFlags(layers_[i]->getFlags() & ~32L);
  for (int i = 0; i < ltypes_.size(); ++i) ltypes_[i]->setFlags(ltypes_[i]->getFlags() & ~32L);
}

void CBlockXRef::dropContents() {
  for (int i = 0; i < size(); ++i) {
    CEnt* e = (*this)[i];
    e->removeTbls(gestor_);
    delete e;
  }
  clearEntities();
  blocks_.clearAll();
  // The standard style too: the next load makes a new table.
  styles_->clearAll();
}

void CBlockXRef::setPath(CData& host, const String& path) {
  if (!loaded()) {
    path_ = path;
    return;
  }
  unload();
  path_ = path;
  load(host);
}

CBlockXRefDepend::~CBlockXRefDepend() {
  // The references may be gone already (a drawing deletes them first): only the records go.
  for (XREFITEM_tag* item : items_) delete item;
}

void CBlockXRefDepend::add(const CBlockXRef* x) {
  const long index = find(x);
  if (index >= 0) {
    ++items_[static_cast<std::size_t>(index)]->count;
    return;
  }
  items_.push_back(new XREFITEM_tag{x, 1});
  x->incNeeded();
}

void CBlockXRefDepend::dec(const CBlockXRef* x) {
  const long index = find(x);
  if (index < 0) return;
  XREFITEM_tag* item = items_[static_cast<std::size_t>(index)];
  if (--item->count > 0) return;
  items_.erase(items_.begin() + index);
  delete item;
  x->decNeeded();
}

void CBlockXRefDepend::zero() {
  for (XREFITEM_tag* item : items_) {
    item->xref->decNeeded();
    delete item;
  }
  items_.clear();
}

long CBlockXRefDepend::find(const CBlockXRef* x) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->xref == x) return static_cast<long>(i);
  return -1;
}

CBlockXRefTable::~CBlockXRefTable() {
  clearAll();
}

void CBlockXRefTable::add(CBlockXRef* x) {
  xrefs_.push_back(x);
}

void CBlockXRefTable::remove(CBlockXRef* x) {
  for (auto it = xrefs_.begin(); it != xrefs_.end(); ++it) {
    if (*it == x) {
      xrefs_.erase(it);
      return;
    }
  }
}

CBlockXRef* CBlockXRefTable::get(const String& name) const {
  for (CBlockXRef* x : xrefs_)
    if (x->getName().equal(name)) return x;
  return nullptr;
}

void CBlockXRefTable::clearAll() {
  // A reference's entities may insert another reference or sit on its layers, and its layers
  // may use another's linetypes: every reference lets go of the others before any is deleted.
  for (CBlockXRef* x : xrefs_) x->unload();
  for (CBlockXRef* x : xrefs_) x->layers_.clearAll();
  for (CBlockXRef* x : xrefs_) delete x;
  xrefs_.clear();
}

bool scomposeName(const String& full, String& prefix, String& name) {
  const int length = full.size();
  for (int i = 0; i < length; ++i) {
    if (full.read(i) != '|') continue;
    if (i == 0 || i == length - 1) return false;
    prefix = full.sub(0, i - 1);
    name = full.sub(i + 1, length - 1);
    return true;
  }
  return false;
}
