// database/handle_runs.cpp: insertion, removal and free-value search on HandleRuns.
// Inserting merges with the runs on either side; erasing splits the run that held the value,
// so runs stay maximal and the run count never exceeds the number of gaps plus one.
#include "database/handle_runs.h"

#include <iterator>

namespace veltcore::detail {

HandleRuns::Runs::const_iterator HandleRuns::runHolding(std::int64_t v) const {
  auto after = runs_.upper_bound(v);
  if (after == runs_.begin()) return runs_.end();
  const auto run = std::prev(after);
  return v < run->second ? run : runs_.end();
}

HandleRuns::Runs::iterator HandleRuns::runHolding(std::int64_t v) {
  auto after = runs_.upper_bound(v);
  if (after == runs_.begin()) return runs_.end();
  const auto run = std::prev(after);
  return v < run->second ? run : runs_.end();
}

// One descent finds both neighbours: the run before v (which may already hold v) and the run after.
bool HandleRuns::insert(std::int64_t v) {
  const auto after = runs_.upper_bound(v);
  const auto before = after == runs_.begin() ? runs_.end() : std::prev(after);
  if (before != runs_.end() && v < before->second) return false;
  const bool joinsBefore = before != runs_.end() && before->second == v;
  const bool joinsAfter = after != runs_.end() && after->first == v + 1;
  if (joinsBefore) {
    before->second = joinsAfter ? after->second : v + 1;
    if (joinsAfter) runs_.erase(after);
  } else if (joinsAfter) {
    const std::int64_t end = after->second;
    runs_.emplace_hint(runs_.erase(after), v, end);
  } else {
    runs_.emplace_hint(after, v, v + 1);
  }
  ++size_;
  return true;
}

bool HandleRuns::erase(std::int64_t v) {
  const auto run = runHolding(v);
  if (run == runs_.end()) return false;
  const std::int64_t end = run->second;
  auto next = std::next(run);
  if (run->first == v) {
    next = runs_.erase(run);
  } else {
    run->second = v;
  }
  if (v + 1 < end) runs_.emplace_hint(next, v + 1, end);
  --size_;
  return true;
}

std::int64_t HandleRuns::firstNotIn(std::int64_t v) const {
  const auto run = runHolding(v);
  return run == runs_.end() ? v : run->second;
}

}  // namespace veltcore::detail
