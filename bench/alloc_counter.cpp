// Replaces the global allocation functions of the benchmark binary with
// counting ones, so a benchmark can prove a path allocates nothing, or show
// the most memory a piece of work holds at once.
//
// Each block carries its size in a header in front of it, so that the
// unsized operator delete knows how many bytes go; the header is as large as
// the strictest fundamental alignment, so the block behind it keeps that
// alignment. The over-aligned forms of new and delete are left to the
// library: they neither count nor share blocks with these.
#include "alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> g_allocations{0};
std::atomic<std::uint64_t> g_live{0};
std::atomic<std::uint64_t> g_peak{0};

constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) noexcept {
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) return nullptr;
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  *static_cast<std::size_t*>(block) = size;
  const std::uint64_t live = g_live.fetch_add(size, std::memory_order_relaxed) + size;
  std::uint64_t peak = g_peak.load(std::memory_order_relaxed);
  while (live > peak && !g_peak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return static_cast<char*>(block) + kHeader;
}

void Release(void* p) noexcept {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - kHeader;
  g_live.fetch_sub(*static_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

namespace ckbench {
std::uint64_t HeapAllocations() { return g_allocations.load(std::memory_order_relaxed); }
std::uint64_t HeapBytesLive() { return g_live.load(std::memory_order_relaxed); }
std::uint64_t HeapBytesPeak() { return g_peak.load(std::memory_order_relaxed); }
void ResetHeapPeak() { g_peak.store(g_live.load(std::memory_order_relaxed), std::memory_order_relaxed); }
}  // namespace ckbench

void* operator new(std::size_t size) {
  if (void* p = Allocate(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size == 0 ? 1 : size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
