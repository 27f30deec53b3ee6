// core/object_heap.cpp: the small-object heap behind the entities' operator new and delete.
// Chunks of kChunkBytes, aligned so that the kernel can map each with one huge page; a bump
// pointer over the current chunk; one free list per 16-byte size class.
#include <veltcore/core/object_heap.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace veltcore::detail {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif
#else
constexpr bool kUnderSanitizer = false;
#endif

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = kLargestPooled / kGranule;
constexpr std::size_t kChunkBytes = std::size_t{2} << 20;
constexpr std::size_t kMappedAlone = kChunkBytes / 2;

std::size_t classOf(std::size_t size) {
  return (size + kGranule - 1) / kGranule - 1;
}

std::size_t roundUpToChunks(std::size_t bytes) {
  return (bytes + kChunkBytes - 1) / kChunkBytes * kChunkBytes;
}

// bytes (a multiple of kChunkBytes) aligned to kChunkBytes. Where the system lets us, its pages
// are marked for huge pages; the system may ignore that, and the memory is ordinary either way.
void* mapAligned(std::size_t bytes) {
#if __has_include(<sys/mman.h>)
  // Map one chunk more than asked and keep the aligned part.
  const std::size_t span = bytes + kChunkBytes;
  void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kChunkBytes - 1) & ~(std::uintptr_t{kChunkBytes} - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + bytes;
  if (tail < start + span) ::munmap(reinterpret_cast<void*>(tail), start + span - tail);
  void* memory = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return memory;
#else
  void* memory = std::aligned_alloc(kChunkBytes, bytes);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
#endif
}

void unmapAligned(void* memory, std::size_t bytes) noexcept {
#if __has_include(<sys/mman.h>)
  ::munmap(memory, bytes);
#else
  (void)bytes;
  std::free(memory);
#endif
}

struct FreeBlock {
  FreeBlock* next;
};

// A chunk whose pages are already faulted in: with huge pages one fault clears the whole chunk.
void* preparedChunk() {
  constexpr std::size_t kPageBytes = 4096;
  void* chunk = mapAligned(kChunkBytes);
  auto* bytes = static_cast<volatile char*>(chunk);
  for (std::size_t at = 0; at < kChunkBytes; at += kPageBytes) bytes[at] = 0;
  return chunk;
}

// The heap's chunks. Once the heap has taken kEagerAfter of them (a drawing is being built or
// read), the next one is mapped and faulted in by a short-lived thread while the current one is
// used: the kernel's clearing of fresh pages, a large part of reading a big drawing, then runs
// beside the work instead of inside it. Small programs never start a thread.
class ChunkSupply {
 public:
  char* take() {
    void* chunk = next_.valid() ? next_.get() : mapAligned(kChunkBytes);
    if (++taken_ >= kEagerAfter) prepareNext();
    return static_cast<char*>(chunk);
  }

 private:
  static constexpr std::size_t kEagerAfter = 4;

  // Without a thread to be had, chunks are simply mapped when needed.
  void prepareNext() noexcept {
    try {
      next_ = std::async(std::launch::async, preparedChunk);
    } catch (const std::system_error&) {
    }
  }

  std::future<void*> next_;
  std::size_t taken_ = 0;
};

// Allocations are a few instructions long: waiting threads spin, yielding, rather than sleep.
class SpinLock {
 public:
  void lock() noexcept {
    while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  void unlock() noexcept { busy_.clear(std::memory_order_release); }

 private:
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};

class ObjectHeap {
 public:
  void* allocate(std::size_t size) {
    const std::size_t c = classOf(size);
    const std::lock_guard<SpinLock> hold(lock_);
    if (FreeBlock* block = free_[c]) {
      free_[c] = block->next;
      return block;
    }
    const std::size_t bytes = (c + 1) * kGranule;
    if (static_cast<std::size_t>(end_ - next_) < bytes) {
      next_ = chunks_.take();
      end_ = next_ + kChunkBytes;
    }
    void* p = next_;
    next_ += bytes;
    return p;
  }

  void release(void* p, std::size_t size) noexcept {
    const std::size_t c = classOf(size);
    const std::lock_guard<SpinLock> hold(lock_);
    free_[c] = new (p) FreeBlock{free_[c]};
  }

 private:
  SpinLock lock_;
  ChunkSupply chunks_;
  std::array<FreeBlock*, kClasses> free_{};
  char* next_ = nullptr;
  char* end_ = nullptr;
};

// Never destroyed: objects may be freed by static destructors of any library or host.
ObjectHeap& heap() {
  static ObjectHeap* const instance = new ObjectHeap;
  return *instance;
}

}  // namespace

// Sizes between kLargestPooled and kMappedAlone are the general heap's; from kMappedAlone on (the
// arrays of indexes over a whole drawing) a block has its own mapping, for huge pages as well.
void* allocateObject(std::size_t size) {
  if (kUnderSanitizer || size == 0 || (size > kLargestPooled && size < kMappedAlone))
    return ::operator new(size);
  if (size >= kMappedAlone) return mapAligned(roundUpToChunks(size));
  return heap().allocate(size);
}

void freeObject(void* p, std::size_t size) noexcept {
  if (p == nullptr) return;
  if (kUnderSanitizer || size == 0 || (size > kLargestPooled && size < kMappedAlone)) {
    ::operator delete(p);
    return;
  }
  if (size >= kMappedAlone) return unmapAligned(p, roundUpToChunks(size));
  heap().release(p, size);
}

}  // namespace veltcore::detail
