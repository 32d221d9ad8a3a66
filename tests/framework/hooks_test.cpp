#include <gtest/gtest.h>

#include "sim/framework/game_functions.h"
#include "asa/asa.h"
#include "support/sim_world.h"

namespace {

// A hookable game function that records the order in which it and its
// detours ran.
std::string g_trace;
int GameAdd(int a, int b) {
  g_trace += "game;";
  return a + b;
}
using Add = simfw::Hookable<"ATest.Add(int,int)", &GameAdd>;

int (*first_original)(int, int) = nullptr;
int (*second_original)(int, int) = nullptr;
int (*third_original)(int, int) = nullptr;
int First(int a, int b) {
  g_trace += "first;";
  return first_original(a, b) + 100;
}
int Second(int a, int b) {
  g_trace += "second;";
  return second_original(a, b) + 1000;
}
int Third(int a, int b) {
  g_trace += "third;";
  return third_original(a, b);
}

class HookChainTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    Add::Register();
    g_trace.clear();
  }
};

TEST_F(HookChainTest, LastInstalledRunsFirstAndEachReachesThePrevious) {
  auto& hooks = AsaApi::GetHooks();
  ASSERT_TRUE(hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original));
  ASSERT_TRUE(hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second), &second_original));
  EXPECT_EQ(Add::Call(1, 2), 1103);
  EXPECT_EQ(g_trace, "second;first;game;");
}

TEST_F(HookChainTest, CallingTheFunctionByAddressRunsTheHooks) {
  ASSERT_TRUE(AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original));
  auto fn = reinterpret_cast<int (*)(int, int)>(::GetAddress("ATest.Add(int,int)"));
  EXPECT_EQ(fn(2, 3), 105);
}

TEST_F(HookChainTest, DisablingAMiddleHookKeepsTheOthersAndNullsItsOriginal) {
  auto& hooks = AsaApi::GetHooks();
  hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original);
  hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second), &second_original);
  hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Third), &third_original);
  ASSERT_TRUE(hooks.DisableHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second)));
  EXPECT_EQ(second_original, nullptr);
  EXPECT_EQ(Add::Call(1, 1), 102);
  EXPECT_EQ(g_trace, "third;first;game;");
  EXPECT_EQ(fw().hooks.InstalledKeys().size(), 2u);
}

TEST_F(HookChainTest, DisablingTheNewestAndTheOldestRestoresTheGameFunction) {
  auto& hooks = AsaApi::GetHooks();
  hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original);
  hooks.SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second), &second_original);
  EXPECT_TRUE(hooks.DisableHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second)));
  EXPECT_TRUE(hooks.DisableHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First)));
  EXPECT_FALSE(hooks.DisableHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First)));
  EXPECT_EQ(Add::Call(4, 5), 9);
  EXPECT_EQ(g_trace, "game;");
  EXPECT_TRUE(fw().hooks.InstalledKeys().empty());
}

TEST_F(HookChainTest, FaultsOnSetHookAreNarrowedToTheirTarget) {
  fw().faults.Arm({"IHooks.SetHook", std::string("ATest.Other()"), simfw::FaultMode::kFail, 1, false});
  EXPECT_TRUE(AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original));
  fw().faults.Arm({"IHooks.SetHook", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&Second), &second_original), std::runtime_error);
  EXPECT_EQ(Add::Call(0, 0), 100) << "the refused hook is not in the chain";
}

TEST_F(HookChainTest, AFaultOnAHookedGameFunctionHitsItUnderTheHooks) {
  AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&First), &first_original);
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kFail, 2, false});
  EXPECT_EQ(Add::Call(1, 1), 102);
  EXPECT_EQ(Add::Call(1, 1), 100) << "second call: the game function returns its failure value";
  EXPECT_EQ(Add::Call(1, 1), 102) << "a fault without repeat hits once";
  EXPECT_EQ(g_trace, "first;game;first;first;game;");
}

// Two faults on one key count the same calls: each hits its own Nth call
// from the moment it was armed, whichever was armed first and whether or not
// the other one hit an earlier call.
TEST_F(HookChainTest, EveryArmedFaultCountsEveryMatchingCall) {
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kFail, 1, false});
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrow, 2, false});
  EXPECT_EQ(Add::Call(1, 1), 0) << "first call: the first fault";
  EXPECT_THROW(Add::Call(1, 1), std::runtime_error) << "second call: the second fault";
  EXPECT_EQ(Add::Call(1, 1), 2);
  EXPECT_EQ(fw().faults.Hits(), (std::vector<uint64>{1, 1}));

  fw().faults.Clear();
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrow, 3, false});
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kFail, 2, false});
  EXPECT_EQ(Add::Call(1, 1), 2);
  EXPECT_EQ(Add::Call(1, 1), 0) << "second call: the fault armed second";
  EXPECT_THROW(Add::Call(1, 1), std::runtime_error) << "third call: the fault armed first, on time";
  EXPECT_EQ(fw().faults.Injected(), 2u);

  fw().faults.Clear();
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kFail, 1, false});
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_EQ(Add::Call(1, 1), 0) << "both due at once: the one armed first decides";
  EXPECT_EQ(Add::Call(1, 1), 2) << "and both are spent";
  EXPECT_EQ(fw().faults.Injected(), 1u);
}

TEST_F(HookChainTest, ThrowUnknownThrowsSomethingThatIsNoStandardException) {
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrowUnknown, 1, true});
  EXPECT_THROW(Add::Call(1, 1), simfw::InjectedUnknownFault);
  EXPECT_THROW(Add::Call(1, 1), simfw::InjectedUnknownFault) << "repeat keeps failing";
  try {
    Add::Call(1, 1);
  } catch (const std::exception&) {
    FAIL() << "an unknown fault must not be a std::exception";
  } catch (...) {
  }
}

TEST_F(HookChainTest, InjectedExceptionsNameTheKey) {
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  try {
    Add::Call(1, 1);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "injected fault: ATest.Add(int,int)");
  }
}

// A detour that lets the game's own exception pass, and one whose own work
// throws after the game function ran.
int PassThrough(int a, int b) { return first_original(a, b); }
int ThrowsItsOwn(int a, int b) {
  first_original(a, b);
  throw std::runtime_error("injected fault: ATest.Add(int,int)");  // the game's text, but not the game's exception
}
int CatchesAndThrowsItsOwn(int a, int b) {
  try {
    return first_original(a, b);
  } catch (...) {
    throw std::logic_error("wrapped");
  }
}

TEST_F(HookChainTest, TheGamesOwnExceptionPassingThroughADetourIsTheGames) {
  ASSERT_TRUE(AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&PassThrough), &first_original));
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(Add::Call(1, 1), std::runtime_error);
  ASSERT_EQ(fw().faults.Escapes().size(), 1u);
  EXPECT_EQ(fw().faults.Escapes()[0].entry, "ATest.Add(int,int)");
  EXPECT_EQ(fw().faults.Escapes()[0].what, "injected fault: ATest.Add(int,int)");
  EXPECT_TRUE(fw().faults.Escapes()[0].games_own);
}

TEST_F(HookChainTest, AnExceptionOfTheDetoursOwnIsThePluginsWhateverItsText) {
  ASSERT_TRUE(AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&ThrowsItsOwn), &first_original));
  EXPECT_THROW(Add::Call(1, 1), std::runtime_error);
  ASSERT_EQ(fw().faults.Escapes().size(), 1u);
  EXPECT_EQ(fw().faults.Escapes()[0].what, "injected fault: ATest.Add(int,int)");
  EXPECT_FALSE(fw().faults.Escapes()[0].games_own);
}

TEST_F(HookChainTest, ReplacingTheGamesExceptionMakesItThePlugins) {
  ASSERT_TRUE(
      AsaApi::GetHooks().SetHook("ATest.Add(int,int)", reinterpret_cast<void*>(&CatchesAndThrowsItsOwn), &first_original));
  fw().faults.Arm({"ATest.Add(int,int)", std::nullopt, simfw::FaultMode::kThrowUnknown, 1, false});
  EXPECT_THROW(Add::Call(1, 1), std::logic_error);
  ASSERT_EQ(fw().faults.Escapes().size(), 1u);
  EXPECT_EQ(fw().faults.Escapes()[0].what, "wrapped");
  EXPECT_FALSE(fw().faults.Escapes()[0].games_own);
  // The next call starts afresh: nothing raised, nothing noted.
  EXPECT_EQ(Add::Call(1, 1), 2);
  EXPECT_EQ(fw().faults.Escapes().size(), 1u);
}

using KeyRegistryDeathTest = cktest::SimWorldTest;

TEST_F(KeyRegistryDeathTest, AnUnknownKeyIsFatalAndNamesTheKey) {
  EXPECT_DEATH(::GetAddress("AThing.NoSuchFunction()"), "AThing.NoSuchFunction\\(\\)");
  int object = 0;
  EXPECT_DEATH(::GetAddress(&object, "AThing.NoSuchField"), "AThing.NoSuchField");
  EXPECT_DEATH(::GetBitField(&object, "AThing.bNoSuchBit"), "AThing.bNoSuchBit");
}

}  // namespace
