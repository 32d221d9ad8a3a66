// The framework door on Linux: the simulated framework is built with the same
// compiler, so its declarations in sdk/ are called natively.
#if !defined(_WIN32)

#include <spdlog/spdlog.h>

#include <memory>
#include <new>

#include "asa/asa.h"
#include "host/framework/framework.h"

namespace ck::host {

namespace {

FString Text(std::u16string_view text) {
  return FString(static_cast<int32>(text.size()), reinterpret_cast<const WIDECHAR*>(text.data()));
}

std::shared_ptr<spdlog::logger>& Logger() {
  static std::shared_ptr<spdlog::logger> logger;
  return logger;
}

}  // namespace

bool SetHook(const std::string& key, void* detour, void** original) {
  return AsaApi::GetHooks().SetHook(key, detour, original);
}

bool DisableHook(const std::string& key, void* detour) { return AsaApi::GetHooks().DisableHook(key, detour); }

void AddConsoleCommand(std::u16string_view name, ConsoleCommandFn callback) {
  AsaApi::GetCommands().AddConsoleCommand(Text(name), callback);
}

bool RemoveConsoleCommand(std::u16string_view name) { return AsaApi::GetCommands().RemoveConsoleCommand(Text(name)); }

void AddOnTickCallback(std::u16string_view id, TickFn callback) {
  AsaApi::GetCommands().AddOnTickCallback(Text(id), callback);
}

bool RemoveOnTickCallback(std::u16string_view id) { return AsaApi::GetCommands().RemoveOnTickCallback(Text(id)); }

void AddRconCommand(std::u16string_view name, RconCommandFn callback) {
  AsaApi::GetCommands().AddRconCommand(Text(name), callback);
}

bool RemoveRconCommand(std::u16string_view name) { return AsaApi::GetCommands().RemoveRconCommand(Text(name)); }

UWorld* CurrentWorld() { return AsaApi::GetApiUtils().GetWorld(); }

AShooterGameMode* CurrentGameMode() { return AsaApi::GetApiUtils().GetShooterGameMode(); }

bool SendChatMessage(AShooterPlayerController* player, std::u16string_view module_path,
                     std::u16string_view sender, std::u16string_view text) {
  const std::shared_ptr<MessagingManager> messaging = AsaApi::GetApiUtils().GetMessagingManager(Text(module_path));
  if (!messaging) return false;
  messaging->SendChatMessage(player, Text(sender), Text(text));
  return true;
}

bool SendServerMessage(AShooterPlayerController* player, std::u16string_view module_path,
                       std::u16string_view text) {
  const std::shared_ptr<MessagingManager> messaging = AsaApi::GetApiUtils().GetMessagingManager(Text(module_path));
  if (!messaging) return false;
  messaging->SendServerMessage(player, FLinearColor{1.0f, 1.0f, 1.0f, 1.0f}, Text(text));
  return true;
}

void* FieldAddress(const void* object, const std::string& key) {
  return reinterpret_cast<void*>(::GetAddress(object, key));
}

void* FunctionAddress(const std::string& key) { return ::GetAddress(key); }

BitField BitFieldOf(const void* object, const std::string& key) { return ::GetBitField(object, key); }

void ConstructEngineString(FString* target, std::u16string_view text) {
  new (target) FString(static_cast<int32>(text.size()), reinterpret_cast<const WIDECHAR*>(text.data()));
}

void OpenLog(std::string_view logger_name) {
  auto& sinks = ::GetLogSinks();
  auto logger = std::make_shared<spdlog::logger>(std::string(logger_name), sinks.begin(), sinks.end());
  Logger() = logger;
  logger->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  logger->flush_on(spdlog::level::info);
}

bool LogIsOpen() { return Logger() != nullptr; }

void WriteLog(LogLevel level, std::string_view text) {
  const auto& logger = Logger();
  if (!logger) return;
  const spdlog::level::level_enum spd = level == LogLevel::kError  ? spdlog::level::err
                                        : level == LogLevel::kWarn ? spdlog::level::warn
                                                                   : spdlog::level::info;
  logger->log(spd, spdlog::string_view_t(text.data(), text.size()));
}

}  // namespace ck::host

#endif  // !_WIN32
