// Fuzz target: the admin commands' lines, over RCON and on the console.
//
// The first byte picks the command: 0 "Cradlekeep.Status", 1
// "Cradlekeep.Reload", 2 "ckpdebug", 3 "ckp.debug" (its bit 3 set: the
// server console instead of RCON); any other value sends the rest of the
// input as the whole line. The second byte's bits change the letter case of
// the name's first eight letters. The rest is text after the name and a
// space: each pair of bytes one 16-bit code unit, little-endian.
//
// On a fresh simulated server with the plugin started (no config file: the
// defaults), the line goes through the framework's dispatch. Then:
//  - a command's name in any letter case reaches that command, and the
//    framework hands no other packet to it;
//  - over RCON, a command sends exactly one reply, on the packet's id with
//    type 0: the status lines (the same as asked afterwards), the reload's
//    answer (the defaults again, nothing else changed), or the debug
//    switch's line after the model in debug_switch_model.h; a line that no
//    command takes gets no reply from the plugin;
//  - on the server console the same lines go to the log;
//  - no exception leaves the plugin and no engine block outlives the run.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "asa/engine_types.h"
#include "config/plugin_config.h"
#include "debug_switch_model.h"
#include "fuzz_check.h"
#include "plugin/admin_commands.h"
#include "plugin/lifecycle.h"
#include "plugin/version.h"
#include "sim/framework/engine_text.h"
#include "sim/framework/framework.h"
#include "sim/game/game.h"
#include "sim/game/rcon.h"
#include "state/plugin_state.h"

namespace {

using ckfuzz::Check;

enum class Command { kStatus, kReload, kDebug, kNone };

constexpr const char* kNames[] = {"Cradlekeep.Status", "Cradlekeep.Reload", "ckpdebug", "ckp.debug"};

struct Line {
  Command command = Command::kNone;
  bool console = false;
  std::u16string units;  // the line as the plugin gets it
};

Line Decode(const uint8_t* data, size_t size) {
  Line line;
  const uint8_t pick = size > 0 ? data[0] : 0xff;
  const uint8_t cases = size > 1 ? data[1] : 0;
  const size_t rest = size > 2 ? 2 : size;
  std::u16string text;
  for (size_t i = rest; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const uint8_t which = pick & 0x07;
  if ((pick & 0xf0) != 0 || which > 3) {
    line.units = text;
    return line;
  }
  line.console = (pick & 0x08) != 0;
  line.command = which == 0 ? Command::kStatus : which == 1 ? Command::kReload : Command::kDebug;
  int letter = 0;
  for (const char* c = kNames[which]; *c != '\0'; ++c) {
    char16_t unit = static_cast<unsigned char>(*c);
    const bool is_letter = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z');
    if (is_letter && letter < 8 && ((cases >> letter++) & 1) != 0) unit ^= 0x20;
    line.units.push_back(unit);
  }
  if (!text.empty()) line.units += u" " + text;
  return line;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// The status with the clean-up line's "next round in <time>" left out: the
// clock moves between the answer and the look again.
std::string WithoutTimes(std::string text) {
  const std::string mark = "next round in ";
  for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + mark.size())) {
    const std::size_t end = text.find(" s", at + mark.size());
    if (end != std::string::npos) text.erase(at + mark.size(), end - at - mark.size());
  }
  return text;
}

// What the command must answer, worked out before it runs (the debug switch
// from the setting before), checked against what it said.
void CheckAnswer(const Line& line, const std::u16string& as_received, bool debug_before, const std::string& said) {
  switch (line.command) {
    case Command::kStatus:
      Check(ckfuzz::StartsWith(said, std::string("Cradlekeep ") + ck::plugin::kVersion + "\n"),
            "the status does not open with the version");
      Check(WithoutTimes(said) == WithoutTimes(Joined(ck::plugin::StatusLines())),
            "the status is not what the status lines say");
      break;
    case Command::kReload:
      // There is no file: the running settings stay (the debug switch too).
      Check(ckfuzz::StartsWith(said, "Cradlekeep reload failed, the running settings stay: config not found at "
                                     "ArkApi/Plugins/Cradlekeep/config.json"),
            "the reload without a file did not answer that the running settings stay");
      Check(ck::config::Current().DebugLogging == debug_before && ck::config::Current().Enabled,
            "the reload without a file changed the running settings");
      break;
    case Command::kDebug: {
      const bool on = ckfuzz::DebugSwitchModel(&as_received, debug_before);
      Check(ck::config::Current().DebugLogging == on, "the debug switch left the wrong setting");
      Check(said == (on ? "Cradlekeep debug logging is ON" : "Cradlekeep debug logging is OFF"),
            "the debug switch's answer does not tell the new setting");
      break;
    }
    case Command::kNone: break;
  }
}

void OverRcon(sim::Game& game, const Line& line) {
  sim::RconPacket packet(77, line.units);
  const sim::rec::FString& body = packet.get()->Body;
  const std::u16string received(body.Data.Data != nullptr ? body.Data.Data : u"",
                                static_cast<size_t>(body.Data.ArrayNum > 0 ? body.Data.ArrayNum - 1 : 0));
  const bool debug_before = ck::config::Current().DebugLogging;
  sim::RconConnection connection;
  connection.IsAuthenticated = true;
  std::string framework_reply;
  const bool taken = simfw::Fw().commands.DispatchRcon(reinterpret_cast<RCONClientConnection*>(&connection), packet.get(),
                                                       nullptr, framework_reply);
  const auto& replies = game.RconReplies();
  if (line.command == Command::kNone) {
    Check(replies.size() <= 1, "a line drew more than one reply from the plugin");
    Check(taken || replies.empty(), "a line no command took drew a reply");
    return;
  }
  Check(taken, "the framework did not hand the command's line to it");
  Check(replies.size() == 1, "the command did not send exactly one reply");
  Check(replies.front().id == 77 && replies.front().type == 0, "the reply is not on the packet's id with type 0");
  CheckAnswer(line, received, debug_before, replies.front().text);
}

void OnTheConsole(const Line& line) {
  const std::string text = simfw::ToUtf8(line.units.data(), static_cast<int32>(line.units.size()));
  const FString as_passed = simfw::FromUtf8(text);
  const std::u16string received(*as_passed, static_cast<size_t>(as_passed.Len()));
  const bool debug_before = ck::config::Current().DebugLogging;
  simfw::Fw().logs.ClearRecords();
  Check(simfw::Fw().commands.DispatchConsole(text, nullptr), "the framework did not hand the command's line to it");
  std::vector<std::string> logged;
  for (const auto& record : ckfuzz::PluginRecords()) {
    if (record.level == "info") logged.push_back(record.text);
  }
  // The reload's own "config loaded", when it loads a file, comes first.
  if (line.command == Command::kReload && !logged.empty() && ckfuzz::StartsWith(logged.front(), "Cradlekeep config loaded")) {
    logged.erase(logged.begin());
  }
  CheckAnswer(line, received, debug_before, Joined(logged));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Line line = Decode(data, size);
  {
    auto game = std::make_unique<sim::Game>(sim::ServerSettings{}, sim::ModSettings{});
    game->PublishWorld();
    const int module = simfw::Fw().modules.Begin();
    ck::plugin::Startup();
    Check(ck::state::Running(), "the plugin did not start on the defaults");

    if (line.console && line.command != Command::kNone) {
      OnTheConsole(line);
    } else {
      OverRcon(*game, line);
    }
    Check(simfw::Fw().faults.Escapes().empty(), "an exception left the plugin");

    ck::plugin::Teardown();
    simfw::Fw().ForgetModule(module);
    simfw::Fw().modules.End(module);
  }
  simfw::Fw().logs.ClearRecords();
  Check(simfw::Fw().memory.LiveBlocks() == 0, "engine blocks still live after unload and world teardown");
  return 0;
}
