// veltcore/core/object_heap.h: the heap for the small objects a drawing holds by the hundred
// thousand (entities, vertices, list nodes, texts), and PoolAllocator, the standard-library
// allocator over it. Hosts meet it only through std::mylist and the entities' operator new.
//
// Why it exists: loading a large drawing allocates its whole size in small objects, and the
// cost of that is dominated by the first touch of each fresh 4 KiB page, not by the objects.
// This heap takes memory in 2 MiB aligned chunks that the kernel may back with huge pages,
// hands it out by bumping a pointer, and keeps freed objects in one list per 16-byte size
// class for reuse. Memory it has taken is reused by later objects, never given back to the
// system, as with most allocators' arenas. Objects above kLargestPooled bytes go to the global
// operator new, and from 1 MiB on each gets its own huge-page mapping. Thread-safe.
//
// Builds with AddressSanitizer or LeakSanitizer pass every object to the global operator new,
// so that the sanitizers see each allocation, overrun and leak.
#pragma once

#include <cstddef>
#include <new>

namespace veltcore::detail {

constexpr std::size_t kLargestPooled = 512;

// Never null: throws std::bad_alloc when memory runs out.
void* allocateObject(std::size_t size);
// size is the size given to allocateObject for p; a null p is ignored.
void freeObject(void* p, std::size_t size) noexcept;

// Allocates the containers' nodes and small arrays from the object heap. Stateless: any two
// compare equal, so containers may exchange storage freely.
template <typename T>
class PoolAllocator {
 public:
  using value_type = T;

  PoolAllocator() noexcept = default;
  template <typename U>
  PoolAllocator(const PoolAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    static_assert(alignof(T) <= alignof(std::max_align_t), "the heap aligns to max_align_t");
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(allocateObject(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { freeObject(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const PoolAllocator<U>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const PoolAllocator<U>&) const noexcept {
    return false;
  }
};

}  // namespace veltcore::detail
