// Fault injection on game functions and framework operations.
//
// A fault is armed on a key (a game function's key string, or a framework
// operation such as "IHooks.SetHook"), optionally narrowed to one target (a
// hook key, command name or tick id). It hits the Nth matching call from the
// moment it is armed, and with `repeat` every matching call after that. A hit
// call does none of its work: it throws, or returns its failure value.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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

  // Marks an entry into the plugin (see FaultableCall::depth); every Enter
  // is matched by one Leave, also when the call ends with an exception.
  void Enter() { ++depth_; }
  void Leave() { --depth_; }
  class Entry {
   public:
    explicit Entry(Faults& faults) : faults_(faults) { faults_.Enter(); }
    ~Entry() { faults_.Leave(); }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

   private:
    Faults& faults_;
  };
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
};

}  // namespace simfw
