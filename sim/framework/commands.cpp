#include "sim/framework/commands.h"

#include <algorithm>
#include <cctype>

#include "sim/framework/engine_text.h"

namespace simfw {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void SimCommands::AddConsoleCommand(const FString& command,
                                    const AsaApi::ConsoleCommandCallback& callback) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.AddConsoleCommand", name)) return;
  commands_.push_back(Command{name, callback});
}

void SimCommands::AddOnTickCallback(const FString& id, const AsaApi::TickCallback& callback) {
  const std::string key = ToUtf8(id);
  if (faults_.Hit("ICommands.AddOnTickCallback", key)) return;
  auto tick = std::make_unique<Tick>();
  tick->id = key;
  tick->callback = callback;
  ticks_.push_back(std::move(tick));
}

bool SimCommands::RemoveConsoleCommand(const FString& command) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.RemoveConsoleCommand", name)) return false;
  auto it = std::find_if(commands_.begin(), commands_.end(),
                         [&](const Command& c) { return c.name == name; });
  if (it == commands_.end()) return false;
  commands_.erase(it);
  return true;
}

bool SimCommands::RemoveOnTickCallback(const FString& id) {
  const std::string key = ToUtf8(id);
  if (faults_.Hit("ICommands.RemoveOnTickCallback", key)) return false;
  for (auto& tick : ticks_) {
    if (tick->removed || tick->id != key) continue;
    tick->removed = true;
    if (ticking_depth_ == 0) Compact();
    return true;
  }
  return false;
}

bool SimCommands::DispatchConsole(const std::string& line, APlayerController* caller) {
  std::size_t begin = 0;
  while (begin < line.size() && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  std::size_t end = begin;
  while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
  const std::string word = Lower(line.substr(begin, end - begin));
  for (const Command& command : commands_) {
    if (Lower(command.name) != word) continue;
    // Copies: the command may remove itself while it runs.
    AsaApi::ConsoleCommandCallback callback = command.callback;
    const std::string name = command.name;
    FString text = FromUtf8(line);
    try {
      callback(caller, &text, false);
    } catch (...) {
      faults_.NotePluginEscape("console command " + name, std::current_exception());
      throw;
    }
    return true;
  }
  return false;
}

void SimCommands::RunTick(float delta_seconds) {
  ++ticking_depth_;
  const std::size_t count = ticks_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Tick& tick = *ticks_[i];
    if (tick.removed) continue;
    try {
      tick.callback(delta_seconds);
    } catch (...) {
      faults_.NotePluginEscape("tick callback " + tick.id, std::current_exception());
      --ticking_depth_;
      if (ticking_depth_ == 0) Compact();
      throw;
    }
  }
  --ticking_depth_;
  if (ticking_depth_ == 0) Compact();
}

void SimCommands::Compact() {
  ticks_.erase(std::remove_if(ticks_.begin(), ticks_.end(),
                              [](const std::unique_ptr<Tick>& t) { return t->removed; }),
               ticks_.end());
}

std::vector<std::string> SimCommands::ConsoleCommandNames() const {
  std::vector<std::string> names;
  for (const Command& c : commands_) names.push_back(c.name);
  return names;
}

std::vector<std::string> SimCommands::TickCallbackIds() const {
  std::vector<std::string> ids;
  for (const auto& t : ticks_) {
    if (!t->removed) ids.push_back(t->id);
  }
  return ids;
}

void SimCommands::Clear() {
  commands_.clear();
  ticks_.clear();
  ticking_depth_ = 0;
}

}  // namespace simfw
