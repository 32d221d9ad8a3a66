// Fuzz target: the debug console command's line.
//
// The input is the whole console line as engine text: each pair of bytes is
// one 16-bit code unit, little-endian; an odd last byte is dropped. An empty
// input stands for no line at all (a null pointer). The command runs twice,
// with debug logging off and then on beforehand, and each time must agree
// with the reference below: the line as one byte per unit (every unit above
// 127 becomes '?'), ASCII letters lower-cased; the first of "on", "true",
// "1" (switch on), then "off", "false", "0" (switch off) found anywhere in it
// decides; none keeps the setting. The plugin logs exactly one line, "Cradlekeep
// debug logging is ON" or "... OFF", after the new setting, and no engine
// block outlives the line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "asa/engine_types.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "fuzz_check.h"
#include "plugin/debug_command.h"
#include "host/framework/plugin_logger.h"
#include "sim/framework/framework.h"

namespace {

using ckfuzz::Check;

// True when `word` occurs in `text` at some position.
bool Occurs(const std::string& text, const char* word) {
  std::size_t n = 0;
  while (word[n] != '\0') ++n;
  if (n > text.size()) return false;
  for (std::size_t at = 0; at + n <= text.size(); ++at) {
    std::size_t k = 0;
    while (k < n && text[at + k] == word[k]) ++k;
    if (k == n) return true;
  }
  return false;
}

// The setting after the command, by the rules above.
bool Reference(const std::u16string* line, bool before) {
  std::string text;
  if (line != nullptr) {
    for (const char16_t unit : *line) {
      char c = unit > 127 ? '?' : static_cast<char>(unit);
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
      text += c;
    }
  }
  static constexpr const char* kOn[] = {"on", "true", "1"};
  static constexpr const char* kOff[] = {"off", "false", "0"};
  for (const char* word : kOn) {
    if (Occurs(text, word)) return true;
  }
  for (const char* word : kOff) {
    if (Occurs(text, word)) return false;
  }
  return before;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool null_line = size == 0;
  std::u16string units;
  units.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }

  auto& logs = simfw::Fw().logs;
  if (!ck::host::PluginLoggerReady()) ck::host::CreatePluginLogger();
  if (!ck::state::Running()) ck::state::Begin();

  for (const bool before : {false, true}) {
    simfw::Fw().logs.ClearRecords();  // each input frees what it logged: leaks stay visible
    ck::config::Current().DebugLogging = before;
    const bool expected = Reference(null_line ? nullptr : &units, before);
    const auto blocks = simfw::Fw().memory.LiveBlocks();

    if (null_line) {
      ck::plugin::OnDebugCommand(nullptr, nullptr, false);
    } else {
      FString text(static_cast<int32>(units.size()), units.data());
      ck::plugin::OnDebugCommand(nullptr, &text, false);
    }

    Check(ck::config::Current().DebugLogging == expected,
          expected ? "the command left debug logging off" : "the command left debug logging on");
    Check(simfw::Fw().memory.LiveBlocks() == blocks, "the command left engine blocks live");
    const auto& records = logs.Records();
    Check(records.size() == 1, "the command did not log exactly one line");
    const simfw::LogRecord& line = records.back();
    Check(line.logger == "Cradlekeep", "the command's line is not the plugin's");
    Check(line.level == "info", "the command's line is not at info level");
    Check(line.text == (expected ? "Cradlekeep debug logging is ON" : "Cradlekeep debug logging is OFF"),
          "the command's line does not tell the new setting");
  }
  simfw::Fw().logs.ClearRecords();  // each input frees what it logged: leaks stay visible
  return 0;
}
