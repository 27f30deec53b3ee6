// tests/core/rising_key_map_test.cpp: RisingKeyMap checked against std::map on hand-built and
// random operation sequences (the empty map, rising, descending and scattered keys, the int32
// extremes, overwrites, erased keys assigned again, holes squeezed out of the array, clear),
// comparing find and size.
#include "core/rising_key_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <vector>

namespace {

using veltcore::detail::RisingKeyMap;
using Key = std::int32_t;

constexpr Key kMin = std::numeric_limits<Key>::min();
constexpr Key kMax = std::numeric_limits<Key>::max();

// Runs one sequence on both maps; values are distinct addresses so overwrites are observable.
class Checked {
 public:
  void assign(Key k, int* v) {
    map_.assign(k, v);
    ref_[k] = v;
    touched_.push_back(k);
  }
  void erase(Key k) {
    map_.erase(k);
    ref_.erase(k);
    touched_.push_back(k);
  }
  void clear() {
    map_.clear();
    ref_.clear();
  }
  // Size and the value of key k agree.
  ::testing::AssertionResult same(Key k) const {
    const auto at = ref_.find(k);
    if (map_.size() == ref_.size() && map_.find(k) == (at == ref_.end() ? nullptr : at->second))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "size " << map_.size() << " or find(" << k << ")";
  }
  // Size and the value of every key ever touched, cleared ones included, agree.
  ::testing::AssertionResult same() const {
    for (Key k : touched_)
      if (auto result = same(k); !result) return result;
    return same(0);  // the size, when nothing was touched yet
  }
  const std::vector<Key>& touched() const { return touched_; }

 private:
  RisingKeyMap<int> map_;
  std::map<Key, int*> ref_;
  std::vector<Key> touched_;  // with repeats; cheaper than a set
};

// The values stored: 64 distinct addresses.
int values[64];

TEST(RisingKeyMap, StructuredSequencesMatchStdMap) {
  enum Op { kAssign, kErase, kClear };
  struct Step {
    Op op;
    Key from, to, stride;  // keys from, from + stride, ... up to and including to
  };
  const std::vector<std::vector<Step>> sequences = {
      // The empty map: extremes find nothing, erase and clear do nothing.
      {{kErase, kMax, kMax, 1}, {kErase, kMin, kMin, 1}, {kClear, 0, 0, 1}, {kErase, -1, 1, 1}},
      // Overwrites of an array key (10) and of a key below the last (5), kept aside.
      {{kAssign, 10, 10, 1}, {kAssign, 5, 5, 1}, {kAssign, 10, 5, -5}},
      {{kAssign, 0, 99, 1}, {kErase, 0, 99, 2}, {kAssign, 0, 99, 4}, {kErase, 99, 0, -1}},
      {{kAssign, 99, 0, -1}, {kErase, 50, 99, 1}, {kAssign, 99, 0, -3}},
      // Erasing 61 of 100 array keys squeezes holes out; the erased keys then come back below
      // the last key, and new keys keep rising above it.
      {{kAssign, 0, 99, 1}, {kErase, 0, 60, 1}, {kAssign, 60, 0, -1}, {kAssign, 100, 120, 1}},
      {{kAssign, kMax - 5, kMax, 1}, {kAssign, kMin, kMin + 5, 1}, {kErase, kMax, kMax - 5, -1}},
      {{kAssign, -50, 50, 5}, {kClear, 0, 0, 1}, {kAssign, -3, 3, 1}, {kErase, -10, 10, 1}},
      {{kAssign, kMax, kMax, 1}, {kAssign, kMin, kMin, 1}, {kAssign, 0, 20, 1}, {kErase, 0, 20, 3}},
      // Clearing in rising order, as a table is cleared, through squeezes; erased keys come
      // back and go again, and the rising erase resumes past them.
      {{kAssign, 0, 199, 1},
       {kErase, 0, 120, 1},
       {kAssign, 110, 100, -2},
       {kErase, 100, 150, 1},
       {kErase, 100, 110, 2},
       {kAssign, 200, 210, 1},
       {kErase, 151, 210, 1}},
  };
  for (std::size_t s = 0; s < sequences.size(); ++s) {
    Checked map;
    int next = 0;
    for (const Step& step : sequences[s]) {
      if (step.op == kClear) map.clear();
      ASSERT_TRUE(map.same()) << "sequence " << s;
      for (std::int64_t k = step.from;
           step.op != kClear && (step.stride > 0 ? k <= step.to : k >= step.to); k += step.stride) {
        if (step.op == kAssign)
          map.assign(static_cast<Key>(k), &values[next++ % 64]);
        else
          map.erase(static_cast<Key>(k));
        ASSERT_TRUE(map.same()) << "sequence " << s << " key " << k;
      }
    }
  }
}

TEST(RisingKeyMap, RandomSequencesMatchStdMap) {
  std::mt19937 rng(424242);
  const auto pick = [&rng](unsigned n) { return static_cast<Key>(rng() % n); };
  const Key extremes[] = {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax};
  for (int sequence = 0; sequence < 2500; ++sequence) {
    Checked map;
    Key rising = pick(1000) - 500, falling = rising;
    for (int step = 0; step < 150; ++step) {
      const Key kind = pick(8);
      Key k;
      if (kind < 3)  // rising, the usual case
        k = rising = rising < kMax - 4 ? rising + 1 + pick(3) : rising;
      else if (kind == 3)
        k = falling = falling > kMin + 4 ? falling - 1 - pick(3) : falling;
      else if (kind == 4)
        k = pick(64) - 32;
      else if (kind == 5)
        k = extremes[pick(7)];
      else if (kind == 6)
        k = static_cast<Key>(rng());
      else  // a key used before, often erased since
        k = map.touched().empty()
                ? 0
                : map.touched()[pick(static_cast<unsigned>(map.touched().size()))];
      const Key op = pick(100);
      if (op < 65)
        map.assign(k, &values[pick(64)]);
      else if (op < 99)
        map.erase(k);
      else
        map.clear();
      ASSERT_TRUE(step % 75 == 74 ? map.same() : map.same(k))  // full check at mid and end
          << "sequence " << sequence << " step " << step;
    }
  }
}

}  // namespace
