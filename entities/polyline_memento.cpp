// entities/polyline_memento.cpp: CEntPolylineMemento and the polyline's restore from it.
// A restore with a different vertex count rebuilds the vertex list, reusing the vertex objects the
// snapshot still knows and making new ones (fresh handles) for those that were dropped. The old
// vertices are found by address through a hash table, so a restore takes time linear in the
// vertex counts.
#include <cstdint>
#include <new>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

CEntPolylineMemento::CEntPolylineMemento(const CEntPolyline& p)
    : bdry_(p.getBdry()),
      count_(static_cast<std::int32_t>(p.getNoTotalVertexes())),
      firstVisible_(static_cast<std::int32_t>(p.getFirstVisibleVertex())),
      flags_(p.getFlags()),
      degree_(p.getDegree()) {
  // The destructor does not run for a constructor that fails, so the snapshots are freed here.
  try {
    vertexes_.reserve(static_cast<std::size_t>(count_));
    for (CVertex* v : p.vertexes_) vertexes_.emplace_back(v, v->createMemento());
  } catch (...) {
    for (VertexPair& pair : vertexes_) delete pair.second;
    throw;
  }
}

CEntPolylineMemento::~CEntPolylineMemento() {
  for (VertexPair& pair : vertexes_) delete pair.second;
}

bool CEntPolylineMemento::operator==(const CEnt& e) const {
  const auto* p = dynamic_cast<const CEntPolyline*>(&e);
  if (p == nullptr || p->getFirstVisibleVertex() != firstVisible_ ||
      p->getNoTotalVertexes() != count_ || p->getFlags() != flags_ || p->getDegree() != degree_)
    return false;
  for (long i = 0; i < count_; ++i)
    if (*vertexes_[static_cast<std::size_t>(i)].second != (*p)[static_cast<int>(i)]) return false;
  return true;
}

long CEntPolylineMemento::size() const {
  return static_cast<long>(sizeof *this +
                           vertexes_.size() * (sizeof(CVertexMemento) + sizeof(VertexPair)));
}

IEntDerivedMemento* CEntPolyline::createDerivedMemento() const {
  return new CEntPolylineMemento(*this);
}

namespace {

using VertexPair = CEntPolylineMemento::VertexPair;

// The vertices a polyline held before a rebuild. Each can be taken once, as the list walk took it
// out of its copy; a polyline owns its vertices, so no address appears twice and any way of
// finding an address finds the same vertex. Snapshots mostly list the vertices in their old
// order, so the one after the last taken is tried first; the others are found through an
// open-addressing hash table of positions (one allocation, linear probing), built on first need.
class OldVertexes {
 public:
  template <class List>
  explicit OldVertexes(const List& list) : list_(list.begin(), list.end()), taken_(list.size()) {}

  // The vertex at address v when it was in the list and is not taken yet; null otherwise. Only
  // the address is compared: a snapshot may record vertices deleted since.
  CVertex* take(const CVertex* v) {
    const std::size_t k = cursor_ < list_.size() && list_[cursor_] == v ? cursor_ : find(v);
    if (k == kAbsent || taken_[k]) return nullptr;
    taken_[k] = true;
    cursor_ = k + 1;
    return list_[k];
  }
  bool contains(const CVertex* v) { return find(v) != kAbsent; }
  // Deletes the vertices nobody took, in list order.
  void deleteLeftovers() {
    for (std::size_t k = 0; k < list_.size(); ++k)
      if (!taken_[k]) delete list_[k];
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xffffffffu;
  static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

  std::size_t find(const CVertex* v) {
    if (slots_.empty()) buildTable();
    for (std::size_t i = home(v); slots_[i] != kEmpty; i = next(i))
      if (list_[slots_[i]] == v) return slots_[i];
    return kAbsent;
  }
  // At most half full, so that probe runs stay short.
  void buildTable() {
    while ((std::size_t{1} << bits_) < 2 * list_.size()) ++bits_;
    slots_.assign(std::size_t{1} << bits_, kEmpty);
    for (std::size_t k = 0; k < list_.size(); ++k) {
      std::size_t i = home(list_[k]);
      while (slots_[i] != kEmpty) i = next(i);
      slots_[i] = static_cast<std::uint32_t>(k);
    }
  }
  // Fibonacci hashing: the address times 2^64 / phi, top bits_ bits.
  std::size_t home(const CVertex* v) const {
    const auto a = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(v));
    return static_cast<std::size_t>((a * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
  }
  std::size_t next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  std::vector<CVertex*> list_;
  std::vector<bool> taken_;
  std::size_t cursor_ = 0;
  // Positions in list_ (vertex counts are 32-bit), kEmpty where free.
  std::vector<std::uint32_t> slots_;
  unsigned bits_ = 4;
};

// Rebuilds list from pairs: every old handle is released (last to first); then, pair by pair, the
// recorded vertex is taken back when the list still held it, or a new one is made with a freshly
// booked handle, and the vertex's handle is reserved. Positions and widths are written once every
// vertex is in hand, and the unused old vertices are deleted. On failure the new vertices are
// discarded with their handles and the old list comes back unchanged, its handles reserved.
template <class List>
void rebuildVertexes(List& list, IHandleGestor& g, CEntFactory& f,
                     const std::vector<VertexPair>& pairs) {
  OldVertexes old(list);
  List rebuilt(list.get_allocator());
  rebuilt.reserve(pairs.size());
  for (std::size_t k = list.size(); k-- > 0;) g.release(list[k]->GetHandle());
  std::size_t reserved = 0;
  try {
    for (const VertexPair& pair : pairs) {
      CVertex* v = old.take(pair.first);
      if (v == nullptr) {
        v = f.createVertex(g, PNT_3D(0, 0, 0), 0.0, 0.0, 0);
        if (v == nullptr) throw std::bad_alloc();
      }
      rebuilt.push_back(v);
      g.reserve(v);
      ++reserved;
    }
  } catch (...) {
    // Every handle reserved above is released; a new vertex whose handle is still only booked is
    // unbooked; new vertices are deleted. Then the old ones enter again, as addTbls does it.
    for (std::size_t k = rebuilt.size(); k-- > 0;) {
      CVertex* v = rebuilt[k];
      if (k < reserved) g.release(v->GetHandle());
      if (old.contains(v)) continue;
      if (k >= reserved) g.unbook(v->GetHandle());
      delete v;
    }
    for (std::size_t k = list.size(); k-- > 0;) g.reserve(list[k]);
    throw;
  }
  for (std::size_t i = 0; i < pairs.size(); ++i) rebuilt[i]->setMemento(pairs[i].second);
  old.deleteLeftovers();
  list.swap(rebuilt);
}

}  // namespace

// The vertices come back first: a rebuild that fails leaves the polyline as it was.
void CEntPolyline::setMemento(CData& d, const IEntDerivedMemento* base) {
  const auto* m = static_cast<const CEntPolylineMemento*>(base);
  const std::vector<VertexPair>& pairs = m->getVertexes();
  if (m->getNoVertexes() == getNoTotalVertexes()) {
    for (long i = getNoTotalVertexes() - 1; i >= 0; --i)
      GetVertex(static_cast<int>(i)).setMemento(pairs[static_cast<std::size_t>(i)].second);
  } else {
    rebuildVertexes(vertexes_, d.getHandleGestor(), d.getEntFactory(), pairs);
  }
  dropAppendBox();
  degree_ = m->getDegree();
  flags_ = m->getFlags();
  firstVisible_ = static_cast<std::int32_t>(m->getFirstVisible());
  // Copied, not recomputed.
  getBdry() = m->getBdry();
}
