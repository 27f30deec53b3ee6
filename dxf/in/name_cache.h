// dxf/in/name_cache.h (internal): NameCache, the items a version reader has already found for
// the names entity records give (layers, linetypes), so that each record costs a short hash of
// its name rather than a temporary String and a lookup in the drawing's table. Direct-mapped:
// a name whose slot another took is simply looked up again. Only found items are kept, and a
// reader's items outlive it, since no read removes a table item.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace veltcore::dxfin {

template <typename T>
class NameCache {
 public:
  // The item remembered for exactly this name (case included); null when none.
  T* find(const char* name) const {
    const std::size_t length = std::strlen(name);
    const Slot& slot = slots_[slotOf(name, length)];
    if (slot.item == nullptr || slot.name.size() != length) return nullptr;
    return std::memcmp(slot.name.data(), name, length) == 0 ? slot.item : nullptr;
  }

  // item is not null.
  void remember(const char* name, T* item) {
    const std::size_t length = std::strlen(name);
    Slot& slot = slots_[slotOf(name, length)];
    slot.name.assign(name, length);
    slot.item = item;
  }

 private:
  static constexpr std::size_t kSlots = 512;

  struct Slot {
    std::string name;
    T* item = nullptr;
  };

  // FNV-1a: names that differ in one character (LAYER_12, LAYER_13) land apart.
  static std::size_t slotOf(const char* name, std::size_t length) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < length; ++i)
      h = (h ^ static_cast<unsigned char>(name[i])) * 16777619u;
    return h % kSlots;
  }

  std::array<Slot, kSlots> slots_;
};

}  // namespace veltcore::dxfin
