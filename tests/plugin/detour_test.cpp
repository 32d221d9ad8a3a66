// The one shape of every detour: a hook's cheap test decides whether its
// work runs at all, and the game's function runs exactly once either way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/detour.h"
#include "host/game/catalogue.h"
#include "state/plugin_state.h"
#include "support/plugin_fixture.h"
#include "temporary_pods/pod_hooks.h"

namespace {

std::vector<std::string> g_trace;

struct ProbeHook : ck::core::Detour<ProbeHook, ck::game::kShowTransferCharacterConfirmationDialog> {
  static inline bool wants = true;
  static constexpr const char* kBeforeFailure = "probe before failed";
  static constexpr const char* kAfterFailure = "probe after failed";
  static bool Wants(AShooterPlayerController*) {
    g_trace.push_back("wants");
    return wants;
  }
  static void Before(AShooterPlayerController*) { g_trace.push_back("before"); }
  static void After(AShooterPlayerController*) { g_trace.push_back("after"); }
};

void GameFunction(AShooterPlayerController*) { g_trace.push_back("game"); }

// A hook on a function that answers: its answer passes back unchanged.
struct AnsweringProbeHook : ck::core::Detour<AnsweringProbeHook, ck::game::kViewingAnUploadTerminal> {
  static constexpr const char* kBeforeFailure = "answering probe before failed";
  static constexpr const char* kAfterFailure = "answering probe after failed";
  static void Before(AShooterPlayerController*) { g_trace.push_back("before"); }
  static void After(AShooterPlayerController*) { g_trace.push_back("after"); }
};

bool AnsweringGameFunction(AShooterPlayerController*) {
  g_trace.push_back("game");
  return true;
}

class DetourTest : public cktest::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    g_trace.clear();
    ProbeHook::original = &GameFunction;
  }
  void TearDown() override {
    ProbeHook::original = nullptr;
    ProbeHook::wants = true;
    PluginTest::TearDown();
  }
};

TEST_F(DetourTest, AHookThatWantsTheCallWorksAroundTheGamesFunction) {
  ProbeHook::Call(nullptr);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"wants", "before", "game", "after"}));
}

TEST_F(DetourTest, AHookOnAFunctionThatAnswersWorksAroundItAndPassesTheAnswerBack) {
  AnsweringProbeHook::original = &AnsweringGameFunction;
  EXPECT_TRUE(AnsweringProbeHook::Call(nullptr));
  AnsweringProbeHook::original = nullptr;
  EXPECT_EQ(g_trace, (std::vector<std::string>{"before", "game", "after"}));
}

TEST_F(DetourTest, AHookThatDoesNotWantTheCallLeavesItToTheGameAlone) {
  ProbeHook::wants = false;
  ProbeHook::Call(nullptr);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"wants", "game"}));
}

// A hook whose work needs the plugin's state wants no call once the state
// is gone (a hook the framework failed to remove at unload still runs).
TEST_F(DetourTest, HooksThatNeedTheStateWantNoCallWithoutIt) {
  EXPECT_TRUE(ck::state::NeedsState::Wants(1, nullptr));
  ck::state::End();
  EXPECT_FALSE(ck::state::NeedsState::Wants(1, nullptr));
  int broadcast = 0;
  EXPECT_FALSE(ck::temporary_pods::MulticastDelegateHook::Wants(&broadcast, nullptr));
  ck::state::Begin();
}

// The delegate hook's test, on every broadcast of the game: until the uncryo
// fields are settled every broadcast is a candidate; then only the two
// uncryo ones are, and none while the settings turn the temporary pods off.
TEST_F(DetourTest, TheDelegateHookWantsOnlyTheUncryoBroadcastsOnceSettled) {
  using ck::temporary_pods::MulticastDelegateHook;
  int try_field = 0, post_field = 0, other = 0;
  auto& fields = ck::temporary_pods::DelegateFields();
  EXPECT_TRUE(MulticastDelegateHook::Wants(&other, nullptr)) << "not settled yet";
  fields.try_field = &try_field;
  fields.post_field = &post_field;
  fields.settled = true;
  EXPECT_TRUE(MulticastDelegateHook::Wants(&try_field, nullptr));
  EXPECT_TRUE(MulticastDelegateHook::Wants(&post_field, nullptr));
  EXPECT_FALSE(MulticastDelegateHook::Wants(&other, nullptr));
  EXPECT_FALSE(MulticastDelegateHook::Wants(nullptr, nullptr));
  ck::config::Current().TemporaryVanillaCryopods = false;
  EXPECT_FALSE(MulticastDelegateHook::Wants(&try_field, nullptr));
  ck::config::Current().TemporaryVanillaCryopods = true;
  ck::config::Current().Enabled = false;
  EXPECT_FALSE(MulticastDelegateHook::Wants(&post_field, nullptr));
}

}  // namespace
