#include "plugin/game_build.h"

#include <span>
#include <string>
#include <vector>

#include "core/boundary.h"
#include "core/log.h"
#include "host/engine/custom_item_record.h"
#include "host/game/cache_check/build_check.h"
#include "host/game/parts.h"
#include "host/framework/module_path.h"
#include "state/plugin_state.h"

namespace ck::plugin {

namespace {

using host::Part;

// The parts of which at least one must be on for the plugin to find a
// companion at all.
constexpr Part kSlots[] = {Part::kRiddenSlot, Part::kMountedSlot, Part::kCarriedSlot, Part::kSecondarySlot,
                           Part::kPreviousMounted, Part::kPreviousSecondary};

std::size_t IndexOf(std::span<const host::KeyNeed> table, const host::GameKey* member) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].member == member) return i;
  }
  return table.size();
}

// Compares the offset the build gives each member of the custom item data
// record with the plugin's layout. A member the build places elsewhere means
// a game update changed the record: it is treated as missing (one error line
// each), so that nothing writes or walks a record of another layout. Returns
// the table indices of those members.
std::vector<std::size_t> CheckRecordLayout(std::vector<std::size_t>& names) {
  const auto table = host::GameKeyTable();
  std::vector<std::size_t> moved;
  for (const host::RecordMember& record_member : host::kCustomItemDataMembers) {
    const std::size_t i = IndexOf(table, record_member.member);
    if (i == table.size() || names[i] == host::GameKey::kNoName) continue;
    const char* key = record_member.member->Key();
    std::ptrdiff_t offset = -1;
    std::string failure;
    FCustomItemData probe{};
    core::Contain([&] { offset = host::AskFieldOffset(*record_member.member, &probe); },
                  [&](const char* what) { failure = what; });
    if (failure.empty() && offset == record_member.offset) continue;
    names[i] = host::GameKey::kNoName;
    moved.push_back(i);
    const std::string parts = host::DescribeParts(host::PartsOffWithout(i));
    if (!failure.empty()) {
      log::Error("Cradlekeep could not read where this game build places {} ({}); turned off: {}", key, failure, parts);
    } else {
      log::Error("Cradlekeep game key {} is at offset {} on this game build, not at {} (turned off: {})", key, offset,
                 record_member.offset, parts);
    }
  }
  return moved;
}

bool Contains(const std::vector<std::size_t>& indices, std::size_t i) {
  for (std::size_t index : indices) {
    if (index == i) return true;
  }
  return false;
}

// What the build check found, for the log and the status command: the
// members missing under every name, and "A is B" for each found under another.
state::GameBuildSummary Summary(const std::vector<std::size_t>& names) {
  const auto table = host::GameKeyTable();
  state::GameBuildSummary summary;
  summary.checked = true;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (names[i] == host::GameKey::kNoName) {
      summary.missing.emplace_back(table[i].member->Key());
    } else if (names[i] != 0) {
      summary.renamed.push_back(std::string(table[i].member->Key()) + " is " + table[i].member->NameKey(names[i]));
    }
  }
  return summary;
}

// One info line for each member the build has under another of its names
// ("A is B", as the summary words it).
void LogOtherNames(const state::GameBuildSummary& summary) {
  for (const std::string& renamed : summary.renamed) {
    log::Info("Cradlekeep game key {} on this game build", renamed);
  }
}

// ", also looked for as <name>, <name>" for a member with other names.
std::string AlsoLookedFor(const host::GameKey& member) {
  std::string text;
  for (const host::OtherName& name : member.OtherNames()) {
    text += text.empty() ? ", also looked for as " : ", ";
    text += name.key;
  }
  return text;
}

// One warn line for each member the build has under none of its names (the
// moved record members have had their error line); returns how many.
std::size_t LogMissing(const std::vector<bool>& present, const std::vector<std::size_t>& moved) {
  const auto table = host::GameKeyTable();
  std::size_t missing = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (present[i] || Contains(moved, i)) continue;
    ++missing;
    log::Warn("Cradlekeep game key missing from this game build: {}{} (turned off: {})", table[i].member->Key(),
              AlsoLookedFor(*table[i].member), host::DescribeParts(host::PartsOffWithout(i)));
  }
  return missing;
}

void LogMissingSummary(std::size_t missing, std::size_t renamed, host::PartSet on) {
  const std::size_t keys = host::GameKeyTable().size();
  const std::string off = host::DescribeParts(host::PartSet::All().Minus(on));
  if (renamed == 0) {
    log::Warn("Cradlekeep game build check: {} of {} game keys missing; turned off: {}", missing, keys, off);
  } else {
    log::Warn("Cradlekeep game build check: {} of {} game keys missing, {} under another name; turned off: {}",
              missing, keys, renamed, off);
  }
}

// The parts the members still present serve, after one went missing.
host::PartSet PartsOfPresentMembers() {
  const auto table = host::GameKeyTable();
  std::vector<bool> present(table.size(), false);
  for (std::size_t i = 0; i < table.size(); ++i) present[i] = table[i].member->Present();
  return host::PartsOn(present);
}

// A member the framework refused under its last name while the plugin ran:
// gone for the plugin's life, as if start-up had found it missing.
void MemberWentMissing(const host::GameKey& member) {
  const auto table = host::GameKeyTable();
  const std::size_t i = IndexOf(table, &member);
  if (i == table.size()) return;
  state::PluginState& state = state::Current();
  // Parts turned off for another reason stay off.
  state.parts_on = state.parts_on.Minus(host::PartSet::All().Minus(PartsOfPresentMembers()));
  state.build.missing.emplace_back(member.Key());
  log::Warn("Cradlekeep game key missing from this game build: {}{} (turned off: {})", member.Key(),
            AlsoLookedFor(member), host::DescribeParts(host::PartsOffWithout(i)));
}

}  // namespace

bool CheckGameBuild() {
  const auto table = host::GameKeyTable();
  host::GameBuildCheck check;
  // A failure of the check itself (a path the system refuses, no memory) is
  // one more reason it could not be made, not a reason not to start.
  core::Contain([&] { check = host::CheckGameBuild(host::FrameworkCacheRoot(host::OwnModulePath())); },
                [&](const char* what) {
                  check = host::GameBuildCheck{};
                  check.why = what;
                });
  if (!check.checked) {
    state::Current().build = state::GameBuildSummary{false, check.why, {}, {}, {}};
    host::BindGameKeys({});
    log::Warn("Cradlekeep could not check the game keys against this game build ({}); starting without the check",
              check.why);
    // Its ids are the one thing the journal would ask for on its own: on a
    // build that lacks one, each first request would stall the game.
    log::Warn("Cradlekeep journal leaves out the player's name and the ids of players and creatures on a game build "
              "it could not check");
    return true;
  }
  std::vector<std::size_t> names = check.names;
  host::BindGameKeyNames(names);
  const std::vector<std::size_t> moved = CheckRecordLayout(names);
  if (!moved.empty()) host::BindGameKeyNames(names);
  std::vector<bool> present(table.size(), false);
  for (std::size_t i = 0; i < table.size(); ++i) present[i] = names[i] != host::GameKey::kNoName;
  const host::PartSet on = host::PartsOn(present);
  state::Current().parts_on = on;

  state::Current().build = Summary(names);
  LogOtherNames(state::Current().build);
  const std::size_t renamed = state::Current().build.renamed.size();
  const std::size_t missing = LogMissing(present, moved);
  if (missing == 0 && moved.empty()) {
    if (renamed == 0) {
      log::Trace("Cradlekeep game build check: all {} game keys present", table.size());
    } else {
      log::Info("Cradlekeep game build check: all {} game keys present, {} under another name", table.size(), renamed);
    }
    return true;
  }
  if (missing > 0) LogMissingSummary(missing, renamed, on);

  bool finds_companions = false;
  for (Part slot : kSlots) finds_companions = finds_companions || on.Has(slot);
  if (!on.Has(Part::kEngine) || !finds_companions) {
    log::Error("Cradlekeep cannot work on this game build without {}; nothing was installed",
               on.Has(Part::kEngine) ? "finding companions" : host::PartName(Part::kEngine));
    state::Current().usable_build = false;
    return false;
  }
  return true;
}

}  // namespace ck::plugin

namespace ck::host {

void GameKeyRefused(const GameKey& member, const char* refused_key) noexcept {
  core::Contain(
      [&] {
        if (!state::Running()) return;
        if (member.Present()) {
          log::Info("Cradlekeep game key {} is not on this game build; asking for {} instead", refused_key,
                    member.BoundKey());
        } else {
          plugin::MemberWentMissing(member);
        }
      },
      [](const char*) {});
}

}  // namespace ck::host
