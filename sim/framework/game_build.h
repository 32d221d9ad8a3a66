// The game build the simulated framework serves: which keys its offsets
// dump lacks, and the framework's cache of that dump on disk.
//
// The key registry knows every key the simulated game has; a game build may
// lack some of them in its dump (a game update dropped or renamed them). The
// game's own flows still run those functions: only the names are gone. The
// framework then answers a request for such a key the way the released
// framework (API 2.03) does: a critical line naming the key and the plugin
// that asked, the calling thread frozen for 10 seconds (here the simulated
// clock moves on by 10 seconds; nothing sleeps), then a bare rethrow. With
// the framework's HooksDoNotThrow setting, a request for a function or hook
// key answers null at once instead; field and bit-field requests always
// stall and throw.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace simfw {

class KeyRegistry;

// What the framework raises for a missing key: a rethrow with no exception
// in flight. Natively this object stands for it (it is no std::exception);
// the Windows framework double raises an MSVC C++ exception without throw
// information instead.
struct BareRethrow {};

enum class OffsetsCacheState { kPresent, kAbsent, kCorrupt };

class ASAAPI_API GameBuild {
 public:
  // How long the framework freezes the thread that asked for a missing key.
  static constexpr int64 kStallNanoseconds = 10'000'000'000;

  void SetMissingKeys(std::set<std::string> keys) { missing_ = std::move(keys); }
  void SetHooksDoNotThrow(bool on) { hooks_do_not_throw_ = on; }
  // The plugin whose requests these are, by its module's name.
  void SetPlugin(std::string name) { plugin_ = std::move(name); }
  const std::set<std::string>& MissingKeys() const { return missing_; }
  bool Lacks(const std::string& key) const { return !missing_.empty() && missing_.count(key) != 0; }

  // Notes that a plugin asked for `key` (whether the build has it or not).
  void NoteAsked(const std::string& key) { asked_.insert(key); }
  // Every key asked for since the last Reset.
  const std::set<std::string>& Asked() const { return asked_; }

  // A request for a field or a bit field the build lacks: the critical
  // line, the stall, the bare rethrow.
  [[noreturn]] void RefuseData(const std::string& key, bool bit_field);
  // A request for a function (or a hook's target) the build lacks: as
  // RefuseData, or with HooksDoNotThrow the critical line alone; then the
  // caller answers null.
  void RefuseFunction(const std::string& key);
  // What SetHook adds when the target's key answered null: the error line
  // naming the plugin and the key.
  void RefuseHook(const std::string& key);

  // Every request for a missing key, in order.
  const std::vector<std::string>& Requests() const { return requests_; }
  // Simulated time the requests froze the game for.
  int64 StalledNanoseconds() const { return stalled_; }

  // Writes the framework's offsets cache for this build below `root`
  // (ArkApi/Cache/cached_key.cache naming the cache root itself as the
  // folder that holds cached_offsets.cache and cached_bitfields.cache,
  // records as the framework writes them): every registered key the build has. `kAbsent`
  // leaves no cache there; `kCorrupt` cuts the offsets file inside its last
  // record. Files this object wrote below the same root before, with the
  // same contents, are not written again.
  void WriteCache(const std::filesystem::path& root, const KeyRegistry& registry, OffsetsCacheState state) const;

  // A build with every key, no requests, the framework's default settings.
  void Reset();

 private:
  void Request(const std::string& key, const char* what);
  void Log(bool critical, const std::string& text);

  std::set<std::string> missing_;
  bool hooks_do_not_throw_ = false;
  std::string plugin_ = "Cradlekeep";
  std::vector<std::string> requests_;
  std::set<std::string> asked_;
  // The cache last written: where, and what (kept across Reset).
  mutable std::filesystem::path written_root_;
  mutable std::string written_;
  int64 stalled_ = 0;
};

}  // namespace simfw
