#include "sim/framework/engine_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace simfw {

void* EngineMemory::Malloc(uint64 count, uint32 /*alignment*/) {
  const uint64 size = count == 0 ? 1 : count;
  void* block = std::malloc(size);
  if (block == nullptr) {
    std::fprintf(stderr, "fatal: engine allocator out of memory (%llu bytes)\n",
                 static_cast<unsigned long long>(size));
    std::abort();
  }
  blocks_.emplace(block, count);
  live_bytes_ += static_cast<int64>(count);
  ++allocations_;
  return block;
}

void* EngineMemory::Realloc(void* original, uint64 count, uint32 alignment) {
  if (original == nullptr) return Malloc(count, alignment);
  auto it = blocks_.find(original);
  if (it == blocks_.end()) {
    std::fprintf(stderr, "fatal: engine Realloc of a block the engine allocator does not own\n");
    std::abort();
  }
  const uint64 old_count = it->second;
  void* block = Malloc(count, alignment);
  std::memcpy(block, original, old_count < count ? old_count : count);
  Free(original);
  return block;
}

void EngineMemory::Free(void* original) {
  if (original == nullptr) return;
  auto it = blocks_.find(original);
  if (it == blocks_.end()) {
    std::fprintf(stderr, "fatal: engine Free of a block the engine allocator does not own\n");
    std::abort();
  }
  live_bytes_ -= static_cast<int64>(it->second);
  blocks_.erase(it);
  std::free(original);
}

void EngineMemory::ResetAccounting() {
  blocks_.clear();
  live_bytes_ = 0;
  allocations_ = 0;
}

}  // namespace simfw
