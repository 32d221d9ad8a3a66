#include <gtest/gtest.h>

#include "sim/framework/engine_text.h"
#include "asa/asa.h"
#include "support/sim_world.h"

namespace {

using CommandsTest = cktest::SimWorldTest;

TEST_F(CommandsTest, DispatchesOnTheFirstWordIgnoringCaseAndPassesTheWholeLine) {
  std::string seen;
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckpdebug"), [&](APlayerController*, FString* line, bool) {
    seen = simfw::ToUtf8(*line);
  });
  EXPECT_TRUE(fw().commands.DispatchConsole("CKPDebug On please"));
  EXPECT_EQ(seen, "CKPDebug On please");
  EXPECT_FALSE(fw().commands.DispatchConsole("ckpdebugx on"));
  EXPECT_FALSE(fw().commands.DispatchConsole("other ckpdebug"));
}

// A plugin's RCON command as the game and the framework run it: only for an
// authenticated client, on the body's first word in any case, with the
// packet; it answers through the game's reply function.
TEST_F(CommandsTest, AnRconCommandRunsForAnAuthenticatedClientAndAnswersThroughTheGame) {
  using SendMessageFn = void (*)(RCONClientConnection*, int, int, FString*);
  std::vector<std::string> bodies;
  AsaApi::GetCommands().AddRconCommand(
      simfw::FromUtf8("Ck.Echo"), [&](RCONClientConnection* connection, RCONPacket* packet, UWorld* world) {
        bodies.push_back(simfw::ToUtf8(packet->Body));
        EXPECT_EQ(world, reinterpret_cast<UWorld*>(game().world()));
        FString reply = simfw::FromUtf8("heard " + std::to_string(packet->Id));
        reinterpret_cast<SendMessageFn>(fw().registry.FunctionAddress("RCONClientConnection.SendMessage(int,int,FString&)"))(
            connection, packet->Id, 0, &reply);
      });
  game().ReceiveRconPacket("ck.echo one", false);
  game().ReceiveRconPacket("ck.echoes two", true);
  // The third packet: its id differs from every packet's type (2), so a
  // packet read at the wrong offsets answers on the wrong id.
  game().ReceiveRconPacket("CK.ECHO three", true);
  EXPECT_EQ(bodies, std::vector<std::string>{"CK.ECHO three"}) << "never for a client that has not authenticated";
  ASSERT_EQ(game().RconReplies().size(), 1u);
  EXPECT_EQ(game().RconReplies()[0].id, 3) << "each packet has the next id";
  EXPECT_EQ(game().RconReplies()[0].type, 0);
  EXPECT_EQ(game().RconReplies()[0].text, "heard 3");
  EXPECT_TRUE(AsaApi::GetCommands().RemoveRconCommand(simfw::FromUtf8("CK.ECHO")));
  game().ReceiveRconPacket("ck.echo four", true);
  EXPECT_EQ(bodies.size(), 1u);
}

TEST_F(CommandsTest, RemovedCommandsNoLongerRun) {
  int runs = 0;
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("a"), [&](APlayerController*, FString*, bool) { ++runs; });
  EXPECT_TRUE(AsaApi::GetCommands().RemoveConsoleCommand(simfw::FromUtf8("a")));
  EXPECT_FALSE(AsaApi::GetCommands().RemoveConsoleCommand(simfw::FromUtf8("a")));
  EXPECT_FALSE(fw().commands.DispatchConsole("a"));
  EXPECT_EQ(runs, 0);
}

TEST_F(CommandsTest, ATickCallbackMayRemoveItselfWhileItRuns) {
  std::vector<std::string> order;
  auto& commands = AsaApi::GetCommands();
  commands.AddOnTickCallback(simfw::FromUtf8("once"), [&](float) {
    order.push_back("once");
    EXPECT_TRUE(AsaApi::GetCommands().RemoveOnTickCallback(simfw::FromUtf8("once")));
  });
  commands.AddOnTickCallback(simfw::FromUtf8("always"), [&](float) { order.push_back("always"); });
  fw().commands.RunTick(0.1f);
  fw().commands.RunTick(0.1f);
  EXPECT_EQ(order, (std::vector<std::string>{"once", "always", "always"}));
  EXPECT_EQ(fw().commands.TickCallbackIds(), std::vector<std::string>{"always"});
}

// The framework runs a tick from the list as it was when the tick began.
TEST_F(CommandsTest, ACallbackRemovedByAnEarlierOneStillRunsInThatTick) {
  std::vector<std::string> order;
  auto& commands = AsaApi::GetCommands();
  commands.AddOnTickCallback(simfw::FromUtf8("remover"), [&](float) {
    order.push_back("remover");
    AsaApi::GetCommands().RemoveOnTickCallback(simfw::FromUtf8("LATER"));
  });
  commands.AddOnTickCallback(simfw::FromUtf8("later"), [&](float) { order.push_back("later"); });
  fw().commands.RunTick(0.1f);
  fw().commands.RunTick(0.1f);
  EXPECT_EQ(order, (std::vector<std::string>{"remover", "later", "remover"})) << "removal by name ignores case";
}

TEST_F(CommandsTest, RemovalByNameIgnoresCase) {
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckpdebug"), [](APlayerController*, FString*, bool) {});
  EXPECT_TRUE(AsaApi::GetCommands().RemoveConsoleCommand(simfw::FromUtf8("CkpDebug")));
  EXPECT_TRUE(fw().commands.ConsoleCommandNames().empty());
}

// plugins.unload runs from the framework's copy of its command list. A
// plugin that removed its own command at unload leaves it to that copy,
// which destroys it after the library is gone: a defect the framework notes
// instead of crashing. Left to the framework, the command is emptied while
// the library is still there.
TEST_F(CommandsTest, UnloadingFromACommandDestroysNothingOfTheFreedLibrary) {
  for (bool plugin_removes_its_command : {false, true}) {
    fw().replies.clear();
    const int module = fw().modules.Begin();
    AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckpdebug"), [](APlayerController*, FString*, bool) {});
    fw().unload_plugin = [&](const std::string&) {
      if (plugin_removes_its_command) AsaApi::GetCommands().RemoveConsoleCommand(simfw::FromUtf8("ckpdebug"));
      fw().ForgetModule(module);
      fw().modules.End(module);
      return std::string("Successfully unloaded plugin");
    };
    EXPECT_TRUE(fw().commands.DispatchConsole("plugins.unload Cradlekeep"));
    EXPECT_EQ(fw().replies, std::vector<std::string>{"Successfully unloaded plugin"});
    EXPECT_TRUE(fw().commands.ConsoleCommandNames().empty());
    EXPECT_FALSE(fw().commands.DispatchConsole("ckpdebug on"));
    if (plugin_removes_its_command) {
      EXPECT_EQ(fw().modules.Defects(), std::vector<std::string>{"the framework destroys console command 'ckpdebug', "
                                                                 "whose code was in an unloaded plugin"});
    } else {
      EXPECT_TRUE(fw().modules.Defects().empty());
    }
    fw().unload_plugin = nullptr;
  }
}

TEST_F(CommandsTest, ACallbackAddedDuringATickFirstRunsOnTheNextTick) {
  int late_runs = 0;
  AsaApi::GetCommands().AddOnTickCallback(simfw::FromUtf8("adder"), [&](float) {
    if (fw().commands.TickCallbackIds().size() == 1) {
      AsaApi::GetCommands().AddOnTickCallback(simfw::FromUtf8("late"), [&](float) { ++late_runs; });
    }
  });
  fw().commands.RunTick(0.1f);
  EXPECT_EQ(late_runs, 0);
  fw().commands.RunTick(0.1f);
  EXPECT_EQ(late_runs, 1);
}

TEST_F(CommandsTest, TicksRunAtTheServerRateAndTheClockEndsExactly) {
  int ticks = 0;
  AsaApi::GetCommands().AddOnTickCallback(simfw::FromUtf8("count"), [&](float) { ++ticks; });
  const int64 start = fw().clock.Now();
  game().Advance(2.0);
  EXPECT_EQ(ticks, 60);
  EXPECT_EQ(fw().clock.Now() - start, 2'000'000'000);
  game().Advance(0.01);
  EXPECT_EQ(ticks, 60) << "a hundredth of a second holds no tick at 30 per second";
  game().Advance(0.03);
  EXPECT_EQ(ticks, 61);
}

TEST_F(CommandsTest, AddFaultsRegisterNothing) {
  fw().faults.Arm({"ICommands.AddConsoleCommand", std::string("ckp.debug"), simfw::FaultMode::kFail, 1, false});
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckpdebug"), [](APlayerController*, FString*, bool) {});
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckp.debug"), [](APlayerController*, FString*, bool) {});
  EXPECT_EQ(fw().commands.ConsoleCommandNames(), std::vector<std::string>{"ckpdebug"});
}

TEST_F(CommandsTest, ExceptionsLeavingTicksAndCommandsAreNotedAsThePlugins) {
  AsaApi::GetCommands().AddOnTickCallback(simfw::FromUtf8("ticker"), [](float) { throw std::runtime_error("tick"); });
  AsaApi::GetCommands().AddConsoleCommand(simfw::FromUtf8("ckpdebug"), [](APlayerController*, FString*, bool) {
    throw 7;
  });
  EXPECT_THROW(fw().commands.RunTick(0.1f), std::runtime_error);
  EXPECT_THROW(fw().commands.DispatchConsole("ckpdebug on"), int);
  const auto& escapes = fw().faults.Escapes();
  ASSERT_EQ(escapes.size(), 2u);
  EXPECT_EQ(escapes[0].entry, "tick callback ticker");
  EXPECT_EQ(escapes[0].what, "tick");
  EXPECT_FALSE(escapes[0].games_own);
  EXPECT_EQ(escapes[1].entry, "console command ckpdebug");
  EXPECT_EQ(escapes[1].what, "unknown exception");
  EXPECT_FALSE(escapes[1].games_own);
  AsaApi::GetCommands().RemoveOnTickCallback(simfw::FromUtf8("ticker"));
  AsaApi::GetCommands().RemoveConsoleCommand(simfw::FromUtf8("ckpdebug"));
}

}  // namespace
