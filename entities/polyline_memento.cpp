// entities/polyline_memento.cpp: CEntPolylineMemento and the polyline's restore from it.
// A restore with a different vertex count rebuilds the vertex list, reusing the vertex objects the
// snapshot still knows and making new ones (fresh handles) for those that were dropped.
#include <algorithm>
#include <new>

#include <veltcore/database/data.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

CEntPolylineMemento::CEntPolylineMemento(const CEntPolyline& p)
    : bdry_(p.getBdry()),
      count_(static_cast<std::int32_t>(p.getNoTotalVertexes())),
      firstVisible_(static_cast<std::int32_t>(p.getFirstVisibleVertex())),
      flags_(p.getFlags()),
      degree_(p.getDegree()) {
  vertexes_.reserve(static_cast<std::size_t>(count_));
  for (CVertex* v : p.vertexes_) vertexes_.emplace_back(v, v->createMemento());
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

void CEntPolyline::setMemento(CData& d, const IEntDerivedMemento* base) {
  const auto* m = static_cast<const CEntPolylineMemento*>(base);
  dropAppendBox();
  degree_ = m->getDegree();
  flags_ = m->getFlags();
  firstVisible_ = static_cast<std::int32_t>(m->getFirstVisible());
  getBdry() = m->getBdry();
  const std::vector<CEntPolylineMemento::VertexPair>& pairs = m->getVertexes();
  if (m->getNoVertexes() == getNoTotalVertexes()) {
    for (long i = getNoTotalVertexes() - 1; i >= 0; --i)
      GetVertex(static_cast<int>(i)).setMemento(pairs[static_cast<std::size_t>(i)].second);
    return;
  }
  IHandleGestor& g = d.getHandleGestor();
  CEntFactory& f = d.getEntFactory();
  for (long i = getNoTotalVertexes() - 1; i >= 0; --i)
    g.release(vertexes_[static_cast<std::size_t>(i)]->GetHandle());
  std::vector<CVertex*> old(vertexes_.begin(), vertexes_.end());
  vertexes_.assign(pairs.size(), nullptr);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    CVertex* v = nullptr;
    auto found = std::find(old.begin(), old.end(), pairs[i].first);
    if (found != old.end()) {
      v = *found;
      old.erase(found);
    } else {
      v = f.createVertex(g, PNT_3D(0, 0, 0), 0.0, 0.0, 0);
      if (v == nullptr) throw std::bad_alloc();
    }
    v->setMemento(pairs[i].second);
    vertexes_[i] = v;
    g.reserve(v);
  }
  for (CVertex* v : old) delete v;
}
