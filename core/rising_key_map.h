// core/rising_key_map.h: RisingKeyMap, a map from 32-bit keys to non-null pointers, shaped for
// keys that mostly arrive in rising order, as handles do while a drawing is built or read.
// Internal: not installed, touches nothing else.
//
// A key above every key of the sorted array is appended to it: no allocation per key and
// neighbours side by side in memory, where a hash map would pay a node and a cache miss for each.
// Any other new key goes to a hash map beside the array. Erasing leaves a hole in the array,
// filled again if the key comes back and squeezed out once holes outnumber the live keys, so
// the array never holds more than twice what is in the map. A key is in one place at most.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <veltcore/core/object_heap.h>

namespace veltcore::detail {

template <typename T>
class RisingKeyMap {
 public:
  // The value of key; null when absent.
  T* find(std::int32_t key) const {
    if (const Slot* slot = slotOf(key)) return slot->value;
    if (stray_.empty()) return nullptr;
    const auto found = stray_.find(key);
    return found == stray_.end() ? nullptr : found->second;
  }

  // Sets the value of key, which need not be present; value is not null. Either the key is set
  // or, when memory runs out, nothing changes.
  void assign(std::int32_t key, T* value) {
    if (Slot* slot = slotOf(key)) {
      if (slot->value == nullptr) --holes_;
      slot->value = value;
      return;
    }
    if (!stray_.empty()) {
      const auto found = stray_.find(key);
      if (found != stray_.end()) {
        found->second = value;
        return;
      }
    }
    if (sorted_.empty() || key > sorted_.back().key)
      sorted_.push_back(Slot{key, value});
    else
      stray_.emplace(key, value);
  }

  // Removes key; nothing happens when it is absent. Never allocates.
  void erase(std::int32_t key) {
    if (Slot* slot = slotAfterErased(key) ? &sorted_[nextToErase_] : slotOf(key)) {
      nextToErase_ = static_cast<std::size_t>(slot - sorted_.data()) + 1;
      if (slot->value == nullptr) return;
      slot->value = nullptr;
      ++holes_;
      if (holes_ > sorted_.size() / 2) squeeze();
      return;
    }
    stray_.erase(key);
  }

  void clear() {
    sorted_.clear();
    stray_.clear();
    holes_ = 0;
    nextToErase_ = 0;
  }

  std::size_t size() const { return sorted_.size() - holes_ + stray_.size(); }

 private:
  // A null value is a hole: the key was erased from the array.
  struct Slot {
    std::int32_t key;
    T* value;
  };

  std::vector<Slot, PoolAllocator<Slot>> sorted_;  // keys strictly rising
  std::unordered_map<std::int32_t, T*> stray_;
  std::size_t holes_ = 0;
  // The slot after the one last erased. A drawing is cleared in list order, which is the order
  // of its handles, so the next key to go is usually there and the search is skipped.
  std::size_t nextToErase_ = 0;

  bool slotAfterErased(std::int32_t key) const {
    return nextToErase_ < sorted_.size() && sorted_[nextToErase_].key == key;
  }

  // Keys past the last slot, the usual case, are answered without a search.
  const Slot* slotOf(std::int32_t key) const {
    if (sorted_.empty() || key > sorted_.back().key) return nullptr;
    const auto at = std::lower_bound(sorted_.begin(), sorted_.end(), key,
                                     [](const Slot& s, std::int32_t k) { return s.key < k; });
    return at != sorted_.end() && at->key == key ? &*at : nullptr;
  }
  Slot* slotOf(std::int32_t key) {
    return const_cast<Slot*>(static_cast<const RisingKeyMap&>(*this).slotOf(key));
  }

  // Keeps the live slots in order; a key stays out of the stray map since it was in the array.
  void squeeze() {
    sorted_.erase(std::remove_if(sorted_.begin(), sorted_.end(),
                                 [](const Slot& s) { return s.value == nullptr; }),
                  sorted_.end());
    holes_ = 0;
    nextToErase_ = 0;
  }
};

}  // namespace veltcore::detail
