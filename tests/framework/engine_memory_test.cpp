#include <gtest/gtest.h>

#include <cstring>

#include "sim/framework/engine_text.h"
#include "asa/asa.h"
#include "support/sim_world.h"

namespace {

using EngineMemoryTest = cktest::SimWorldTest;

TEST_F(EngineMemoryTest, CountsLiveBlocksAndBytes) {
  const int64 blocks = fw().memory.LiveBlocks();
  void* a = FMemory::Malloc(100, 8);
  void* b = FMemory::Malloc(28, 8);
  EXPECT_EQ(fw().memory.LiveBlocks(), blocks + 2);
  b = FMemory::Realloc(b, 50, 8);
  EXPECT_EQ(fw().memory.LiveBlocks(), blocks + 2);
  FMemory::Free(a);
  FMemory::Free(b);
  FMemory::Free(nullptr);
  EXPECT_EQ(fw().memory.LiveBlocks(), blocks);
}

TEST_F(EngineMemoryTest, ReallocKeepsTheContents) {
  auto* p = static_cast<char*>(FMemory::Malloc(4, 8));
  std::memcpy(p, "abc", 4);
  p = static_cast<char*>(FMemory::Realloc(p, 1000, 8));
  EXPECT_STREQ(p, "abc");
  FMemory::Free(p);
}

TEST_F(EngineMemoryTest, EngineStringsFreeWhatTheyAllocate) {
  const int64 before = fw().memory.LiveBlocks();
  {
    FString a = simfw::FromUtf8("hello");
    FString b = a;
    FString c = std::move(a);
    EXPECT_EQ(fw().memory.LiveBlocks(), before + 2);
    EXPECT_EQ(b.Len(), 5);
    EXPECT_EQ(a.Len(), 0);
  }
  EXPECT_EQ(fw().memory.LiveBlocks(), before);
}

using EngineMemoryDeathTest = cktest::SimWorldTest;

TEST_F(EngineMemoryDeathTest, FreeingForeignStorageIsFatal) {
  int local = 0;
  EXPECT_DEATH(FMemory::Free(&local), "does not own");
}

}  // namespace
