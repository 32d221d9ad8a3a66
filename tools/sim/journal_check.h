// The check of the plugin's capture journal against the ledger of creatures.
//
// The run looks at the ledger (every pod holding a creature's data that a
// player can reach) when the world is built, whenever the plugin writes a
// journal line, and at the end of every step. Between looks the check keeps,
// for every pod, the looks it held that creature's data in (a stay); a stay
// that begins after the first look, in a pod that did not hold that data at
// the look before, is a capture's: the game's own flows never put a
// creature's data into a new pod (a release that replaces its pod empties
// the new one before anything can look).
//
// A line's keys that are present must agree with the ledger; a key the line
// lacks (the game build lacks the member the plugin reads) agrees with all:
//  1. a capture line with outcome=podded: some pod with id `item`, held by
//     the player whose linkedPlayerId is `playerId`, holds the data of the
//     creature whose dinoId is `creatureId` at the line's look or a later
//     one: a podded line never points to a pod the creature was never in
//     after it was written (it may have left that pod since);
//  2. once the run has any journal line: every capture's stay has a capture
//     line with outcome=podded that agrees with it, written in the same step;
//  3. a capture line with outcome=left names no creature (by `creatureId`)
//     whose data a capture's stay shows entering a pod in that line's
//     capture: in the same step, after the step's previous capture line
//     naming that creature and before its next one.
//  4. every status the plugin writes to the log agrees with the journal
//     since the plugin last started: its captures done are the capture
//     lines with outcome=podded, its captures failed those with
//     outcome=left, its temporary pods removed the podRemoved lines.
// Every line that does not parse is a failure too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game/roster.h"

namespace simtool {

class JournalCheck {
 public:
  // A look at the ledger. The first look is the world as the scenario built it.
  void Look(std::vector<sim::HeldPod> pods);
  // The step that plays from now on, named by its place ("steps[3]").
  void BeginStep(std::string where);
  // A journal line as the plugin writes it (IsJournalLine), with the ledger
  // at that moment.
  void Line(std::string_view text, std::vector<sim::HeldPod> pods);

  // The plugin starts (a load): its status counts from here.
  void PluginStarts();
  // Any other line the plugin writes at info level: the status's counters
  // line ("since start-up: captures ...") is compared with the journal.
  void Status(std::string_view text);

  // The lines that parse, oldest first (ParseJournalLine).
  nlohmann::ordered_json Entries() const;
  // Each line that does not parse and each way the journal disagrees with
  // the ledger, as a text naming it; empty when the journal holds.
  std::vector<std::string> Failures() const;

 private:
  struct Stay {
    sim::HeldPod pod;
    int first;    // the look it began at
    int last;     // the last look it held at
    int step;     // the step of its first look
    bool capture;  // a capture's (see above)
  };
  struct Written {
    nlohmann::ordered_json entry;
    int look;  // the look taken as it was written
    int step;
    std::size_t index;  // its place in Entries()
  };

  std::string StepName(int step) const;  // "steps[3]"
  std::string During(int step) const;    // "in steps[3]"
  std::string PodText(const sim::HeldPod& pod) const;
  std::string LineText(const Written& line) const;
  void CheckPodded(const Written& line, std::vector<std::string>& failures) const;
  void CheckLeft(const Written& line, std::vector<std::string>& failures) const;
  void CheckCaptured(const Stay& stay, std::vector<std::string>& failures) const;

  std::size_t started_at_ = 0;  // the first line since the plugin last started
  std::vector<std::string> disagreements_;
  std::vector<Stay> stays_;
  std::vector<std::size_t> open_;  // the stays the last look saw
  std::vector<Written> lines_;
  std::vector<std::string> unreadable_;
  std::vector<std::string> steps_;
  int look_ = -1;
  int step_ = -1;  // -1: before the first step
};

}  // namespace simtool
