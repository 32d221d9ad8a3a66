// The engine allocator with live-block accounting.
//
// Every block handed out is remembered until it is freed, so a test can ask
// how many engine blocks and bytes are still live. Freeing a block the
// allocator did not hand out is fatal: it would corrupt a real engine heap.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "asa/engine_types.h"

namespace simfw {

class ASAAPI_API EngineMemory {
 public:
  // A block of at least one byte, aligned to at least 16 bytes.
  void* Malloc(uint64 count, uint32 alignment);
  // Grows or shrinks `original` (null allocates); keeps the contents.
  void* Realloc(void* original, uint64 count, uint32 alignment);
  // Frees a block from Malloc or Realloc; null is ignored.
  void Free(void* original);

  int64 LiveBlocks() const { return static_cast<int64>(blocks_.size()); }
  int64 LiveBytes() const { return live_bytes_; }
  // Total calls of Malloc and Realloc that allocated, for diagnostics.
  uint64 Allocations() const { return allocations_; }

  // Forgets the accounting without freeing anything (between worlds, after
  // the previous world's report was taken).
  void ResetAccounting();

 private:
  std::unordered_map<void*, uint64> blocks_;
  int64 live_bytes_ = 0;
  uint64 allocations_ = 0;
};

}  // namespace simfw
