// A hook the framework dropped when another plugin's removal rebuilt the
// chain (its re-attach failed, its original is null) is counted as lost,
// told once, listed by the status and installed again by a reload.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "asa/asa.h"
#include "plugin/admin_commands.h"
#include "plugin/hook_registry.h"
#include "sim/game/hooked_functions.h"
#include "support/capture_fixture.h"

namespace {

constexpr const char* kUpload =
    "AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)";

void (*other_original)(void*, void*, int) = nullptr;
void OtherPluginsUpload(void* controller, void* inventory, int flags) { other_original(controller, inventory, flags); }

class LostHookTest : public cktest::CaptureTest {
 protected:
  // Another plugin hooks the upload after the plugin, then takes its hook
  // out while the plugin's re-attach is made to fail.
  void DropThePluginsUploadHook() {
    auto& hooks = AsaApi::GetHooks();
    ASSERT_TRUE(hooks.SetHook(kUpload, reinterpret_cast<void*>(&OtherPluginsUpload), &other_original));
    fw().faults.Arm({"IHooks.Reattach", std::string(kUpload), simfw::FaultMode::kFail, 1, false});
    ASSERT_TRUE(hooks.DisableHook(kUpload, reinterpret_cast<void*>(&OtherPluginsUpload)));
  }
  int Count(const std::string& text) {
    const auto lines = Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }
  static std::string LostLine() {
    return std::string("Cradlekeep hook lost: ") + kUpload +
           " (the framework dropped it when another hook on that function was removed; Cradlekeep.Reload installs it "
           "again)";
  }
};

TEST_F(LostHookTest, ADroppedHookIsToldOnceListedAsLostAndMendedByAReload) {
  StartWorld("{}", {}, {});
  EXPECT_EQ(ck::plugin::HooksLine(), "hooks: 8 installed");
  DropThePluginsUploadHook();
  EXPECT_EQ(Count(LostLine()), 0) << "not yet looked at";
  game().Advance(1.0);
  EXPECT_EQ(Count(LostLine()), 1) << "the tick's look at the held hooks tells it";
  game().Advance(5.0);
  EXPECT_EQ(Count(LostLine()), 1) << "once";
  EXPECT_EQ(ck::plugin::HooksLine(),
            std::string("hooks: 7 installed; lost: ") + kUpload + " (Cradlekeep.Reload installs them again)");

  const std::vector<std::string> answer = ck::plugin::ReloadSettings();
  EXPECT_NE(std::find(answer.begin(), answer.end(), std::string("Cradlekeep installed the lost hook on ") + kUpload + " again"),
            answer.end());
  EXPECT_EQ(Count(std::string("Cradlekeep hook installed again: ") + kUpload), 1);
  EXPECT_EQ(ck::plugin::HooksLine(), "hooks: 8 installed");
  EXPECT_EQ(fw().hooks.InstalledKeys().size(), 8u) << "installed once, not twice";
  game().Advance(2.0);
  EXPECT_EQ(Count(LostLine()), 1);
}

TEST_F(LostHookTest, AReloadWithNoLossLeavesEveryHookAlone) {
  StartWorld("{}", {}, {});
  const auto answer = ck::plugin::ReloadSettings();
  for (const auto& line : answer) EXPECT_EQ(line.find("lost hook"), std::string::npos) << line;
  EXPECT_EQ(fw().hooks.InstalledKeys().size(), 8u);
}

TEST_F(LostHookTest, UnloadingAfterALossAsksTheFrameworkNothingForTheLostHook) {
  StartWorld("{}", {}, {});
  DropThePluginsUploadHook();
  fw().faults.Arm({"IHooks.DisableHook", std::string(kUpload), simfw::FaultMode::kThrow, 1, true});
  Stop();
  for (const auto& line : Lines()) EXPECT_EQ(line.find("hook disable failed"), std::string::npos) << line;
  EXPECT_TRUE(fw().hooks.InstalledKeys().empty());
}

}  // namespace
