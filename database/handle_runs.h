// database/handle_runs.h: HandleRuns, an ordered set of integers kept as maximal runs of
// consecutive values, used by the handle manager. Internal: not installed, touches nothing else.
// Every operation is logarithmic in the number of runs, never linear in the values they span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include <veltcore/core/object_heap.h>

namespace veltcore::detail {

class HandleRuns {
 public:
  HandleRuns() = default;
  // A copy or a moved-to set starts without a recent run: the iterator belongs to its source.
  HandleRuns(const HandleRuns& other) : runs_(other.runs_), size_(other.size_) {}
  HandleRuns(HandleRuns&& other) noexcept : runs_(std::move(other.runs_)), size_(other.size_) {
    other.recent_ = other.runs_.end();
  }
  HandleRuns& operator=(const HandleRuns& other) {
    runs_ = other.runs_;
    size_ = other.size_;
    recent_ = runs_.end();
    return *this;
  }
  HandleRuns& operator=(HandleRuns&& other) noexcept {
    runs_ = std::move(other.runs_);
    size_ = other.size_;
    recent_ = runs_.end();
    other.recent_ = other.runs_.end();
    return *this;
  }

  bool contains(std::int64_t v) const { return runHolding(v) != runs_.end(); }
  // Adds v; false when it was already present.
  bool insert(std::int64_t v);
  // Removes v; false when it was absent.
  bool erase(std::int64_t v);
  // The smallest value >= v that is not in the set.
  std::int64_t firstNotIn(std::int64_t v) const;
  // Number of values (not runs) in the set.
  std::size_t size() const { return size_; }
  std::size_t runCount() const { return runs_.size(); }

 private:
  // The first value of a run, the key of its node. A run that grows or shrinks by its first
  // value moves its start without passing another run (runs never touch), so the order of the
  // keys stays as it was: the start is changed in place instead of rekeying the node.
  struct RunStart {
    mutable std::int64_t value;
  };
  struct StartOrder {
    using is_transparent = void;
    bool operator()(const RunStart& a, const RunStart& b) const { return a.value < b.value; }
    bool operator()(const RunStart& a, std::int64_t b) const { return a.value < b; }
    bool operator()(std::int64_t a, const RunStart& b) const { return a < b.value; }
  };
  // First value of each run -> one past its last value. Runs never touch: a gap of at least
  // one value separates any two of them.
  // Pooled nodes: a drawing read with gaps in its handles has a run per gap.
  using Runs = std::map<RunStart, std::int64_t, StartOrder,
                        PoolAllocator<std::pair<const RunStart, std::int64_t>>>;

  Runs runs_;
  std::size_t size_ = 0;
  // The run erase() found last, or end: a drawing is cleared in list order, so the next handle
  // to go is almost always in this run or the next, and the descent is skipped. Reset whenever
  // a node is erased.
  Runs::iterator recent_ = runs_.end();

  Runs::const_iterator runHolding(std::int64_t v) const;
  Runs::iterator runHolding(std::int64_t v);
  // runHolding, trying the recent run and the one after it first.
  Runs::iterator runHoldingNearRecent(std::int64_t v);
};

}  // namespace veltcore::detail
