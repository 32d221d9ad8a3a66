#include "sim/framework/faults.h"

namespace simfw {

void Faults::Arm(FaultSpec spec) {
  const int64 before = spec.at > 1 ? spec.at - 1 : 0;
  armed_.push_back(Armed{std::move(spec), before, false, 0});
}

void Faults::Clear() {
  armed_.clear();
  recorded_.clear();
  recording_ = false;
  game_raised_ = nullptr;
  escapes_.clear();
  calls_ = 0;
  injected_ = 0;
}

bool Faults::Hit(std::string_view key, std::string_view target) {
  ++calls_;
  if (recording_) recorded_.push_back(FaultableCall{std::string(key), std::string(target), depth_});
  if (armed_.empty()) return false;
  // Every armed fault counts every call that matches it, also a call that
  // an earlier fault hits. Faults due on the same call all take it; the one
  // armed first decides how it fails.
  const Armed* firing = nullptr;
  for (Armed& armed : armed_) {
    if (armed.spent || armed.spec.key != key) continue;
    if (armed.spec.target && *armed.spec.target != target) continue;
    if (armed.remaining_before > 0) {
      --armed.remaining_before;
      continue;
    }
    if (!armed.spec.repeat) armed.spent = true;
    ++armed.hits;
    if (firing == nullptr) firing = &armed;
  }
  if (firing == nullptr) return false;
  ++injected_;
  return Fire(*firing, key);
}

std::vector<uint64> Faults::Hits() const {
  std::vector<uint64> hits;
  for (const Armed& armed : armed_) hits.push_back(armed.hits);
  return hits;
}

void Faults::NoteEscape(std::string_view entry, const std::exception_ptr& escaping) {
  NotePluginEscape(entry, escaping);
  escapes_.back().games_own = escaping != nullptr && escaping == game_raised_;
}

void Faults::NotePluginEscape(std::string_view entry, const std::exception_ptr& escaping) {
  Escape escape{std::string(entry), "unknown exception", false};
  try {
    std::rethrow_exception(escaping);
  } catch (const std::exception& e) {
    escape.what = e.what();
  } catch (const InjectedUnknownFault& e) {
    escape.what = std::string("unknown exception (injected at ") + e.key + ")";
  } catch (...) {
  }
  escapes_.push_back(std::move(escape));
}

bool Faults::Fire(const Armed& armed, std::string_view key) {
  switch (armed.spec.mode) {
    case FaultMode::kThrow:
      throw std::runtime_error("injected fault: " + std::string(key));
    case FaultMode::kThrowUnknown:
      throw InjectedUnknownFault{armed.spec.key.c_str()};
    case FaultMode::kFail:
      return true;
  }
  return true;
}

}  // namespace simfw
