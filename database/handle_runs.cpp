// database/handle_runs.cpp: insertion, removal and free-value search on HandleRuns.
// Inserting merges with the runs on either side; erasing splits the run that held the value,
// so runs stay maximal and the run count never exceeds the number of gaps plus one.
#include "database/handle_runs.h"

#include <iterator>
#include <utility>

namespace veltcore::detail {

namespace {

// The first run starting after v. Values near the end skip the descent: while a drawing is read,
// handles rise, and a polyline's vertices, reserved last to first, fill the gap before the last
// run or extend it downwards.
template <typename Map>
auto firstRunAfter(Map& runs, std::int64_t v) {
  if (runs.empty()) return runs.end();
  const auto last = std::prev(runs.end());
  if (last->first.value <= v) return runs.end();
  if (last == runs.begin() || std::prev(last)->first.value <= v) return last;
  return runs.upper_bound(v);
}

template <typename Map>
auto runHoldingIn(Map& runs, std::int64_t v) {
  const auto after = firstRunAfter(runs, v);
  if (after == runs.begin()) return runs.end();
  const auto run = std::prev(after);
  return v < run->second ? run : runs.end();
}

}  // namespace

HandleRuns::Runs::const_iterator HandleRuns::runHolding(std::int64_t v) const {
  return runHoldingIn(runs_, v);
}

HandleRuns::Runs::iterator HandleRuns::runHolding(std::int64_t v) {
  return runHoldingIn(runs_, v);
}

HandleRuns::Runs::iterator HandleRuns::runHoldingNearRecent(std::int64_t v) {
  if (recent_ != runs_.end() && recent_->first.value <= v) {
    if (v < recent_->second) return recent_;
    const auto next = std::next(recent_);
    if (next == runs_.end() || v < next->first.value) return runs_.end();
    if (v < next->second) return recent_ = next;
  }
  const auto run = runHolding(v);
  if (run != runs_.end()) recent_ = run;
  return run;
}

// One descent finds both neighbours: the run before v (which may already hold v) and the run after.
bool HandleRuns::insert(std::int64_t v) {
  const auto after = firstRunAfter(runs_, v);
  const auto before = after == runs_.begin() ? runs_.end() : std::prev(after);
  if (before != runs_.end() && v < before->second) return false;
  const bool joinsBefore = before != runs_.end() && before->second == v;
  const bool joinsAfter = after != runs_.end() && after->first.value == v + 1;
  if (joinsBefore) {
    before->second = joinsAfter ? after->second : v + 1;
    if (joinsAfter) {
      runs_.erase(after);
      recent_ = runs_.end();
    }
  } else if (joinsAfter) {
    after->first.value = v;  // still above the run before: the order stands
  } else {
    runs_.emplace_hint(after, RunStart{v}, v + 1);
  }
  ++size_;
  return true;
}

bool HandleRuns::erase(std::int64_t v) {
  const auto run = runHoldingNearRecent(v);
  if (run == runs_.end()) return false;
  const std::int64_t end = run->second;
  if (run->first.value == v && v + 1 == end) {
    recent_ = runs_.erase(run);
  } else if (run->first.value == v) {
    run->first.value = v + 1;  // still below the run after: the order stands
  } else {
    run->second = v;
    if (v + 1 < end) runs_.emplace_hint(std::next(run), RunStart{v + 1}, end);
  }
  --size_;
  return true;
}

std::int64_t HandleRuns::firstNotIn(std::int64_t v) const {
  const auto run = runHolding(v);
  return run == runs_.end() ? v : run->second;
}

}  // namespace veltcore::detail
