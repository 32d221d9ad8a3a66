#include "sim/framework/commands.h"

#include <algorithm>
#include <cctype>

#include "sim/framework/engine_text.h"
#include "sim/framework/framework.h"
#include "sim/game/records.h"

namespace simfw {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string FirstWord(const std::string& line) {
  std::size_t begin = 0;
  while (begin < line.size() && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  std::size_t end = begin;
  while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
  return line.substr(begin, end - begin);
}

// A callback whose code went with its module is kept, never destroyed.
template <typename Callback>
void KeepIfUnloaded(Callback& callback, int module, const std::string& what) {
  if (!callback || !Fw().modules.Unloaded(module)) return;
  Fw().modules.NoteDefect("the framework destroys " + what + ", whose code was in an unloaded plugin");
  Modules::Keep(std::move(callback));
}

}  // namespace

SimCommands::Command::~Command() {
  KeepIfUnloaded(console, module, "console command '" + name + "'");
  KeepIfUnloaded(rcon, module, "RCON command '" + name + "'");
}

SimCommands::Tick::~Tick() { KeepIfUnloaded(callback, module, "tick callback '" + id + "'"); }

void SimCommands::AddConsoleCommand(const FString& command, const AsaApi::ConsoleCommandCallback& callback) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.AddConsoleCommand", name)) return;
  auto entry = std::make_shared<Command>();
  entry->name = name;
  entry->module = Fw().modules.Current();
  entry->console = callback;
  commands_.push_back(std::move(entry));
}

void SimCommands::AddRconCommand(const FString& command,
                                 const std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>& callback) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.AddRconCommand", name)) return;
  auto entry = std::make_shared<Command>();
  entry->name = name;
  entry->module = Fw().modules.Current();
  entry->rcon = callback;
  rcon_commands_.push_back(std::move(entry));
}

void SimCommands::AddFrameworkConsoleCommand(const std::string& name, AsaApi::ConsoleCommandCallback callback) {
  auto entry = std::make_shared<Command>();
  entry->name = name;
  entry->framework_own = true;
  entry->console = std::move(callback);
  commands_.push_back(std::move(entry));
}

void SimCommands::AddFrameworkRconCommand(const std::string& name, RconHandler handler) {
  auto entry = std::make_shared<Command>();
  entry->name = name;
  entry->framework_own = true;
  entry->framework_rcon = std::move(handler);
  rcon_commands_.push_back(std::move(entry));
}

void SimCommands::AddOnTickCallback(const FString& id, const AsaApi::TickCallback& callback) {
  const std::string key = ToUtf8(id);
  if (faults_.Hit("ICommands.AddOnTickCallback", key)) return;
  auto tick = std::make_unique<Tick>();
  tick->id = key;
  tick->module = Fw().modules.Current();
  tick->callback = callback;
  ticks_.push_back(std::move(tick));
}

bool SimCommands::Remove(CommandList& list, const std::string& name) {
  auto it = std::find_if(list.begin(), list.end(), [&](const std::shared_ptr<Command>& c) {
    return c && SameName(c->name, name);
  });
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

bool SimCommands::RemoveConsoleCommand(const FString& command) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.RemoveConsoleCommand", name)) return false;
  return Remove(commands_, name);
}

bool SimCommands::RemoveRconCommand(const FString& command) {
  const std::string name = ToUtf8(command);
  if (faults_.Hit("ICommands.RemoveRconCommand", name)) return false;
  return Remove(rcon_commands_, name);
}

bool SimCommands::RemoveOnTickCallback(const FString& id) {
  const std::string key = ToUtf8(id);
  if (faults_.Hit("ICommands.RemoveOnTickCallback", key)) return false;
  for (auto& tick : ticks_) {
    if (tick->removed || !SameName(tick->id, key)) continue;
    tick->removed = true;
    if (ticking_depth_ == 0) Compact();
    return true;
  }
  return false;
}

std::shared_ptr<SimCommands::Command> SimCommands::Find(const CommandList& snapshot, const std::string& line) {
  const std::string word = FirstWord(line);
  if (word.empty()) return nullptr;
  for (const auto& command : snapshot) {
    if (command && command->Callable() && SameName(command->name, word)) return command;
  }
  return nullptr;
}

bool SimCommands::DispatchConsole(const std::string& line, APlayerController* caller) {
  // The copy keeps every entry alive until the dispatch ends, as the
  // framework's does: a command that unloads a plugin outlives it here.
  const CommandList snapshot = commands_;
  const std::shared_ptr<Command> command = Find(snapshot, line);
  if (command == nullptr) return false;
  if (Fw().modules.Unloaded(command->module)) {
    Fw().modules.NoteDefect("the framework calls console command '" + command->name + "' of an unloaded plugin");
    return true;
  }
  AsaApi::ConsoleCommandCallback callback = command->console;
  FString text = FromUtf8(line);
  try {
    callback(caller, &text, false);
  } catch (...) {
    faults_.NotePluginEscape("console command " + command->name, std::current_exception());
    throw;
  }
  return true;
}

bool SimCommands::DispatchRcon(RCONClientConnection* connection, sim::rec::RCONPacket* packet, UWorld* world,
                               std::string& reply) {
  const int units = packet != nullptr && packet->Body.Data.ArrayNum > 0 ? packet->Body.Data.ArrayNum - 1 : 0;
  const std::string line = units > 0 ? ToUtf8(packet->Body.Data.Data, units) : std::string();
  const CommandList snapshot = rcon_commands_;
  const std::shared_ptr<Command> command = Find(snapshot, line);
  if (command == nullptr) return false;
  if (Fw().modules.Unloaded(command->module)) {
    Fw().modules.NoteDefect("the framework calls RCON command '" + command->name + "' of an unloaded plugin");
    return true;
  }
  if (command->framework_rcon) {
    reply = command->framework_rcon(line);
    return true;
  }
  auto callback = command->rcon;
  try {
    // The plugin declares the packet itself; it is handed the game's record.
    callback(connection, reinterpret_cast<RCONPacket*>(packet), world);
  } catch (...) {
    faults_.NotePluginEscape("RCON command " + command->name, std::current_exception());
    throw;
  }
  return true;
}

void SimCommands::RunTick(float delta_seconds) {
  ++ticking_depth_;
  // The list as the tick began: callbacks added meanwhile wait for the next
  // tick, removed ones still run in this one unless their module is gone
  // (its callbacks are emptied first).
  const std::size_t count = ticks_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Tick& tick = *ticks_[i];
    if (!tick.callback) continue;
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

void SimCommands::RemoveAllFromModule(int module) {
  if (module == 0) return;
  for (CommandList* list : {&commands_, &rcon_commands_}) {
    for (auto& command : *list) {
      if (command && command->module == module) {
        command->console = nullptr;
        command->rcon = nullptr;
      }
    }
    list->erase(std::remove_if(list->begin(), list->end(),
                               [&](const std::shared_ptr<Command>& c) { return !c || c->module == module; }),
                list->end());
  }
  for (auto& tick : ticks_) {
    if (tick->module != module) continue;
    tick->callback = nullptr;
    tick->removed = true;
  }
  if (ticking_depth_ == 0) Compact();
}

void SimCommands::Compact() {
  ticks_.erase(std::remove_if(ticks_.begin(), ticks_.end(),
                              [](const std::unique_ptr<Tick>& t) { return t->removed; }),
               ticks_.end());
}

std::vector<std::string> SimCommands::ConsoleCommandNames() const {
  std::vector<std::string> names;
  for (const auto& c : commands_) {
    if (!c->framework_own) names.push_back(c->name);
  }
  return names;
}

std::vector<std::string> SimCommands::RconCommandNames() const {
  std::vector<std::string> names;
  for (const auto& c : rcon_commands_) {
    if (!c->framework_own) names.push_back(c->name);
  }
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
  rcon_commands_.clear();
  ticks_.clear();
  ticking_depth_ = 0;
}

}  // namespace simfw
