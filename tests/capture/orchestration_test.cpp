#include <gtest/gtest.h>

#include "asa/asa.h"
#include "capture/capture_orchestration.h"
#include "capture/notify_player.h"
#include "capture/shoulder_slot.h"
#include "capture/text_helpers.h"
#include "core/text.h"
#include "host/framework/engine_text.h"
#include "support/capture_fixture.h"

namespace {

using ck::capture::CompanionDisplayName;
using ck::capture::FormatCapturedMessage;

class DisplayNameTest : public cktest::CaptureTest {
 protected:
  std::string NameOf(const std::string& cls, const std::string& name = "", const std::string& descriptive = "") {
    sim::CreatureSpec spec = Creature("c" + std::to_string(++count_), cls, name);
    spec.descriptive_name = descriptive;
    game().AddCreature(spec);
    return CompanionDisplayName(Dino(spec.id), Controller());
  }
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld("{}", {}, {});
  }
  int count_ = 0;
};

TEST_F(DisplayNameTest, TheFirstNonEmptyNameWins) {
  EXPECT_EQ(NameOf("Otter_Character_BP_C", "Splash", "Otter"), "Splash");
  EXPECT_EQ(NameOf("Otter_Character_BP_C", "", "Otter"), "Otter");
  EXPECT_EQ(NameOf("Otter_Character_BP_C"), "Otter_Character_BP_C");
}

TEST_F(DisplayNameTest, ClassNamesMapToTheirFriendlyNamesIgnoringCase) {
  EXPECT_EQ(NameOf("shoulderdragon_character_bp_autumn_c"), "Autumn Drakeling");
  EXPECT_EQ(NameOf("SHOULDERDRAGON_AUTUMN_C"), "Autumn Drakeling");
  EXPECT_EQ(NameOf("ShoulderDragon_Character_BP_C"), "Drakeling");
  EXPECT_EQ(NameOf("Axolotl_Small_Character_BP_C"), "Tidepup");
}

TEST_F(DisplayNameTest, ThrowingLookupsFallBackSilently) {
  fw().faults.Arm({"APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)", std::nullopt,
                   simfw::FaultMode::kThrow, 1, false});
  fw().faults.Arm({"APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)", std::nullopt,
                   simfw::FaultMode::kThrowUnknown, 1, false});
  MarkTimeline();
  EXPECT_EQ(NameOf("ShoulderDragon_Character_BP_C", "Named", "Described"), "Drakeling");
  EXPECT_TRUE(Timeline().empty());
}

TEST_F(DisplayNameTest, ANullCreatureIsAShoulderPet) {
  EXPECT_EQ(CompanionDisplayName(nullptr, Controller()), "shoulder pet");
}

class CapturedMessageTest : public cktest::CaptureTest {
 protected:
  std::string Format(const std::string& setting, const std::string& name) {
    ck::config::Current().Messages.Captured = setting;
    return FormatCapturedMessage(name);
  }
};

TEST_F(CapturedMessageTest, PlaceholderRules) {
  EXPECT_EQ(Format("Prepared for transfer: {creature} (cryopod).", "Splash"), "Prepared for transfer: Splash (cryopod).");
  EXPECT_EQ(Format("{creature} and {creature}!", "Pip"), "Pip and Pip!");
  EXPECT_EQ(Format("Got {creature}.", "my {creature}"), "Got my {creature}.") << "inserted text is not searched again";
  EXPECT_EQ(Format("Packed up.", "Pip"), "Packed up. (Pip)");
  EXPECT_EQ(Format("Packed up.", ""), "Packed up.");
  EXPECT_EQ(Format("Packed {creatu", "Pip"), "Packed {creatu (Pip)");
  EXPECT_EQ(Format("", "Pip"), "") << "an empty message is none, never \" (Pip)\"";
  EXPECT_EQ(Format("{creature}", ""), "");
}

class NotifyTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld("{}", {}, {});
  }
};

TEST_F(NotifyTest, Utf8MessagesArriveAsTheAdminWroteThem) {
  ck::capture::NotifyPlayer(Controller(), "Préparé pour le transfert : Жужа 🦦");
  ASSERT_EQ(fw().utils.Messages().size(), 1u);
  const auto& m = fw().utils.Messages()[0];
  EXPECT_EQ(m.text, "Préparé pour le transfert : Жужа 🦦");
  EXPECT_EQ(m.sender, "Cradle Keep");
  EXPECT_EQ(m.player, "ava");
  EXPECT_NE(m.module_path.find("cradlekeep"), std::string::npos) << m.module_path;
}

TEST_F(NotifyTest, BracesAreNotInterpretedAndInvalidUtf8BecomesReplacementCharacters) {
  ck::capture::NotifyPlayer(Controller(), "{} {0} {creature}");
  ck::capture::NotifyPlayer(Controller(), "bad \xC3 byte");
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"{} {0} {creature}", "bad \xEF\xBF\xBD byte"}));
}

TEST_F(NotifyTest, NothingIsSentOrAskedForANullControllerOrAnEmptyMessage) {
  const int asked = fw().utils.MessagingRequests();
  ck::capture::NotifyPlayer(nullptr, "hello");
  ck::capture::NotifyPlayer(Controller(), "");
  EXPECT_TRUE(fw().utils.Messages().empty());
  EXPECT_EQ(fw().utils.MessagingRequests(), asked);
}

TEST_F(NotifyTest, AnEmptyListSendsTheNoShoulderPetMessageOnlyWhenConfigured) {
  EXPECT_FALSE(ck::capture::CaptureAttachedCompanions(Pawn(), Controller(), {}));
  EXPECT_TRUE(fw().utils.Messages().empty());
  ck::config::Current().Messages.NoShoulderPet = "Nothing on your shoulder.";
  EXPECT_FALSE(ck::capture::CaptureAttachedCompanions(Pawn(), Controller(), {}));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nothing on your shoulder."});
}

TEST(TextHelpersTest, WidenTextSignExtendsEachByte) {
  const std::u16string wide = ck::host::WidenText("a\xC3\x7F");
  ASSERT_EQ(wide.size(), 3u);
  EXPECT_EQ(wide[0], u'a');
  EXPECT_EQ(wide[1], char16_t{0xFFC3});
  EXPECT_EQ(wide[2], char16_t{0x7F});
}

TEST(TextHelpersTest, ContainsIgnoreCase) {
  EXPECT_TRUE(ck::core::ContainsIgnoreCase("ItemsPlusComBuff_C", "itemsplus"));
  EXPECT_TRUE(ck::core::ContainsIgnoreCase("anything", ""));
  EXPECT_TRUE(ck::core::ContainsIgnoreCase("", ""));
  EXPECT_FALSE(ck::core::ContainsIgnoreCase("", "x"));
  EXPECT_FALSE(ck::core::ContainsIgnoreCase("ItemsPlu", "ItemsPlus"));
}

class DescribeActorTest : public cktest::CaptureTest {};

TEST_F(DescribeActorTest, NameAndClassOrNull) {
  StartWorld("{}", {}, {Creature("splash", "Otter_Character_BP_C")});
  EXPECT_EQ(ck::capture::DescribeActor(nullptr), "actor=null");
  EXPECT_EQ(ck::capture::DescribeActor(Dino("splash")), "Otter_Character_BP_C_splash class=Otter_Character_BP_C");
  sim::Class* classless = game().ClassNamed("Object");
  EXPECT_EQ(ck::capture::DescribeActor(classless), "Object") << "the class objects here have no class of their own";
}

class ShoulderSlotTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld("{}", {{"mounted", "splash"}, {"carried", "pip"}}, {Creature("splash"), Creature("pip")});
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const auto& c : game().ArgsOf("APrimalCharacter.ClearMountedDino")) calls.push_back("mounted(" + c + ")");
    for (const auto& c : game().ArgsOf("APrimalCharacter.ClearCarryingDino")) calls.push_back("carried(" + c + ")");
    return calls;
  }
  APrimalCharacter* Character() { return reinterpret_cast<APrimalCharacter*>(Pawn()); }
};

TEST_F(ShoulderSlotTest, EachFlagClearsItsSlotWithItsArguments) {
  ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), true, false, true});
  EXPECT_EQ(Calls(), std::vector<std::string>{"mounted(true,false)"});
  ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), true, true, false});
  EXPECT_EQ(Calls(), (std::vector<std::string>{"mounted(true,false)", "mounted(false,false)", "carried(false,false)"}));
  EXPECT_EQ(game().ArgsOf("AShooterCharacter.ClearCarryingDino"), std::vector<std::string>{"false,false"})
      << "the carried clearing reaches the player character's own function";
  ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), false, false, false});
  EXPECT_EQ(Calls().size(), 3u) << "a record with neither flag makes no call";
  ck::capture::ClearShoulderSlot(nullptr, {Dino("splash"), true, true, true});
  EXPECT_EQ(Calls().size(), 3u);
}

TEST_F(ShoulderSlotTest, TheFlagIsRestoredAfterAThrowAndTheSecondCallIsNotMade) {
  EXPECT_FALSE(ck::capture::CaptureInProgress());
  fw().faults.Arm({"APrimalCharacter.ClearMountedDino(bool,bool)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), true, true, false}), std::runtime_error);
  EXPECT_FALSE(ck::capture::CaptureInProgress());
  EXPECT_TRUE(game().ArgsOf("APrimalCharacter.ClearCarryingDino").empty()) << "the second call is not made";
}

TEST_F(ShoulderSlotTest, BothClearingsAreMadeMountedFirst) {
  fw().faults.SetRecording(true);
  ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), true, true, false});
  std::vector<std::string> clearings;
  for (const auto& call : fw().faults.Recorded()) {
    if (call.key.find("Clear") != std::string::npos) clearings.push_back(call.key);
  }
  EXPECT_EQ(clearings, (std::vector<std::string>{"APrimalCharacter.ClearMountedDino(bool,bool)",
                                                 "APrimalCharacter.ClearCarryingDino(bool,bool)",
                                                 "AShooterCharacter.ClearCarryingDino(bool,bool)"}))
      << "the carried clearing reaches the player character's own function, after the mounted one";
}

// What the game saw of the capture mark while its slot-clearing functions ran.
std::vector<std::string> g_marks;
void (*g_mounted_original)(APrimalCharacter*, bool, bool) = nullptr;
void (*g_carried_original)(AShooterCharacter*, bool, bool) = nullptr;
void SeeMounted(APrimalCharacter* pawn, bool secondary, bool second) {
  g_marks.push_back(std::string("mounted:") + (ck::capture::CaptureInProgress() ? "capturing" : "idle"));
  g_mounted_original(pawn, secondary, second);
}
void SeeCarried(AShooterCharacter* pawn, bool first, bool second) {
  g_marks.push_back(std::string("carried:") + (ck::capture::CaptureInProgress() ? "capturing" : "idle"));
  g_carried_original(pawn, first, second);
}

TEST_F(ShoulderSlotTest, TheCaptureMarkIsSetWhileTheGameClearsTheSlots) {
  constexpr const char* kMounted = "APrimalCharacter.ClearMountedDino(bool,bool)";
  constexpr const char* kCarried = "AShooterCharacter.ClearCarryingDino(bool,bool)";
  auto& hooks = AsaApi::GetHooks();
  g_marks.clear();
  ASSERT_TRUE(hooks.SetHook(kMounted, reinterpret_cast<LPVOID>(&SeeMounted), reinterpret_cast<LPVOID*>(&g_mounted_original)));
  ASSERT_TRUE(hooks.SetHook(kCarried, reinterpret_cast<LPVOID>(&SeeCarried), reinterpret_cast<LPVOID*>(&g_carried_original)));
  ck::capture::ClearShoulderSlot(Character(), {Dino("splash"), true, true, false});
  EXPECT_EQ(g_marks, (std::vector<std::string>{"mounted:capturing", "carried:capturing"}));
  EXPECT_FALSE(ck::capture::CaptureInProgress()) << "and put back afterwards";
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), nullptr);
  EXPECT_EQ(game().SlotCreature(Ava(), "carried"), nullptr);
  hooks.DisableHook(kMounted, reinterpret_cast<LPVOID>(&SeeMounted));
  hooks.DisableHook(kCarried, reinterpret_cast<LPVOID>(&SeeCarried));
}

}  // namespace
