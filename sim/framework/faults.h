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
struct FaultableCall {
  std::string key;
  std::string target;
};

class ASAAPI_API Faults {
 public:
  void Arm(FaultSpec spec);
  void Clear();

  // Called first by every fault-able operation. Returns true when the call
  // must return its failure value; throws for the throwing modes.
  bool Hit(std::string_view key, std::string_view target = {});

  // Fault-able calls seen since the last Clear, and a fault's count of hits.
  uint64 Calls() const { return calls_; }
  uint64 Injected() const { return injected_; }

  // While recording, every fault-able call is appended to Recorded().
  void SetRecording(bool on) { recording_ = on; }
  const std::vector<FaultableCall>& Recorded() const { return recorded_; }

 private:
  struct Armed {
    FaultSpec spec;
    int64 remaining_before;  // matching calls still to pass before the first hit
    bool spent;
  };
  bool Fire(const Armed& armed, std::string_view key);

  std::vector<Armed> armed_;
  std::vector<FaultableCall> recorded_;
  uint64 calls_ = 0;
  uint64 injected_ = 0;
  bool recording_ = false;
};

}  // namespace simfw
