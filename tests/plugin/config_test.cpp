#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "config/config_loader.h"
#include "config/class_cache.h"
#include "support/plugin_fixture.h"

namespace {

using ck::config::Current;
using ck::config::IsVanillaCaptureMode;

// Loads the file into the running plugin's settings, as start-up does.
void LoadConfiguration() { ck::config::LoadConfiguration(Current(), ck::config::Classes()); }

class ConfigTest : public cktest::PluginTest {};

TEST_F(ConfigTest, EverySettingIsRead) {
  WriteConfig(R"({
    "Enabled": false, "DebugLogging": true, "ClearShoulderMountAfterCapture": false,
    "CaptureOnTransferButton": false, "ItemsPlusCompatibility": true, "TemporaryVanillaCryopods": false,
    "AutoRemoveTemporaryVanillaCryopods": false, "ClearCryoSicknessFromTemporaryVanillaCryopods": false,
    "CaptureCooldownSeconds": 5, "TemporaryVanillaCryopodCleanupIntervalSeconds": 0.5,
    "CaptureMode": "Cryo", "ScsCryopodBlueprint": "a", "ScsCaptureActorBlueprint": "b",
    "VanillaCryopodBlueprint": "c", "CryoCooldownBuffBlueprint": "d", "CryoSicknessBuffBlueprint": "e",
    "ItemsPlusTransferNetExecCommand": "f", "ItemsPlusActorNameContains": ["g", "h", ""],
    "Messages": {"Captured": "Préparé : {creature}", "NoShoulderPet": "none", "CaptureFailed": ""}
  })");
  LoadConfiguration();
  const auto& c = Current();
  EXPECT_FALSE(c.Enabled);
  EXPECT_TRUE(c.DebugLogging);
  EXPECT_FALSE(c.ClearShoulderMountAfterCapture);
  EXPECT_FALSE(c.CaptureOnTransferButton);
  EXPECT_TRUE(c.ItemsPlusCompatibility);
  EXPECT_FALSE(c.TemporaryVanillaCryopods);
  EXPECT_FALSE(c.AutoRemoveTemporaryVanillaCryopods);
  EXPECT_FALSE(c.ClearCryoSicknessFromTemporaryVanillaCryopods);
  EXPECT_EQ(c.CaptureCooldownSeconds, 5.0);
  EXPECT_EQ(c.TemporaryVanillaCryopodCleanupIntervalSeconds, 0.5);
  EXPECT_EQ(c.CaptureMode, "Cryo");
  EXPECT_EQ(c.ScsCryopodBlueprint, "a");
  EXPECT_EQ(c.ScsCaptureActorBlueprint, "b");
  EXPECT_EQ(c.VanillaCryopodBlueprint, "c");
  EXPECT_EQ(c.CryoCooldownBuffBlueprint, "d");
  EXPECT_EQ(c.CryoSicknessBuffBlueprint, "e");
  EXPECT_EQ(c.ItemsPlusTransferNetExecCommand, "f");
  EXPECT_EQ(c.ItemsPlusActorNameContains, (std::vector<std::string>{"g", "h", ""}));
  EXPECT_EQ(c.Messages.Captured, "Préparé : {creature}");
  EXPECT_EQ(c.Messages.NoShoulderPet, "none");
  EXPECT_EQ(c.Messages.CaptureFailed, "");
}

TEST_F(ConfigTest, AFailedLoadKeepsThePreviousSettingsButEmptiesTheClassCache) {
  WriteConfig(R"({"DebugLogging": true, "CaptureMode": "vanilla"})");
  LoadConfiguration();
  ck::config::Classes().VanillaCryopodClass = reinterpret_cast<UClass*>(0x1234);
  WriteConfig(R"({"DebugLogging": false, "CaptureMode": 7})");
  EXPECT_THROW(LoadConfiguration(), nlohmann::json::type_error);
  EXPECT_TRUE(Current().DebugLogging);
  EXPECT_EQ(Current().CaptureMode, "vanilla");
  EXPECT_EQ(ck::config::Classes().VanillaCryopodClass, nullptr);
  WriteConfig("{");
  EXPECT_THROW(LoadConfiguration(), nlohmann::json::parse_error);
  EXPECT_TRUE(Current().DebugLogging);
}

TEST_F(ConfigTest, AnEmptyListReplacesTheDefaultList) {
  WriteConfig(R"({"ItemsPlusActorNameContains": []})");
  LoadConfiguration();
  EXPECT_TRUE(Current().ItemsPlusActorNameContains.empty());
}

TEST_F(ConfigTest, CaptureModeSpellings) {
  const std::pair<const char*, bool> cases[] = {
      {"cryo", true},     {"CRYO", true},          {"Vanilla", true},      {"vanillacryo", true},
      {"Vanilla Cryo", true}, {"vanilla ", false}, {" cryo", false},       {"vanilla-cryo", false},
      {"vanilla  cryo", false}, {"SCS", false},    {"", false},            {"cryopod", false}};
  for (const auto& [mode, vanilla] : cases) {
    Current().CaptureMode = mode;
    EXPECT_EQ(IsVanillaCaptureMode(), vanilla) << '"' << mode << '"';
  }
}

TEST_F(ConfigTest, DefaultsMatchTheDocumentedValues) {
  const ck::config::PluginConfig c;
  EXPECT_TRUE(c.Enabled);
  EXPECT_FALSE(c.DebugLogging);
  EXPECT_EQ(c.CaptureCooldownSeconds, 2.0);
  EXPECT_EQ(c.TemporaryVanillaCryopodCleanupIntervalSeconds, 1.0);
  EXPECT_EQ(c.CaptureMode, "SCS");
  EXPECT_EQ(c.ItemsPlusActorNameContains, (std::vector<std::string>{"ItemsPlus", "ItemsPlusComBuff"}));
  EXPECT_EQ(c.Messages.Captured, "Prepared for transfer: {creature} (cryopod).");
  EXPECT_EQ(c.Messages.NoShoulderPet, "");
}

}  // namespace
