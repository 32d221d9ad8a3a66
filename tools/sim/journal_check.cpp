#include "tools/sim/journal_check.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "tools/sim/journal_line.h"

namespace simtool {

using nlohmann::ordered_json;

namespace {

bool SamePod(const sim::HeldPod& a, const sim::HeldPod& b) {
  return a.creature == b.creature && a.dino_id == b.dino_id && a.item.ItemID1 == b.item.ItemID1 &&
         a.item.ItemID2 == b.item.ItemID2 && a.player == b.player;
}

ordered_json IdValue(const sim::DinoId& id) { return ordered_json::array({id.id1, id.id2}); }

std::string PairText(const ordered_json& pair) {
  return pair.is_array() ? pair[0].dump() + "," + pair[1].dump() : std::string("?");
}

// The line's creatureId names the creature whose data the pod holds.
bool SameCreature(const ordered_json& creature_id, const sim::HeldPod& pod) {
  return pod.dino_id && creature_id == IdValue(*pod.dino_id);
}

// Every key of the line that the ledger can check agrees with the pod.
bool Agrees(const ordered_json& entry, const sim::HeldPod& pod) {
  const ordered_json& creature_id = entry["creatureId"];
  const ordered_json& item = entry["item"];
  const ordered_json& player_id = entry["playerId"];
  return (creature_id.is_null() || SameCreature(creature_id, pod)) &&
         (item.is_null() || item == ordered_json::array({pod.item.ItemID1, pod.item.ItemID2})) &&
         (player_id.is_null() || player_id == pod.linked_player_id);
}

bool IsCapture(const ordered_json& entry, const char* outcome) {
  return entry["event"] == "capture" && entry["outcome"] == outcome;
}

}  // namespace

void JournalCheck::Look(std::vector<sim::HeldPod> pods) {
  ++look_;
  std::vector<std::size_t> now;
  std::vector<bool> taken(open_.size(), false);
  for (sim::HeldPod& pod : pods) {
    std::size_t k = 0;
    while (k < open_.size() && (taken[k] || !SamePod(stays_[open_[k]].pod, pod))) ++k;
    if (k < open_.size()) {
      taken[k] = true;
      stays_[open_[k]].last = look_;
      now.push_back(open_[k]);
      continue;
    }
    stays_.push_back(Stay{std::move(pod), look_, look_, step_, look_ > 0});
    now.push_back(stays_.size() - 1);
  }
  open_ = std::move(now);
}

void JournalCheck::BeginStep(std::string where) {
  steps_.push_back(std::move(where));
  step_ = static_cast<int>(steps_.size()) - 1;
}

void JournalCheck::Line(std::string_view text, std::vector<sim::HeldPod> pods) {
  Look(std::move(pods));
  ParsedJournalLine parsed = ParseJournalLine(text);
  if (!parsed.entry) {
    unreadable_.push_back("a line written " + During(step_) + " does not parse (" + parsed.problem + "): " +
                          std::string(text));
    return;
  }
  lines_.push_back(Written{std::move(*parsed.entry), look_, step_, lines_.size()});
}

void JournalCheck::PluginStarts() { started_at_ = lines_.size(); }

void JournalCheck::Status(std::string_view text) {
  constexpr std::string_view kCounters = "since start-up: captures ";
  if (text.substr(0, kCounters.size()) != kCounters) return;
  unsigned long long done = 0, failed = 0, refused = 0, made = 0, removed = 0;
  const std::string line(text);
  if (std::sscanf(line.c_str(),
                  "since start-up: captures %llu done, %llu failed, %llu refused by the cooldown; temporary pods %llu "
                  "made, %llu removed",
                  &done, &failed, &refused, &made, &removed) != 5) {
    disagreements_.push_back("a status line " + During(step_) + " does not read as the counters: " + line);
    return;
  }
  unsigned long long podded = 0, left = 0, gone = 0;
  for (std::size_t i = started_at_; i < lines_.size(); ++i) {
    const ordered_json& e = lines_[i].entry;
    podded += IsCapture(e, "podded") ? 1 : 0;
    left += IsCapture(e, "left") ? 1 : 0;
    gone += e["event"] == "podRemoved" ? 1 : 0;
  }
  const auto differ = [&](const char* what, unsigned long long status, unsigned long long journal, const char* lines) {
    if (status == journal) return;
    disagreements_.push_back("the status " + During(step_) + " counts " + std::to_string(status) + " " + what +
                             ", the journal since start-up has " + std::to_string(journal) + " " + lines);
  };
  differ("captures done", done, podded, "capture lines with outcome=podded");
  differ("captures failed", failed, left, "capture lines with outcome=left");
  differ("temporary pods removed", removed, gone, "podRemoved lines");
}

ordered_json JournalCheck::Entries() const {
  ordered_json entries = ordered_json::array();
  for (const Written& line : lines_) entries.push_back(line.entry);
  return entries;
}

std::vector<std::string> JournalCheck::Failures() const {
  std::vector<std::string> failures = unreadable_;
  failures.insert(failures.end(), disagreements_.begin(), disagreements_.end());
  for (const Written& line : lines_) {
    if (IsCapture(line.entry, "podded")) CheckPodded(line, failures);
    if (IsCapture(line.entry, "left")) CheckLeft(line, failures);
  }
  // Until the plugin writes a journal, a capture with no line is no fault.
  if (lines_.empty() && unreadable_.empty()) return failures;
  for (const Stay& stay : stays_) {
    if (stay.capture) CheckCaptured(stay, failures);
  }
  return failures;
}

std::string JournalCheck::StepName(int step) const {
  return step < 0 ? std::string("before the first step") : steps_[static_cast<std::size_t>(step)];
}

std::string JournalCheck::During(int step) const { return (step < 0 ? "" : "in ") + StepName(step); }

std::string JournalCheck::PodText(const sim::HeldPod& pod) const {
  return pod.creature + " (creatureId " + (pod.dino_id ? PairText(IdValue(*pod.dino_id)) : "none") + ") in item " +
         std::to_string(pod.item.ItemID1) + "," + std::to_string(pod.item.ItemID2) + " of " + pod.player +
         " (playerId " + std::to_string(pod.linked_player_id) + (pod.uploaded ? ", uploaded)" : ")");
}

std::string JournalCheck::LineText(const Written& line) const {
  const ordered_json& e = line.entry;
  return "journal[" + std::to_string(line.index) + "] (" + StepName(line.step) + ", capture " +
         e["outcome"].get<std::string>() + ", creatureId " + (e["creatureId"].is_null() ? "-" : PairText(e["creatureId"])) +
         ", item " + (e["item"].is_null() ? "-" : PairText(e["item"])) + ", playerId " +
         (e["playerId"].is_null() ? "-" : e["playerId"].dump()) + ")";
}

void JournalCheck::CheckPodded(const Written& line, std::vector<std::string>& failures) const {
  std::string seen;
  for (const Stay& stay : stays_) {
    if (stay.last < line.look) continue;
    if (Agrees(line.entry, stay.pod)) return;
    const ordered_json& creature_id = line.entry["creatureId"];
    if (!creature_id.is_null() && SameCreature(creature_id, stay.pod)) {
      seen += (seen.empty() ? "" : "; ") + PodText(stay.pod);
    }
  }
  failures.push_back(LineText(line) + " points to a pod that never held that creature after the line" +
                     (seen.empty() ? std::string() : "; the ledger has it: " + seen));
}

void JournalCheck::CheckLeft(const Written& line, std::vector<std::string>& failures) const {
  const ordered_json& creature_id = line.entry["creatureId"];
  if (creature_id.is_null()) return;
  // The line's capture: after the step's previous capture line naming the
  // creature, before its next one.
  int after = -1, before = std::numeric_limits<int>::max();
  for (const Written& other : lines_) {
    if (other.step != line.step || other.entry["event"] != "capture" || other.entry["creatureId"] != creature_id) {
      continue;
    }
    if (other.index < line.index) after = std::max(after, other.look);
    if (other.index > line.index) before = std::min(before, other.look);
  }
  for (const Stay& stay : stays_) {
    if (stay.capture && stay.step == line.step && stay.first > after && stay.first < before &&
        SameCreature(creature_id, stay.pod)) {
      failures.push_back(LineText(line) + " says the creature was left, but that capture put " + PodText(stay.pod));
    }
  }
}

void JournalCheck::CheckCaptured(const Stay& stay, std::vector<std::string>& failures) const {
  for (const Written& line : lines_) {
    if (line.step == stay.step && IsCapture(line.entry, "podded") && Agrees(line.entry, stay.pod)) return;
  }
  failures.push_back("a capture " + During(stay.step) + " put " + PodText(stay.pod) +
                     ", and no capture line of that step with outcome=podded agrees with it");
}

}  // namespace simtool
