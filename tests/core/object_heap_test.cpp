// tests/core/object_heap_test.cpp: the small-object heap and PoolAllocator. Checks that blocks
// are 16-byte aligned and never overlap (each live block carries its own byte pattern, verified
// after all allocations), that freed blocks serve later requests, that sizes beyond the pools
// work, that standard containers run on PoolAllocator, and that four threads may share the heap.
#include <veltcore/core/object_heap.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <list>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using veltcore::detail::allocateObject;
using veltcore::detail::freeObject;
using veltcore::detail::kLargestPooled;
using veltcore::detail::PoolAllocator;

struct Block {
  unsigned char* p;
  std::size_t size;
  unsigned char pattern;
};

Block fill(std::size_t size, unsigned char pattern) {
  auto* p = static_cast<unsigned char*>(allocateObject(size));
  std::memset(p, pattern, size);
  return Block{p, size, pattern};
}

// True when the block is 16-byte aligned and every byte still holds its pattern.
bool intact(const Block& b) {
  if (reinterpret_cast<std::uintptr_t>(b.p) % 16 != 0) return false;
  for (std::size_t i = 0; i < b.size; ++i)
    if (b.p[i] != b.pattern) return false;
  return true;
}

// Live blocks of mixed sizes, some beyond the pools; frees every other one and allocates again
// in its place, so that freed blocks are handed out among live ones.
TEST(ObjectHeap, LiveBlocksAreAlignedAndNeverOverlap) {
  std::mt19937 rng(7);
  std::vector<Block> blocks;
  for (int i = 0; i < 20000; ++i) {
    const std::size_t size = i < 600 ? i + 1 : rng() % 600 + 1;
    blocks.push_back(fill(size, static_cast<unsigned char>(i * 31 + 1)));
  }
  for (std::size_t i = 0; i < blocks.size(); i += 2) {
    freeObject(blocks[i].p, blocks[i].size);
    blocks[i] = fill(blocks[i].size, static_cast<unsigned char>(blocks[i].pattern ^ 0x5a));
  }
  for (const Block& b : blocks) ASSERT_TRUE(intact(b)) << "size " << b.size;
  for (const Block& b : blocks) freeObject(b.p, b.size);
  for (std::size_t size : {std::size_t{0}, kLargestPooled + 1, std::size_t{4096},
                           std::size_t{1} << 20}) {  // beyond the pools, and nothing
    const Block b = fill(size, 0xc3);
    ASSERT_NE(b.p, nullptr) << size;
    EXPECT_TRUE(intact(b)) << size;
    freeObject(b.p, size);
  }
  freeObject(nullptr, 16);  // ignored
}

TEST(PoolAllocator, StandardContainersRunOnIt) {
  EXPECT_TRUE(PoolAllocator<int>() == PoolAllocator<double>());  // any instance frees any block
  EXPECT_FALSE(PoolAllocator<char>() != PoolAllocator<long>());
  using List = std::list<int, PoolAllocator<int>>;
  List a{1, 2, 3}, b{10, 20};
  a.splice(std::next(a.begin()), b);
  b.splice(b.end(), a, a.begin(), std::next(a.begin(), 2));
  EXPECT_EQ(a, (List{20, 2, 3}));
  EXPECT_EQ(b, (List{1, 10}));

  std::vector<std::int64_t, PoolAllocator<std::int64_t>> v;
  for (std::int64_t i = 0; i < 1000; ++i) v.push_back(i * i);  // 8000 bytes, several moves
  v.resize(10);
  v.shrink_to_fit();  // back to a pooled block
  for (std::int64_t i = 0; i < 10; ++i) EXPECT_EQ(v[static_cast<std::size_t>(i)], i * i);

  std::map<int, std::string, std::less<int>, PoolAllocator<std::pair<const int, std::string>>> map;
  for (int i = 0; i < 2000; ++i) map.emplace((i * 7919) % 2000, std::to_string(i));
  for (int i = 0; i < 2000; i += 2) map.erase((i * 7919) % 2000);
  EXPECT_EQ(map.size(), 1000u);
  for (int i = 1; i < 2000; i += 2) EXPECT_EQ(map.at((i * 7919) % 2000), std::to_string(i));
}

// Each thread keeps up to 256 live blocks, freeing and allocating at random; a block whose pattern
// changed while it was live was handed out twice.
TEST(ObjectHeap, FourThreadsShareTheHeapWithoutOverlap) {
  std::atomic<int> damaged{0};
  const auto work = [&damaged](unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<Block> live(256, Block{nullptr, 0, 0});
    for (int i = 0; i < 40000; ++i) {
      Block& b = live[rng() % live.size()];
      if (b.p != nullptr) {
        damaged += !intact(b);
        freeObject(b.p, b.size);
        b.p = nullptr;
      } else {
        b = fill(rng() % 600 + 1, static_cast<unsigned char>(seed * 64 + i));
      }
    }
    for (const Block& b : live)
      if (b.p != nullptr) {
        damaged += !intact(b);
        freeObject(b.p, b.size);
      }
  };
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < 4; ++t) threads.emplace_back(work, t + 1);
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(damaged.load(), 0);
}

}  // namespace
