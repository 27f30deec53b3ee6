// database/block.cpp: CBlock, its iterators over attribute definitions and block references, and
// its snapshot.
// Entities enter a block moved by minus its base point; they are owned by the block and
// deleted last to first.
#include <veltcore/database/block.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/entities/visitor.h>

namespace {

// Answers whether the visited entity is exactly an attribute definition. A type code could be
// claimed by any class (a host's own included); the visit reaches only the definition's accept.
class CAttdefFinder : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntAttdef& e) override { found_ = &e; }

  CEntAttdef* found() const { return found_; }

 private:
  CEntAttdef* found_ = nullptr;
};

// The entity as a definition, or null.
CEntAttdef* asAttdef(CEnt& e) {
  CAttdefFinder finder;
  e.accept(finder);
  return finder.found();
}

// A definition marks the block instead of extending its box.
bool isAttdef(CEnt& e) {
  return asAttdef(e) != nullptr;
}

}  // namespace

CBlock::CBlock(const String& name) : CBlock(name, PNT_3D(0, 0, 0), 0) {}

CBlock::CBlock(const String& name, const PNT_3D& base, long flags)
    : CNamedItem(name, flags), base_(base) {
  bdry_.initRegion();
}

CBlock::~CBlock() {
  disposeEntities();
}

void CBlock::add(CEnt* e) {
  CEntMoveVisitor move(-base_);
  e->accept(move);
  append(e);
}

void CBlock::append(CEnt* e) {
  entities_.push_back(e);
  if (isAttdef(*e))
    setFlags(kHasAttdefs, true);
  else
    bdry_.updateRegion(e->getBdry());
}

void CBlock::calcBdry() {
  bdry_.initRegion();
  for (const CEnt* e : entities_) bdry_.updateRegion(e->getBdry());
}

void CBlock::clearEntities() {
  entities_.clear();
  bdry_.initRegion();
  setFlags(kHasAttdefs, false);
}

void CBlock::disposeEntities() {
  for (auto it = entities_.rbegin(); it != entities_.rend(); ++it) delete *it;
  clearEntities();
}

void CBlock::redefine(const PNT_3D& base, long flags) {
  base_ = base;
  setFlags(flags);
  clearEntities();
}

void CBlock::insertBlock(IHandleGestor& g) const {
  for (auto it = entities_.rbegin(); it != entities_.rend(); ++it) (*it)->addTbls(g);
}

void CBlock::removeBlock(IHandleGestor& g) const {
  for (auto it = entities_.rbegin(); it != entities_.rend(); ++it) (*it)->removeTbls(g);
}

CBlockMemento* CBlock::createMemento() const {
  return new CBlockMemento(*this);
}

void CBlock::setMemento(CBlockMemento& m) {
  clearEntities();
  setNewMover(m.base_);
  for (CEnt* e : m.entities_) {
    entities_.push_back(e);
    bdry_.updateRegion(e->getBdry());
  }
  setFlags(m.flags_);
}

CBlock::CAttdefIterator::CAttdefIterator(const CBlock& block) : block_(&block), index_(-1) {
  seek(0);
}

CEntAttdef* CBlock::CAttdefIterator::operator*() const {
  if (index_ < 0) return nullptr;
  return asAttdef(*(*block_)[index_]);
}

CBlock::CAttdefIterator& CBlock::CAttdefIterator::operator++() {
  if (index_ >= 0) seek(index_ + 1);
  return *this;
}

CBlock::CAttdefIterator CBlock::CAttdefIterator::operator++(int) {
  CAttdefIterator before = *this;
  ++*this;
  return before;
}

void CBlock::CAttdefIterator::seek(int from) {
  for (int i = from; i < block_->size(); ++i) {
    if (isAttdef(*(*block_)[i])) {
      index_ = i;
      return;
    }
  }
  index_ = -2;
}

CBlock::CInsertIterator::CInsertIterator(const CBlock& block) : block_(&block), index_(-1) {
  seek(0);
}

CEntInsert* CBlock::CInsertIterator::operator*() const {
  if (index_ < 0) return nullptr;
  return (*block_)[index_]->getEntInsert();
}

CBlock::CInsertIterator& CBlock::CInsertIterator::operator++() {
  if (index_ >= 0) seek(index_ + 1);
  return *this;
}

CBlock::CInsertIterator CBlock::CInsertIterator::operator++(int) {
  CInsertIterator before = *this;
  ++*this;
  return before;
}

void CBlock::CInsertIterator::seek(int from) {
  for (int i = from; i < block_->size(); ++i) {
    if ((*block_)[i]->getEntInsert() != nullptr) {
      index_ = i;
      return;
    }
  }
  index_ = -2;
}

CBlockMemento::CBlockMemento(const CBlock& b)
    : base_(b.getPnt()), flags_(b.getFlags()), entities_() {
  entities_.reserve(static_cast<std::size_t>(b.size()));
  for (int i = 0; i < b.size(); ++i) entities_.push_back(b[i]);
}

CBlockMemento::~CBlockMemento() = default;

void CBlockMemento::destroyEntity() {
  for (CEnt* e : entities_) delete e;
  entities_.clear();
}

bool CBlockMemento::operator==(const CBlock& b) const {
  if (base_ != b.getPnt() || size() != b.size() || flags_ != b.getFlags()) return false;
  for (int i = size() - 1; i >= 0; --i)
    if (entities_[static_cast<std::size_t>(i)] != b[i]) return false;
  return true;
}
