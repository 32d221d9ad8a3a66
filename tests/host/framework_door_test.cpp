// The plugin's door to the framework, on the platform's own binary interface:
// natively on Linux, through the MSVC-ABI framework double on Windows. The
// same outcomes are expected on both.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "host/framework/clock.h"
#include "host/framework/engine_text.h"
#include "asa/offsets.h"
#include "host/framework/framework.h"
#include "sim/framework/engine_text.h"
#include "support/sim_world.h"
#if defined(_WIN32)
#include <windows.h>

#include "sim/framework/msvc_bridge.h"
#endif

namespace {

using FrameworkDoorTest = cktest::SimWorldTest;

int g_ticks = 0;
float g_last_delta = 0;
std::string g_line;

void CountTick(float delta) {
  ++g_ticks;
  g_last_delta = delta;
}

void KeepLine(APlayerController*, FString* line, bool) { g_line = simfw::ToUtf8(*line); }

// What the framework double holds of the plugin's (0 on Linux, where there is none).
long long DoubleBlocks() {
#if defined(_WIN32)
  return simfw::FrameworkDoubleLiveBlocks();
#else
  return 0;
#endif
}

TEST_F(FrameworkDoorTest, CallbacksTheFrameworkCopiesAreCalledAndReleased) {
  const long long before = DoubleBlocks();
  g_ticks = 0;
  g_line.clear();
  ck::host::AddOnTickCallback(u"Door.Tick", &CountTick);
  ck::host::AddConsoleCommand(u"doorcmd", &KeepLine);
  fw().commands.RunTick(0.25f);
  fw().commands.RunTick(0.5f);
  EXPECT_TRUE(fw().commands.DispatchConsole("DoorCmd on now"));
  EXPECT_EQ(g_ticks, 2);
  EXPECT_FLOAT_EQ(g_last_delta, 0.5f);
  EXPECT_EQ(g_line, "DoorCmd on now") << "the whole line reaches the command";

  EXPECT_TRUE(ck::host::RemoveOnTickCallback(u"Door.Tick"));
  EXPECT_TRUE(ck::host::RemoveConsoleCommand(u"doorcmd"));
  EXPECT_FALSE(ck::host::RemoveOnTickCallback(u"Door.Tick")) << "already gone";
  fw().commands.RunTick(0.25f);
  EXPECT_EQ(g_ticks, 2);
  EXPECT_EQ(DoubleBlocks(), before) << "every callback copy the framework made was destroyed";
}

TEST_F(FrameworkDoorTest, FrameworkFailuresComeBackAsThePluginsOwnExceptions) {
  fw().faults.Arm({"ICommands.AddOnTickCallback", std::string("Door.Fails"), simfw::FaultMode::kThrow, 1, false});
  try {
    ck::host::AddOnTickCallback(u"Door.Fails", &CountTick);
    FAIL() << "the framework's failure was swallowed";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "injected fault: ICommands.AddOnTickCallback");
  }
  fw().faults.Arm({"ICommands.RemoveOnTickCallback", std::nullopt, simfw::FaultMode::kThrowUnknown, 1, false});
  bool standard = false;
  bool other = false;
  try {
    ck::host::RemoveOnTickCallback(u"Door.Fails");
  } catch (const std::exception&) {
    standard = true;
  } catch (...) {
    other = true;
  }
  EXPECT_FALSE(standard) << "a failure that is no std::exception must not look like one";
  EXPECT_TRUE(other);
  EXPECT_TRUE(fw().commands.TickCallbackIds().empty()) << "a failed add registers nothing";
}

TEST_F(FrameworkDoorTest, HooksInstallAndDisableByKey) {
  using Fn = void (*)(AShooterPlayerController*);
  static Fn original = nullptr;
  static int detoured = 0;
  struct Detour {
    static void Run(AShooterPlayerController* controller) {
      ++detoured;
      original(controller);
    }
  };
  const std::string key = "AShooterPlayerController.ShowTransferCharacterConfirmationDialog()";
  detoured = 0;
  ASSERT_TRUE(ck::host::SetHook(key, reinterpret_cast<void*>(&Detour::Run), reinterpret_cast<void**>(&original)));
  ASSERT_NE(original, nullptr);
  reinterpret_cast<Fn>(ck::host::FunctionAddress(key))(nullptr);
  EXPECT_EQ(detoured, 1) << "the game's entry runs the detour";
  EXPECT_TRUE(ck::host::DisableHook(key, reinterpret_cast<void*>(&Detour::Run)));
  EXPECT_EQ(original, nullptr) << "disabling nulls the detour's original";
  EXPECT_FALSE(ck::host::DisableHook(key, reinterpret_cast<void*>(&Detour::Run)));
}

TEST_F(FrameworkDoorTest, ChatMessagesGoThroughThePluginsMessagingObjectAndItIsReleased) {
  sim::PlayerSpec ava;
  ava.id = "ava";
  game().AddPlayer(ava);
  auto* controller = reinterpret_cast<AShooterPlayerController*>(game().FindPlayer("ava")->controller);
  const long long before = DoubleBlocks();
  const std::size_t sent = fw().utils.Messages().size();
  EXPECT_TRUE(
      ck::host::SendChatMessage(controller, u"C:\\server\\Cradlekeep.dll", u"Cradle Keep", u"Splash \U0001F9A6"));
  ASSERT_EQ(fw().utils.Messages().size(), sent + 1);
  const auto& message = fw().utils.Messages().back();
  // A server message or a notification reached through a wrong slot is no
  // chat line, whatever its text.
  EXPECT_EQ(message.member, "SendChatMessage_Impl");
  EXPECT_EQ(message.player, "ava");
  EXPECT_EQ(message.sender, "Cradle Keep");
  EXPECT_EQ(message.text, "Splash \xF0\x9F\xA6\xA6");
  EXPECT_EQ(message.module_path, "C:\\server\\Cradlekeep.dll");
  EXPECT_EQ(DoubleBlocks(), before) << "the messaging object's shared pointer was released";
}

// On Windows the colour travels as the address of the plugin's copy, which
// the framework double refuses (ending the run) unless it is on a 16-byte
// boundary.
TEST_F(FrameworkDoorTest, ServerMessagesGoThroughThePluginsMessagingObjectWithTheColourAligned) {
  sim::PlayerSpec ava;
  ava.id = "ava";
  game().AddPlayer(ava);
  auto* controller = reinterpret_cast<AShooterPlayerController*>(game().FindPlayer("ava")->controller);
  const long long before = DoubleBlocks();
  const std::size_t sent = fw().utils.Messages().size();
  EXPECT_TRUE(ck::host::SendServerMessage(controller, u"C:\\server\\Cradlekeep.dll", u"Cradlekeep 1.0"));
  ASSERT_EQ(fw().utils.Messages().size(), sent + 1);
  const auto& message = fw().utils.Messages().back();
  EXPECT_EQ(message.member, "SendServerMessage_Impl");
  EXPECT_EQ(message.player, "ava");
  EXPECT_EQ(message.text, "Cradlekeep 1.0");
  EXPECT_EQ(DoubleBlocks(), before) << "the messaging object's shared pointer was released";
}

TEST_F(FrameworkDoorTest, EngineTextIsBuiltByTheFrameworkAndFreedThroughTheEngine) {
  const int64 before = fw().memory.LiveBlocks();
  {
    const ck::host::EngineString text(u"Cradlekeep");
    EXPECT_EQ(text->Len(), 10);
    EXPECT_EQ(ck::host::FStringToUtf8(*text), "Cradlekeep");
    EXPECT_EQ(fw().memory.LiveBlocks(), before + 1);
  }
  EXPECT_EQ(fw().memory.LiveBlocks(), before);
}

TEST_F(FrameworkDoorTest, TheSteadyClockIsTheSimulatedOne) {
  const int64 start = ck::host::SteadyNowNanoseconds();
  fw().clock.Advance(1'500'000'000);
  EXPECT_EQ(ck::host::SteadyNowNanoseconds() - start, 1'500'000'000);
}

TEST_F(FrameworkDoorTest, WorldGameModeAndFieldAddressesComeFromTheFramework) {
  EXPECT_EQ(ck::host::CurrentWorld(), fw().utils.GetWorld());
  EXPECT_EQ(ck::host::CurrentGameMode(), fw().utils.GetShooterGameMode());
  AShooterGameMode* game_mode = ck::host::CurrentGameMode();
  ASSERT_NE(game_mode, nullptr);
  EXPECT_EQ(ck::host::FieldAddress(game_mode, "AShooterGameMode.OnTryUnCryoDino"),
            reinterpret_cast<void*>(::GetAddress(game_mode, "AShooterGameMode.OnTryUnCryoDino")));
}

#if defined(_WIN32)
// Game functions that return a class by value are served as the MSVC-built
// game serves them, by the framework double's thunks (built by clang in MSVC
// mode): the plugin's calls in every test reach them there.
TEST_F(FrameworkDoorTest, ClassReturningGameFunctionsAreServedInMsvcsInterface) {
  HMODULE double_module = GetModuleHandleW(L"AsaApi.dll");
  ASSERT_NE(double_module, nullptr);
  for (const char* key : {"APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)",
                          "APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)",
                          "UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,"
                          "EServerOctreeGroup::Type,bool)"}) {
    HMODULE owner = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   static_cast<LPCWSTR>(ck::host::FunctionAddress(key)), &owner));
    EXPECT_EQ(owner, double_module) << key;
  }
}

// The game enters every hooked function as the MSVC-built game does: through
// the double's member-function call of the chain's head.
TEST_F(FrameworkDoorTest, HookedFunctionsAreEnteredThroughMsvcMemberCalls) {
  HMODULE double_module = GetModuleHandleW(L"AsaApi.dll");
  const auto slots = fw().registry.HookableSlots();
  ASSERT_EQ(slots.size(), 13u);  // the two forms of ClearMountedDino among them
  for (const simfw::HookSlot* slot : slots) {
    HMODULE owner = nullptr;
    ASSERT_NE(slot->msvc_entry, nullptr) << slot->key;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   static_cast<LPCWSTR>(slot->msvc_entry), &owner));
    EXPECT_EQ(owner, double_module) << slot->key;
  }
}
#endif

}  // namespace
