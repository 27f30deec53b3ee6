// database/handle_gestor_default.cpp: CHandleGestorDefault, the handle manager that tracks booked
// and reserved handles as runs of consecutive values, so that neither the search for a free
// handle nor the exhaustion check ever walks the handle range one value at a time.
#include <utility>

#include <veltcore/database/handle.h>
#include "database/handle_runs.h"
#include "database/int32_cast.h"

using veltcore::detail::HandleRuns;
using veltcore::detail::toInt32;

// reserved and booked are disjoint; inUse is always their union, kept so that the first value
// outside both sets is one lookup rather than an alternation between the two sets.
struct CHandleGestorDefault::Sets {
  HandleRuns reserved;
  HandleRuns booked;
  HandleRuns inUse;
};

CHandleGestorDefault::CHandleGestorDefault() : CHandleGestorDefault(1, 1000000000) {}

CHandleGestorDefault::CHandleGestorDefault(long seed, long limit)
    : sets_(std::make_unique<Sets>()), seed_(toInt32(seed)), limit_(toInt32(limit)) {}

CHandleGestorDefault::CHandleGestorDefault(const CHandleGestorDefault& src)
    : IHandleGestor(src),
      sets_(std::make_unique<Sets>(*src.sets_)),
      seed_(src.seed_),
      limit_(src.limit_) {}

CHandleGestorDefault& CHandleGestorDefault::operator=(const CHandleGestorDefault& src) {
  if (this == &src) return *this;
  auto copy = std::make_unique<Sets>(*src.sets_);
  sets_ = std::move(copy);
  seed_ = src.seed_;
  limit_ = src.limit_;
  return *this;
}

CHandleGestorDefault::~CHandleGestorDefault() = default;

// The capacity test is an equality, as the manager has always had it: reserve may add handles
// that were never booked, and a total above the limit passes this test.
bool CHandleGestorDefault::isFull() const {
  const auto total = static_cast<std::int64_t>(sets_->reserved.size() + sets_->booked.size());
  return total == limit_;
}

void CHandleGestorDefault::advanceSeed(long h) {
  if (h > seed_ && h < limit_) seed_ = static_cast<std::int32_t>(h);
}

long CHandleGestorDefault::bookNext() {
  if (isFull() || sets_->inUse.firstNotIn(1) >= limit_) throw HandleExaustedException();
  long h = seed_;
  searchNext(h);
  // A free value below the limit exists, so the search ends below the limit: h fits in 32 bits.
  seed_ = toInt32(h);
  sets_->booked.insert(seed_);
  sets_->inUse.insert(seed_);
  const long booked = seed_;
  seed_ = toInt32(std::int64_t{seed_} + 1);
  return booked;
}

long CHandleGestorDefault::bookHandle(long h) {
  const std::int32_t handle = toInt32(h);
  if (isFull()) throw HandleExaustedException();
  if (sets_->inUse.contains(handle)) throw HandleAlreadyUsedException();
  sets_->booked.insert(handle);
  sets_->inUse.insert(handle);
  return handle;
}

void CHandleGestorDefault::unbook(long h) {
  const std::int32_t handle = toInt32(h);
  if (sets_->booked.erase(handle)) sets_->inUse.erase(handle);
}

void CHandleGestorDefault::reserve(const IHandleEnt* e) {
  long h = e->GetHandle();
  if (sets_->booked.erase(h)) {
    sets_->reserved.insert(h);
    return;
  }
  searchNext(h);
  sets_->reserved.insert(h);
  sets_->inUse.insert(h);
}

void CHandleGestorDefault::release(long h) {
  const std::int32_t handle = toInt32(h);
  if (sets_->reserved.erase(handle)) sets_->inUse.erase(handle);
}

void CHandleGestorDefault::searchNext(long& h) const {
  h = static_cast<long>(findFree(toInt32(h)));
}

// The same result as the step-by-step search: (1) skip reserved values; (2) at or above the limit,
// restart at 1 and skip reserved values; (3) on a booked value step past it and go back to (1).
// Before any restart, that walk passes through consecutive booked or reserved values and stops at
// the first value in neither set, restarting instead if it meets the limit first: that is
// inUse.firstNotIn(from), unless it is at or above the limit. A restart always lands on
// w = reserved.firstNotIn(1), which is the result unless it is booked; then the walk resumes at
// w + 1. A second restart would land on w again and repeat forever, so that case throws.
std::int64_t CHandleGestorDefault::findFree(std::int64_t from) const {
  const std::int64_t straight = sets_->inUse.firstNotIn(from);
  if (straight < limit_) return straight;
  const std::int64_t wrapped = sets_->reserved.firstNotIn(1);
  if (!sets_->booked.contains(wrapped)) return wrapped;
  const std::int64_t resumed = sets_->inUse.firstNotIn(wrapped + 1);
  if (resumed < limit_) return resumed;
  // Only reserve() of a handle that was never booked can get here (bookNext checks first that a
  // value below the limit is free); the step-by-step search would cycle without end.
  throw HandleExaustedException();
}
