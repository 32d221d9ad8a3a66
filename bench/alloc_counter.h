// Counts heap allocations made through operator new in this binary, and the
// bytes they hold.
#pragma once

#include <cstdint>

namespace ckbench {

std::uint64_t HeapAllocations();

// The bytes asked for by the blocks live now.
std::uint64_t HeapBytesLive();
// The most bytes live at once since the last ResetHeapPeak (or the start).
std::uint64_t HeapBytesPeak();
// Starts a new peak from the bytes live now: HeapBytesPeak() - HeapBytesLive()
// taken before a piece of work is then the most that work held at once.
void ResetHeapPeak();

}  // namespace ckbench
