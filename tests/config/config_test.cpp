#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "config/config_loader.h"
#include "config/class_cache.h"
#include "config/config_text.h"
#include "config/setting_names.h"
#include "host/framework/module_path.h"
#include "host/framework/plugin_logger.h"
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
  ck::config::Classes().VanillaCryopodClass = FWeakObjectPtr{7, 1234};
  WriteConfig(R"({"DebugLogging": false, "CaptureMode": 7})");
  EXPECT_THROW(LoadConfiguration(), ck::config::ConfigError);
  EXPECT_TRUE(Current().DebugLogging);
  EXPECT_EQ(Current().CaptureMode, "vanilla");
  EXPECT_EQ(ck::config::Classes().VanillaCryopodClass.ObjectIndex, 0);
  EXPECT_EQ(ck::config::Classes().VanillaCryopodClass.ObjectSerialNumber, 0);
  WriteConfig("{");
  EXPECT_THROW(LoadConfiguration(), nlohmann::json::parse_error);
  EXPECT_TRUE(Current().DebugLogging);
}

// A server started from another folder: the framework's plugin folder is
// not below the working directory.
class ConfigBesideThePluginTest : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    ck::host::CreatePluginLogger();  // the loader's lines are looked at without a start-up
    plugin_folder_ = std::filesystem::current_path() / "server" / "ArkApi" / "Plugins" / "Cradlekeep";
    std::filesystem::create_directories(plugin_folder_);
  }
  void WriteBeside(const std::string& text) {
    std::ofstream(plugin_folder_ / "config.json", std::ios::binary | std::ios::trunc) << text;
  }
  std::string Load() { return ck::config::LoadConfiguration(Current(), ck::config::Classes(), plugin_folder_); }
  std::string BesidePath() const {
    const std::u8string text = (plugin_folder_ / "config.json").generic_u8string();
    return std::string(text.begin(), text.end());
  }

  std::filesystem::path plugin_folder_;
};

TEST_F(ConfigBesideThePluginTest, TheFileBesideThePluginIsReadWhenTheWorkingDirectoryHasNone) {
  WriteBeside(R"({"CaptureCooldownSeconds": 7})");
  EXPECT_EQ(Load(), BesidePath() + " (beside the plugin)");
  EXPECT_EQ(Current().CaptureCooldownSeconds, 7.0);
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Cradlekeep config loaded (beside the plugin: " + BesidePath() + ")"),
            lines.end());
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("config not found") != std::string::npos; }),
            0);
}

TEST_F(ConfigBesideThePluginTest, TheWorkingDirectorysFileKeepsPriority) {
  WriteBeside(R"({"CaptureCooldownSeconds": 7})");
  WriteConfig(R"({"CaptureCooldownSeconds": 9})");
  EXPECT_EQ(Load(), "ArkApi/Plugins/Cradlekeep/config.json");
  EXPECT_EQ(Current().CaptureCooldownSeconds, 9.0);
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Cradlekeep config loaded"), lines.end());
}

TEST_F(ConfigBesideThePluginTest, ABadFileBesideThePluginIsAnErrorNotTheDefaults) {
  WriteBeside(R"({"CaptureCooldownSeconds": 5})");
  Load();
  WriteBeside(R"({"Enabled": "yes"})");
  try {
    Load();
    ADD_FAILURE() << "a setting of the wrong type loaded";
  } catch (const ck::config::ConfigError& e) {
    EXPECT_STREQ(e.what(), "setting 'Enabled' must be true or false, got a string");
  }
  EXPECT_EQ(Current().CaptureCooldownSeconds, 5.0);
}

TEST_F(ConfigBesideThePluginTest, NeitherFileGivesTheDefaultsAndTheWarningNamesEveryPathTried) {
  EXPECT_EQ(Load(), "defaults (no file at ArkApi/Plugins/Cradlekeep/config.json or " + BesidePath() + ")");
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Cradlekeep config not found at ArkApi/Plugins/Cradlekeep/config.json or " + BesidePath() +
                          "; using defaults"),
            lines.end());
}

TEST_F(ConfigBesideThePluginTest, AReloadThatFindsNoFileKeepsTheRunningSettings) {
  Current().CaptureMode = "Vanilla";
  EXPECT_THROW(ck::config::LoadConfiguration(Current(), ck::config::Classes(), plugin_folder_, nullptr, true),
               ck::config::ConfigError);
  EXPECT_EQ(Current().CaptureMode, "Vanilla");
}

TEST(InstalledPluginFolder, OnlyAModuleInTheFrameworksPluginFoldersHasOne) {
  using ck::host::InstalledPluginFolder;
  EXPECT_EQ(InstalledPluginFolder(u"C:/Server/ArkApi/Plugins/Cradlekeep/Cradlekeep.dll"),
            std::filesystem::path(u"C:/Server/ArkApi/Plugins/Cradlekeep"));
  EXPECT_EQ(InstalledPluginFolder(u"/srv/ArkApi/plugins/Cradlekeep/Cradlekeep.dll"),
            std::filesystem::path(u"/srv/ArkApi/plugins/Cradlekeep"));
  EXPECT_TRUE(InstalledPluginFolder(u"/build/bin/Cradlekeep.so").empty());
  EXPECT_TRUE(InstalledPluginFolder(u"Cradlekeep.dll").empty());
  EXPECT_TRUE(InstalledPluginFolder(u"").empty());
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

// The settings at their documented defaults, each one written out.
void ExpectDocumentedDefaults(const ck::config::PluginConfig& c) {
  EXPECT_TRUE(c.Enabled);
  EXPECT_FALSE(c.DebugLogging);
  EXPECT_TRUE(c.ClearShoulderMountAfterCapture);
  EXPECT_TRUE(c.CaptureOnTransferButton);
  EXPECT_FALSE(c.ItemsPlusCompatibility);
  EXPECT_TRUE(c.TemporaryVanillaCryopods);
  EXPECT_TRUE(c.AutoRemoveTemporaryVanillaCryopods);
  EXPECT_TRUE(c.ClearCryoSicknessFromTemporaryVanillaCryopods);
  EXPECT_EQ(c.CaptureCooldownSeconds, 2.0);
  EXPECT_EQ(c.TemporaryVanillaCryopodCleanupIntervalSeconds, 1.0);
  EXPECT_EQ(c.CaptureMode, "SCS");
  EXPECT_EQ(c.ScsCryopodBlueprint, "Blueprint'/SCS/SCSCryopod/PrimalItem_SCSCryopod.PrimalItem_SCSCryopod'");
  EXPECT_EQ(c.ScsCaptureActorBlueprint, "Blueprint'/SCS/CCA_SCS.CCA_SCS'");
  EXPECT_EQ(c.VanillaCryopodBlueprint,
            "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/"
            "PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'");
  EXPECT_EQ(c.CryoCooldownBuffBlueprint,
            "Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoCooldown.Buff_CryoCooldown'");
  EXPECT_EQ(c.CryoSicknessBuffBlueprint,
            "Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoSickness.Buff_CryoSickness'");
  EXPECT_EQ(c.ItemsPlusTransferNetExecCommand, "EXECTransferRequest");
  EXPECT_EQ(c.ItemsPlusActorNameContains, (std::vector<std::string>{"ItemsPlus", "ItemsPlusComBuff"}));
  EXPECT_EQ(c.Messages.Captured, "Prepared for transfer: {creature} (cryopod).");
  EXPECT_EQ(c.Messages.NoShoulderPet, "");
  EXPECT_EQ(c.Messages.CaptureFailed, "Cradle Keep failed to pod your shoulder pet. Check the server log.");
  EXPECT_EQ(c.JournalFolder, "");
  EXPECT_EQ(c.JournalServerName, "");
  EXPECT_EQ(ck::config::JournalFileBytes(c), 1024u * 1024u);
  EXPECT_EQ(ck::config::JournalFilesKept(c), 4);
}

// The release package's config.json, as it is in the source tree. It is read
// before the fixture moves into its scratch folder, from the folder the test
// starts in (under Wine that folder's drive is the one the path resolves on).
class PackagedConfigTest : public cktest::PluginTest {
 protected:
  void SetUp() override {
    std::ifstream file(CRADLEKEEP_PACKAGED_CONFIG, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    packaged_ = text.str();
    PluginTest::SetUp();
  }
  std::string packaged_;
};

TEST_F(PackagedConfigTest, ThePackagedFileSetsEverySettingToItsDocumentedDefault) {
  ASSERT_FALSE(packaged_.empty()) << "cannot read " << CRADLEKEEP_PACKAGED_CONFIG;
  // Every setting is written in the file, so the values loaded below are the
  // file's and not defaults kept for missing keys.
  const auto root = nlohmann::json::parse(packaged_, nullptr, /*allow_exceptions=*/true, /*ignore_comments=*/true);
  std::vector<std::string> keys;
  for (const auto& item : root.items()) keys.push_back(item.key());
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "AutoRemoveTemporaryVanillaCryopods", "CaptureCooldownSeconds", "CaptureMode",
                      "CaptureOnTransferButton", "ClearCryoSicknessFromTemporaryVanillaCryopods",
                      "ClearShoulderMountAfterCapture", "CryoCooldownBuffBlueprint", "CryoSicknessBuffBlueprint",
                      "DebugLogging", "Enabled", "ItemsPlusActorNameContains", "ItemsPlusCompatibility",
                      "ItemsPlusTransferNetExecCommand", "JournalFileKilobytes", "JournalFilesKept",
                      "JournalFolder", "JournalServerName", "Messages", "ScsCaptureActorBlueprint",
                      "ScsCryopodBlueprint", "TemporaryVanillaCryopodCleanupIntervalSeconds",
                      "TemporaryVanillaCryopods", "VanillaCryopodBlueprint"}));
  std::vector<std::string> message_keys;
  for (const auto& item : root.at("Messages").items()) message_keys.push_back(item.key());
  std::sort(message_keys.begin(), message_keys.end());
  EXPECT_EQ(message_keys, (std::vector<std::string>{"CaptureFailed", "Captured", "NoShoulderPet"}));

  WriteConfig(packaged_);
  Start();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Cradlekeep config loaded",
                                               "Cradlekeep loaded version " CRADLEKEEP_PROJECT_VERSION}))
      << "found and read, no warning";
  ExpectDocumentedDefaults(Current());
}

TEST_F(ConfigTest, TheBuiltInDefaultsAreTheDocumentedOnes) {
  // What a server without a config.json runs with.
  ExpectDocumentedDefaults(ck::config::PluginConfig{});
}

// The same settings in every encoding an editor on the server may save:
// UTF-16 in either byte order, with or without a byte-order mark, is read as
// UTF-16; UTF-8 with a byte-order mark as UTF-8.
TEST_F(ConfigTest, AFileInUtf16OrWithAByteOrderMarkIsReadAsItsText) {
  const std::u16string text = u"{\"CaptureMode\": \"Vanilla\", \"Messages\": {\"Captured\": \"Fertig \U0001F9A6 {creature}\"}}";
  auto utf16 = [&](bool little, bool mark) {
    std::string bytes = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (const char16_t unit : text) {
      const char low = static_cast<char>(unit & 0xFF);
      const char high = static_cast<char>(unit >> 8);
      bytes += little ? low : high;
      bytes += little ? high : low;
    }
    return bytes;
  };
  const std::string utf8 = "{\"CaptureMode\": \"Vanilla\", \"Messages\": {\"Captured\": \"Fertig \xF0\x9F\xA6\xA6 {creature}\"}}";
  for (const std::string& bytes : {utf16(true, true), utf16(false, true), utf16(true, false), utf16(false, false),
                                   "\xEF\xBB\xBF" + utf8}) {
    WriteConfig(bytes);
    LoadConfiguration();
    EXPECT_EQ(Current().CaptureMode, "Vanilla");
    EXPECT_EQ(Current().Messages.Captured, "Fertig \xF0\x9F\xA6\xA6 {creature}") << "a pair of surrogates is one letter";
  }
  std::string encoding;
  EXPECT_EQ(ck::config::DecodeConfigText(utf8, encoding), utf8);
  EXPECT_EQ(encoding, "");
  EXPECT_EQ(ck::config::DecodeConfigText(utf16(false, true), encoding), utf8);
  EXPECT_EQ(encoding, "UTF-16BE");
  // The last plane's letters take the lead byte's high bits too.
  EXPECT_EQ(ck::config::DecodeConfigText(std::string("\xFF\xFE\xFF\xDB\xFD\xDF", 6), encoding), "\xF4\x8F\xBF\xBD");
  // Only both bytes of a mark make one: a Latin-1 file may begin with 0xFF.
  EXPECT_EQ(ck::config::DecodeConfigText("\xFF{}", encoding), "\xFF{}");
  EXPECT_EQ(encoding, "");
}

TEST_F(ConfigTest, BrokenUtf16AndBytesThatAreNotUtf8AreNamedForWhatTheyAre) {
  auto message = [&](const std::string& bytes) {
    WriteConfig(bytes);
    std::string what;
    try {
      LoadConfiguration();
    } catch (const std::exception& e) {
      what = e.what();
    }
    return what;
  };
  EXPECT_EQ(message(std::string("\xFF\xFE{\0}", 5)),
            "the config file is UTF-16LE text, cut off in the middle of a character; save it as UTF-8 (in Notepad: "
            "Save As, Encoding UTF-8)");
  EXPECT_EQ(message(std::string("\xFF\xFE{\0\x00\xD8}\0", 8)),
            "the config file is UTF-16LE text, with a broken character (a lone surrogate); save it as UTF-8 (in "
            "Notepad: Save As, Encoding UTF-8)");
  // Windows-1252's e acute inside a message text.
  EXPECT_EQ(message("{\"Messages\": {\"Captured\": \"Pr\xE9par\xE9\"}}"),
            "the config file is not UTF-8 text: a byte UTF-8 does not allow at line 1, column 31; save the file as "
            "UTF-8");
}

TEST(TrailingComma, OnlyACommaRightBeforeAClosingBracketCountsAndTheParsersEarlierErrorWins) {
  using ck::config::FindTrailingComma;
  EXPECT_FALSE(FindTrailingComma(R"({"a": ",}", "b": [1, 2]})")) << "inside a string";
  EXPECT_FALSE(FindTrailingComma("{\"a\": 1 // ,}\n}")) << "inside a comment";
  EXPECT_FALSE(FindTrailingComma(R"({"a\",}": 1})")) << "an escaped quote does not end the string";
  const auto in_list = FindTrailingComma("{\"a\": [1,\n 2 , /* more */\n ]}");
  ASSERT_TRUE(in_list);
  EXPECT_EQ(in_list->line, 2);
  EXPECT_EQ(in_list->column, 4);
  EXPECT_EQ(in_list->closing, ']');
}

TEST_F(ConfigTest, AnEarlierSyntaxErrorIsToldAsTheParserTellsIt) {
  WriteConfig("{\"Enabled\": tru, \"DebugLogging\": true,}");
  try {
    LoadConfiguration();
    FAIL() << "the file is not JSON";
  } catch (const nlohmann::json::parse_error& e) {
    EXPECT_NE(std::string(e.what()).find("line 1, column 16"), std::string::npos) << e.what();
  }
}

TEST(SettingNames, AnUnknownKeyIsMatchedToTheSettingItMostLikelyMeant) {
  using ck::config::kRootSettingNames;
  using ck::config::NearestSettingName;
  EXPECT_EQ(NearestSettingName("CaptureMod", kRootSettingNames), "CaptureMode");
  EXPECT_EQ(NearestSettingName("enabled", kRootSettingNames), "Enabled") << "another letter case";
  EXPECT_EQ(NearestSettingName("nEabled", kRootSettingNames), "Enabled") << "the first two letters swapped";
  EXPECT_EQ(NearestSettingName("Enalbed", kRootSettingNames), "Enabled") << "two letters swapped";
  EXPECT_EQ(NearestSettingName("TemporaryVanillaCryopodCleanupInterval", kRootSettingNames),
            "TemporaryVanillaCryopodCleanupIntervalSeconds");
  EXPECT_EQ(NearestSettingName("Color", kRootSettingNames), "") << "nothing near: no guess";
  EXPECT_EQ(NearestSettingName("$schema", kRootSettingNames), "");
  EXPECT_EQ(NearestSettingName("Captured", ck::config::kMessageSettingNames), "Captured");
}

}  // namespace
