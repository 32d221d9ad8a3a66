// The simulated framework rebuilds a function's chain as the released one
// does (API 2.03 Hooks.cpp over Detours): every removal detaches the whole
// chain and re-attaches the survivors oldest first, each with a fresh
// trampoline.
#include <gtest/gtest.h>

#include <string>

#include "asa/asa.h"
#include "sim/framework/game_functions.h"
#include "support/sim_world.h"

namespace {

std::string g_trace;
int GameSub(int a, int b) {
  g_trace += "game;";
  return a - b;
}
using Sub = simfw::Hookable<"ATest.Sub(int,int)", &GameSub>;
constexpr const char* kSub = "ATest.Sub(int,int)";

int (*old_original)(int, int) = nullptr;
int (*mid_original)(int, int) = nullptr;
int (*new_original)(int, int) = nullptr;
int Old(int a, int b) {
  g_trace += "old;";
  return old_original(a, b);
}
int Mid(int a, int b) {
  g_trace += "mid;";
  return mid_original(a, b);
}
int New(int a, int b) {
  g_trace += "new;";
  return new_original(a, b);
}

template <typename Fn>
void* Code(Fn* fn) {
  return reinterpret_cast<void*>(fn);
}

class HookRebuildTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    Sub::Register();
    g_trace.clear();
    old_original = mid_original = new_original = nullptr;
  }
  void InstallThree() {
    auto& hooks = AsaApi::GetHooks();
    ASSERT_TRUE(hooks.SetHook(kSub, Code(&Old), &old_original));
    ASSERT_TRUE(hooks.SetHook(kSub, Code(&Mid), &mid_original));
    ASSERT_TRUE(hooks.SetHook(kSub, Code(&New), &new_original));
  }
};

TEST_F(HookRebuildTest, ARemovalGivesEverySurvivorAFreshTrampolineAndKeepsTheirOrder) {
  InstallThree();
  const auto old_before = old_original;
  const auto new_before = new_original;
  ASSERT_TRUE(AsaApi::GetHooks().DisableHook(kSub, Code(&Mid)));
  EXPECT_EQ(mid_original, nullptr);
  EXPECT_NE(old_original, old_before) << "the oldest survivor is re-attached too";
  EXPECT_NE(new_original, new_before);
  EXPECT_NE(old_original, nullptr);
  EXPECT_EQ(Sub::Call(5, 2), 3);
  EXPECT_EQ(g_trace, "new;old;game;") << "the last installed still runs first";
  EXPECT_TRUE(fw().modules.Defects().empty());
}

TEST_F(HookRebuildTest, ACallThroughATrampolineARebuildFreedIsADefect) {
  InstallThree();
  const auto stale = old_original;  // a copy a careless plugin kept
  ASSERT_TRUE(AsaApi::GetHooks().DisableHook(kSub, Code(&New)));
  EXPECT_TRUE(fw().modules.Defects().empty());
  stale(1, 1);
  ASSERT_EQ(fw().modules.Defects().size(), 1u);
  EXPECT_EQ(fw().modules.Defects()[0],
            "a detour calls ATest.Sub(int,int) through a trampoline the framework freed when it rebuilt the chain");
}

TEST_F(HookRebuildTest, ARemovalFailsAndChangesNothingWhenAnOriginalNoLongerHoldsItsTrampoline) {
  InstallThree();
  const auto mid_before = mid_original;
  const auto new_before = new_original;
  old_original = &GameSub;  // a plugin wrote its own original
  EXPECT_FALSE(AsaApi::GetHooks().DisableHook(kSub, Code(&New)));
  EXPECT_EQ(new_original, new_before);
  EXPECT_EQ(mid_original, mid_before);
  EXPECT_EQ(fw().hooks.InstalledKeys().size(), 3u);
  Sub::Call(1, 1);
  EXPECT_EQ(g_trace, "new;mid;old;game;");
}

TEST_F(HookRebuildTest, ASurvivorWhoseReattachFailsIsDroppedAndTheRemovalStillSucceeds) {
  InstallThree();
  fw().faults.Arm({"IHooks.Reattach", std::string(kSub), simfw::FaultMode::kFail, 2, false});
  ASSERT_TRUE(AsaApi::GetHooks().DisableHook(kSub, Code(&Old)));
  EXPECT_NE(mid_original, nullptr) << "the first survivor re-attached";
  EXPECT_EQ(new_original, nullptr) << "the second did not: its original is null";
  EXPECT_EQ(fw().hooks.InstalledKeys().size(), 1u) << "and the framework forgot it";
  EXPECT_FALSE(AsaApi::GetHooks().DisableHook(kSub, Code(&New)));
  Sub::Call(1, 1);
  EXPECT_EQ(g_trace, "mid;game;");
}

TEST_F(HookRebuildTest, AFailedSetHookLeavesTheOriginalNull) {
  new_original = &GameSub;
  fw().faults.Arm({"IHooks.SetHook", std::string(kSub), simfw::FaultMode::kFail, 1, false});
  EXPECT_FALSE(AsaApi::GetHooks().SetHook(kSub, Code(&New), &new_original));
  EXPECT_EQ(new_original, nullptr);
}

TEST_F(HookRebuildTest, AHookBelongsToTheModuleThatHoldsItsDetour) {
  const int plugin = fw().modules.Begin();
  const int shop = fw().modules.BeginOther("shop");
  fw().modules.Claim(Code(&Mid), shop);
  InstallThree();  // all while the plugin's module is current
  EXPECT_EQ(fw().hooks.KeysOfModule(shop), std::vector<std::string>{kSub});
  fw().hooks.DisableAllFromModule(shop);
  EXPECT_EQ(fw().hooks.KeysOfModule(plugin).size(), 2u);
  Sub::Call(1, 1);
  EXPECT_EQ(g_trace, "new;old;game;");
}

TEST_F(HookRebuildTest, ACallIntoAnUnloadedModuleIsFlaggedAnywhereInTheChain) {
  const int gone = fw().modules.Begin();
  ASSERT_TRUE(AsaApi::GetHooks().SetHook(kSub, Code(&Old), &old_original));
  fw().modules.Begin();
  ASSERT_TRUE(AsaApi::GetHooks().SetHook(kSub, Code(&New), &new_original));
  old_original = &GameSub;  // so the framework's sweep cannot take it out
  fw().ForgetModule(gone);
  fw().modules.End(gone);  // freed with its hook still in the chain
  Sub::Call(1, 1);
  EXPECT_EQ(g_trace, "new;game;") << "the freed detour is not entered";
  ASSERT_EQ(fw().modules.Defects().size(), 1u);
  EXPECT_EQ(fw().modules.Defects()[0], "the chain of ATest.Sub(int,int) calls into a hook of an unloaded plugin");
}

}  // namespace
