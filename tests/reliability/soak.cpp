// A long, busy server: a seeded generator drives 100 players through random
// transfers on every path, returns, releases, departures and rejoins, and
// plugin reloads, for a stretch of simulated time. Every fifth player's
// inventory takes only a few items; odd seeds run a game whose forced add
// passes that limit, even seeds one whose forced add obeys it. After every
// step the transfer lock must hold what the game set. At the end nothing may
// be lost, nothing left behind but a companion whose pod found no room, no
// emptied temporary pod may outlive its clean-up, engine memory must balance
// and the plugin's own tables must stay within the bounds their own
// constants give.
// Usage: cradlekeep_soak [--minutes M] [--seed S] [--players N]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <random>
#include <string>
#include <vector>

#include "config/plugin_config.h"
#include "plugin/capture_for_transfer.h"
#include "plugin/lifecycle.h"
#include "sim/framework/framework.h"
#include "sim/game/game.h"
#include "sim/game/items.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/uncryo_observation.h"
#include "tools/sweep/growth_bound.h"
#include "transfer/capture_cooldown.h"

namespace {

struct Figures {
  long transfers = 0, downloads = 0, releases = 0, failed_releases = 0, attaches = 0, leaves = 0, rejoins = 0,
       reloads = 0, externals = 0;
  long full_inventory_refusals = 0;
  std::size_t max_cooldown = 0, max_passes = 0, max_tries = 0;
};

// The simulated seconds between steps, and the steps in each.
constexpr double kSecondsPerRound = 1.0;
constexpr int kActsPerRound = 6;

class Soak {
 public:
  Soak(unsigned seed, int players) : random_(seed) {
    previous_ = std::filesystem::current_path();
    scratch_ = std::filesystem::temp_directory_path() / ("cradlekeep-soak-" + std::to_string(seed));
    std::filesystem::create_directories(scratch_ / "ArkApi/Plugins/Cradlekeep");
    std::filesystem::current_path(scratch_);
    std::ofstream("ArkApi/Plugins/Cradlekeep/config.json")
        << R"({"CaptureMode": "Vanilla", "ItemsPlusCompatibility": true})";
    sim::ServerSettings server;
    server.tick_rate = 10;
    server.broadcasts_per_tick = 2;
    server.forced_add_ignores_limit = seed % 2 == 1;
    game_ = std::make_unique<sim::Game>(server, sim::ModSettings{});
    simfw::Fw().build.WriteCache(scratch_, simfw::Fw().registry, simfw::OffsetsCacheState::kPresent);
    for (int p = 0; p < players; ++p) {
      const std::string id = "p" + std::to_string(p);
      std::vector<std::string> pets;
      for (int c = 0; c < 1 + p % 3; ++c) {
        sim::CreatureSpec pet;
        pet.id = id + "_pet" + std::to_string(c);
        pet.team = 1000 + p;
        pet.at = FVector{p * 5000.0, 0, 0};
        game_->AddCreature(pet);
        pets.push_back(pet.id);
      }
      sim::PlayerSpec spec;
      spec.id = id;
      spec.team = 1000 + p;
      spec.at = FVector{p * 5000.0, 0, 0};
      if (p % 5 == 4) spec.inventory_limit = 1 + p % 2;
      spec.slots["mounted"] = pets[0];
      if (pets.size() > 1) spec.slots["carried"] = pets[1];
      if (pets.size() > 2) spec.slots["riding"] = pets[2];
      game_->AddPlayer(spec);
    }
    Load();
  }

  ~Soak() {
    Unload();
    game_.reset();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(scratch_);
  }

  void RunFor(double seconds) {
    for (double t = 0; t < seconds; t += kSecondsPerRound) {
      for (int k = 0; k < kActsPerRound; ++k) {
        Act();
        CheckLock("a step");
      }
      if (++seconds_run_ % 600 == 0) Reload();
      game_->Advance(kSecondsPerRound);
      CheckLock("the ticks");
      Measure();
    }
  }

  // Brings everyone home and lets the clean-up finish.
  void Settle() {
    for (const auto& player : game_->Players()) {
      if (!player->online) game_->Download(*player);
    }
    game_->Advance(40.0);
    Measure();
  }

  int Check() {
    int failures = 0;
    const auto fail = [&](const std::string& what) {
      std::fprintf(stderr, "soak: %s\n", what.c_str());
      ++failures;
    };
    for (const std::string& id : game_->Lost()) fail("lost " + id);
    for (const std::string& id : game_->Duplicated()) fail("duplicated " + id);
    for (const std::string& id : game_->LeftBehind()) {
      if (!refused_owners_.contains(OwnerOf(id))) fail("left behind " + id);
    }
    for (const std::string& violation : lock_violations_) fail("transfer lock after " + violation);
    for (const auto& player : game_->Players()) {
      if (player->inventory == nullptr) continue;
      for (sim::Item* item : player->inventory->InventoryItems) {
        if (item != nullptr && sim::HasEntryNamed(item, sim::kMarkerName) && sim::PayloadCreature(item).empty()) {
          fail("an emptied temporary pod outlived its clean-up in " + player->id + "'s inventory");
        }
      }
    }
    if (ck::temporary_pods::PendingCleanupPassCount() != 0) fail("clean-up passes still queued after the quiet spell");
    // The cooldown table reaches its threshold and no more: a new pawn past
    // it prunes the table to the pawns still cooling down, and here no more
    // pawns than the steps of one cooldown can be cooling at once. Each use
    // of a pod queues one pass per delay, and a pass lives no longer than
    // the last delay; each player has at most one try on record.
    const std::size_t players = game_->Players().size();
    const std::size_t passes_per_use = std::size(ck::temporary_pods::kCleanupPassDelaysMs);
    const double pass_lifetime_seconds = static_cast<double>(std::end(ck::temporary_pods::kCleanupPassDelaysMs)[-1]) / 1000;
    const auto uses_in_a_pass_lifetime =
        static_cast<std::size_t>(kActsPerRound * (pass_lifetime_seconds / kSecondsPerRound + 1));
    const double cooldown_seconds = ck::config::PluginConfig{}.CaptureCooldownSeconds;  // the soak keeps the default
    const auto cooling_at_once = static_cast<std::size_t>(kActsPerRound * (cooldown_seconds / kSecondsPerRound + 1));
    if (figures_.max_cooldown > std::max(ck::transfer::kCooldownPruneAbove, cooling_at_once + 1)) {
      fail("the cooldown table grew past its threshold (" + std::to_string(figures_.max_cooldown) + " pawns)");
    }
    if (figures_.max_passes > passes_per_use * uses_in_a_pass_lifetime) fail("the pending passes grew without bound");
    if (figures_.max_tries > players) fail("the try records grew without bound");
    for (const auto& slot : simfw::Fw().registry.HookableSlots()) {
      if (slot->calls != slot->reached_game) fail(slot->key + " did not reach the game once per call");
    }
    return failures;
  }

  const Figures& figures() const { return figures_; }

 private:
  template <typename T>
  T* Pick(std::vector<T*>& from) {
    if (from.empty()) return nullptr;
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random_)];
  }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

  std::vector<sim::Player*> Online(bool with_companions) {
    std::vector<sim::Player*> out;
    for (const auto& p : game_->Players()) {
      if (!p->online) continue;
      bool attached = false;
      for (const char* slot : {"riding", "mounted", "carried", "secondary"}) attached |= game_->SlotCreature(*p, slot) != nullptr;
      if (!with_companions || attached) out.push_back(p.get());
    }
    return out;
  }

  void Transfer(sim::Player& p) {
    // A companion attached less than the cooldown ago would be held back by
    // design; the generator lets the cooldown pass first.
    if (seconds_run_ - last_attach_[p.id] < 3) return;
    ++figures_.transfers;
    switch (std::uniform_int_distribution<int>(0, 5)(random_)) {
      case 0:
        game_->TransferButton(p);
        game_->DialogResult(p, true);
        game_->ConfirmTransfer(p, true);
        game_->Upload(p);
        break;
      case 1: game_->Upload(p); break;
      case 2: game_->ForceUpload(p); break;
      case 3:
        game_->DropNotReady(p);
        game_->Upload(p);
        break;
      case 4:
        game_->NetExec(p, "EXECTransferRequest", std::string("ItemsPlusComBuff_C"));
        game_->Upload(p);
        break;
      default:
        ++figures_.externals;
        if (ck::plugin::CaptureForTransfer(reinterpret_cast<AShooterPlayerController*>(p.controller))) game_->Upload(p);
        break;
    }
  }

  void Act() {
    const int what = std::uniform_int_distribution<int>(0, 9)(random_);
    if (what <= 1) {
      auto candidates = Online(true);
      if (sim::Player* p = Pick(candidates)) Transfer(*p);
    } else if (what <= 3) {
      std::vector<sim::Player*> away;
      for (const auto& p : game_->Players()) {
        if (!p->online) away.push_back(p.get());
      }
      if (sim::Player* p = Pick(away)) {
        const bool uploaded = !p->uploaded.empty() || p->inventory == nullptr;
        game_->Download(*p);
        ++(uploaded ? figures_.downloads : figures_.rejoins);
      }
    } else if (what <= 6) {
      std::vector<std::pair<sim::Player*, sim::Item*>> pods;
      for (const auto& p : game_->Players()) {
        if (!p->online || p->inventory == nullptr) continue;
        for (sim::Item* item : p->inventory->InventoryItems) {
          if (item != nullptr && !sim::PayloadCreature(item).empty()) pods.emplace_back(p.get(), item);
        }
      }
      if (pods.empty()) return;
      auto [p, pod] = pods[std::uniform_int_distribution<std::size_t>(0, pods.size() - 1)(random_)];
      const bool fails = Chance(0.1);
      game_->UseItem(*p, pod, Chance(0.3), fails);
      ++(fails ? figures_.failed_releases : figures_.releases);
    } else if (what <= 8) {
      // A released companion climbs back onto its player's shoulder.
      auto candidates = Online(false);
      sim::Player* p = Pick(candidates);
      if (p == nullptr || game_->SlotCreature(*p, "mounted") != nullptr) return;
      for (const auto& c : game_->Creatures()) {
        if (c->id.rfind(p->id + "_", 0) != 0 || c->actor() == nullptr) continue;
        bool attached = false;
        for (const auto& other : game_->Players()) {
          for (const char* slot : {"riding", "mounted", "carried", "secondary"}) {
            attached |= other->online && game_->SlotCreature(*other, slot) == c->actor();
          }
        }
        if (attached) continue;
        game_->Attach(*p, "mounted", *c);
        last_attach_[p->id] = seconds_run_;
        ++figures_.attaches;
        return;
      }
    } else if (Chance(0.3)) {
      auto candidates = Online(false);
      if (sim::Player* p = Pick(candidates)) {
        game_->Leave(*p);
        ++figures_.leaves;
      }
    }
  }

  // A companion may stay behind only when its player's inventory had no
  // room for its pod and the player was told so.
  void NoteRefusals() {
    const auto& sent = simfw::Fw().utils.Messages();
    static const std::string kCaptureFailed = ck::config::PluginConfig{}.Messages.CaptureFailed;
    for (; messages_seen_ < sent.size(); ++messages_seen_) {
      if (sent[messages_seen_].text != kCaptureFailed) continue;
      sim::Player* player = game_->FindPlayer(sent[messages_seen_].player);
      if (player != nullptr && player->inventory_limit) {
        refused_owners_.insert(player->id);
        ++figures_.full_inventory_refusals;
      }
    }
  }

  std::string OwnerOf(const std::string& creature_id) const { return creature_id.substr(0, creature_id.find('_')); }

  void CheckLock(const char* after) {
    NoteRefusals();
    for (const std::string& violation : game_->LockViolations()) {
      if (lock_violations_.size() < 20) lock_violations_.push_back(std::string(after) + ": " + violation);
    }
  }

  // As the framework loads and unloads the plugin: its registrations belong
  // to its module, which the framework cleans up after Plugin_Unload.
  void Load() {
    module_ = simfw::Fw().modules.Begin();
    ck::plugin::Startup();
  }
  void Unload() {
    ck::plugin::Teardown();
    simfw::Fw().ForgetModule(module_);
    simfw::Fw().modules.End(module_);
  }

  void Reload() {
    Unload();
    Load();
    ++figures_.reloads;
  }

  void Measure() {
    figures_.max_cooldown = std::max(figures_.max_cooldown, ck::transfer::CaptureCooldownTableSize());
    figures_.max_passes = std::max(figures_.max_passes, ck::temporary_pods::PendingCleanupPassCount());
    figures_.max_tries = std::max(figures_.max_tries, ck::temporary_pods::RecentUnCryoTryCount());
  }

  std::mt19937 random_;
  std::filesystem::path previous_, scratch_;
  std::unique_ptr<sim::Game> game_;
  std::map<std::string, long> last_attach_;
  long seconds_run_ = 0;
  std::size_t messages_seen_ = 0;
  std::set<std::string> refused_owners_;
  std::vector<std::string> lock_violations_;
  Figures figures_;
  int module_ = 0;  // the framework's module of the loaded plugin
};

}  // namespace

int main(int argc, char** argv) {
  // A soak needs tens of megabytes; a table that grows stops it early.
  cktools::BoundOwnGrowth("cradlekeep_soak", 1024);
  double minutes = 60;
  unsigned seed = 1;
  int players = 100;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--minutes") minutes = std::stod(argv[i + 1]);
    else if (arg == "--seed") seed = static_cast<unsigned>(std::stoul(argv[i + 1]));
    else if (arg == "--players") players = std::stoi(argv[i + 1]);
  }
  int failures = 0;
  Figures f;
  {
    Soak soak(seed, players);
    soak.RunFor(minutes * 60);
    soak.Settle();
    failures = soak.Check();
    f = soak.figures();
  }
  const auto live = simfw::Fw().memory.LiveBlocks();
  if (live != 0) {
    std::fprintf(stderr, "soak: %lld engine block(s) never freed\n", static_cast<long long>(live));
    ++failures;
  }
  std::printf(
      "soak: seed %u, %d players, %.0f simulated minute(s): %ld transfers (%ld external), %ld downloads, %ld rejoins, "
      "%ld releases, %ld failed releases, %ld re-attachments, %ld departures, %ld plugin reloads, %ld captures refused "
      "for a full inventory; largest tables: "
      "cooldown %zu, pending passes %zu, try records %zu; %d failure(s)\n",
      seed, players, minutes, f.transfers, f.externals, f.downloads, f.rejoins, f.releases, f.failed_releases,
      f.attaches, f.leaves, f.reloads, f.full_inventory_refusals, f.max_cooldown, f.max_passes, f.max_tries, failures);
  return failures == 0 ? 0 : 1;
}
