// Fuzz target: the debug console command's line.
//
// The input is the whole console line as engine text: each pair of bytes is
// one 16-bit code unit, little-endian; an odd last byte is dropped. An empty
// input stands for no line at all (a null pointer). The command runs twice,
// with debug logging off and then on beforehand, and each time must agree
// with the model in debug_switch_model.h. The plugin logs exactly one line, "Cradlekeep
// debug logging is ON" or "... OFF", after the new setting, and no engine
// block outlives the line.

#include <cstddef>
#include <cstdint>
#include <string>

#include "asa/engine_types.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "debug_switch_model.h"
#include "fuzz_check.h"
#include "plugin/debug_command.h"
#include "host/framework/plugin_logger.h"
#include "sim/framework/framework.h"

using ckfuzz::Check;

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
    const bool expected = ckfuzz::DebugSwitchModel(null_line ? nullptr : &units, before);
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
