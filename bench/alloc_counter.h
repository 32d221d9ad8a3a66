// Counts heap allocations made through operator new in this binary.
#pragma once

#include <cstdint>

namespace ckbench {

std::uint64_t HeapAllocations();

}  // namespace ckbench
