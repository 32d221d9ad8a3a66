// Fault injection on game functions and framework operations.
//
// A fault is armed on a key (a game function's key string, or a framework
// operation such as "IHooks.SetHook"), optionally narrowed to one target (a
// hook key, command name or tick id). It hits the Nth matching call from the
// moment it is armed, and with `repeat` every matching call after that; each
// armed fault counts every matching call, whatever other faults do with it.
// A hit call does none of its work: it throws, or returns its failure value.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "asa/engine_types.h"

namespace simfw {

enum class FaultMode { kThrow, kThrowUnknown, kFail };

struct FaultSpec {
  std::string key;
  std::optional<std::string> target;
  FaultMode mode = FaultMode::kThrow;
  int64 at = 1;
  bool repeat = false;
};

// What a `throwUnknown` fault throws: not a std::exception.
struct InjectedUnknownFault {
  const char* key;
};

// One fault-able call as seen by the registry (for sweeps and diagnostics).
// `depth` counts the entries into the plugin in progress when the call was
// made: hooked game functions being called (each one nested in another
// counts again) and calls of the plugin's export. A hooked function's own
// game part is recorded at the depth of its call, so the plugin's work inside
// a hook callback is what lies between the call's entry and that record.
struct FaultableCall {
  std::string key;
  std::string target;
  int depth = 0;
};

// An exception that left the plugin through one of its entry points: a
// hooked function's callback, a tick callback, a console command or the
// export. `games_own` is true when it is the exception the game's own
// function raised inside that same entry and the plugin let it pass, as the
// game would have met it without the plugin.
struct Escape {
  std::string entry;
  std::string what;  // what() of a std::exception; "unknown exception" otherwise
  bool games_own = false;
};

class ASAAPI_API Faults {
 public:
  void Arm(FaultSpec spec);
  // Disarms every fault, forgets the recorded calls and stops recording.
  void Clear();

  // Called first by every fault-able operation. Returns true when the call
  // must return its failure value; throws for the throwing modes.
  bool Hit(std::string_view key, std::string_view target = {});

  // Fault-able calls seen since the last Clear, and a fault's count of hits.
  uint64 Calls() const { return calls_; }
  uint64 Injected() const { return injected_; }
  // How often each armed fault hit, in the order they were armed.
  std::vector<uint64> Hits() const;

  // While recording, every fault-able call is appended to Recorded().
  void SetRecording(bool on) { recording_ = on; }

  // Marks an entry into the plugin (see FaultableCall::depth) for its
  // lifetime, also when the call ends with an exception. Each entry has its
  // own record of what the game's function under it raised.
  class Entry {
   public:
    explicit Entry(Faults& faults) : faults_(faults) {
      ++faults_.depth_;
      if (faults_.game_raised_) [[unlikely]] outer_game_raised_ = std::exchange(faults_.game_raised_, nullptr);
    }
    ~Entry() {
      --faults_.depth_;
      if (outer_game_raised_ || faults_.game_raised_) [[unlikely]] {
        faults_.game_raised_ = std::move(outer_game_raised_);
      }
    }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

   private:
    Faults& faults_;
    std::exception_ptr outer_game_raised_;
  };

  // Called by the bottom of a hook chain when the game's own function
  // raises: the exception belongs to the game.
  void GameRaised(std::exception_ptr raised) { game_raised_ = std::move(raised); }
  // Called by an entry point when an exception leaves the plugin through
  // it; the innermost Entry must still be alive.
  void NoteEscape(std::string_view entry, const std::exception_ptr& escaping);
  // The same for an entry point with no game function under it (a tick or
  // console callback): whatever leaves is the plugin's own.
  void NotePluginEscape(std::string_view entry, const std::exception_ptr& escaping);
  // Every exception that left the plugin since the last Clear.
  const std::vector<Escape>& Escapes() const { return escapes_; }
  const std::vector<FaultableCall>& Recorded() const { return recorded_; }

 private:
  struct Armed {
    FaultSpec spec;
    int64 remaining_before;  // matching calls still to pass before the first hit
    bool spent;
    uint64 hits;
  };
  bool Fire(const Armed& armed, std::string_view key);

  std::vector<Armed> armed_;
  std::vector<FaultableCall> recorded_;
  uint64 calls_ = 0;
  uint64 injected_ = 0;
  bool recording_ = false;
  int depth_ = 0;
  std::exception_ptr game_raised_;
  std::vector<Escape> escapes_;
};

}  // namespace simfw
