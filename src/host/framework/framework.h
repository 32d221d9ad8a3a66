// The plugin's one door to the framework: hooks, console and RCON commands
// and tick callbacks, the current world and game mode, messaging, game members by key,
// engine text construction and the shared log sinks.
//
// Everything else in the plugin reaches the framework through these calls.
// On Linux they call the simulated framework natively; on Windows they speak
// the real, MSVC-built framework's binary interface (msvc/ beside this file).
// A failure inside the framework arrives as a std::exception thrown from the
// call (on Windows the framework's own C++ exceptions are caught at the
// boundary and rethrown as std::runtime_error); nothing else is thrown.
// Game thread only.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::host {

// --- hooks ---------------------------------------------------------------

// Installs `detour` in front of the game function `key`; on success
// `*original` holds the previous target. False when the framework refuses.
[[nodiscard]] bool SetHook(const std::string& key, void* detour, void** original);

// Takes `detour` out of the chain of `key`. False when it was not there.
bool DisableHook(const std::string& key, void* detour);

// --- console commands and tick callbacks ---------------------------------

using ConsoleCommandFn = void (*)(APlayerController* caller, FString* line, bool from_rcon);
using TickFn = void (*)(float delta_seconds);

void AddConsoleCommand(std::u16string_view name, ConsoleCommandFn callback);
// True when a command of that name was registered and is now gone.
bool RemoveConsoleCommand(std::u16string_view name);
void AddOnTickCallback(std::u16string_view id, TickFn callback);
// True when a tick callback of that id was registered and is now gone.
bool RemoveOnTickCallback(std::u16string_view id);

// --- RCON commands -----------------------------------------------------------

// An RCON command: the framework runs it for an authenticated client whose
// packet's body starts with its name (letters' case ignored), with the
// client's connection, the packet and the world; a packet a command took
// does not reach the game.
using RconCommandFn = void (*)(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

void AddRconCommand(std::u16string_view name, RconCommandFn callback);
// True when a command of that name was registered and is now gone.
bool RemoveRconCommand(std::u16string_view name);

// --- utilities -------------------------------------------------------------

// Null while there is none.
UWorld* CurrentWorld();
AShooterGameMode* CurrentGameMode();

// Sends a chat line to `player` through the messaging object of the plugin
// whose module file is `module_path`. False when the framework has no
// messaging object for it (nothing is sent).
bool SendChatMessage(AShooterPlayerController* player, std::u16string_view module_path,
                     std::u16string_view sender, std::u16string_view text);
// The same as a server message, in white; false when there is no messaging
// object.
bool SendServerMessage(AShooterPlayerController* player, std::u16string_view module_path, std::u16string_view text);

// --- game members by key ---------------------------------------------------

// Address of the field `key` inside `object` (object must not be null).
void* FieldAddress(const void* object, const std::string& key);
// Address of the game function `key`.
void* FunctionAddress(const std::string& key);
// The bit field `key` inside `object`.
BitField BitFieldOf(const void* object, const std::string& key);

// --- engine text -------------------------------------------------------------

// Constructs an engine string holding exactly `text` in `target` (raw
// storage, not yet a string) with the framework's exported constructor; its
// buffer comes from the engine allocator.
void ConstructEngineString(FString* target, std::u16string_view text);

// --- log ---------------------------------------------------------------------

enum class LogLevel { kInfo, kWarn, kError };

// Opens the named logger on the framework's shared sinks (replacing an
// earlier one); lines are rendered "%D %R [name][level] text", local time,
// and the sinks are flushed after every line.
void OpenLog(std::string_view logger_name);
bool LogIsOpen();
// Writes one line to every shared sink; nothing before OpenLog.
void WriteLog(LogLevel level, std::string_view text);

}  // namespace ck::host
