// Simulated time: the server's ticks, with the framework's tick callbacks,
// the game's timers and broadcasts, and the clock the world began at.
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "sim/framework/framework.h"
#include "sim/game/buffs.h"
#include "sim/game/custom_data.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/layout.h"
#include "sim/game/names.h"
#include "sim/game/game.h"

namespace sim {

void Game::Advance(double seconds) {
  if (!(seconds >= 0) || seconds > 1e7) throw std::invalid_argument("advance needs a number of seconds from 0 to 10000000");
  auto& fw = simfw::Fw();
  // Ticks fall on exact multiples of the tick period since the world began;
  // the clock ends exactly `seconds` later, between ticks if need be.
  const int64 target = fw.clock.Now() + static_cast<int64>(std::llround(seconds * 1e9));
  const float delta = 1.0f / static_cast<float>(server_.tick_rate);
  while (true) {
    const int64 next = world_start_ns_ + (ticks_run_ + 1) * 1'000'000'000 / server_.tick_rate;
    if (next > target) break;
    fw.clock.SetNow(next);
    ++ticks_run_;
    // The framework's hook on the world's tick runs the plugins' tick
    // callbacks first, then the world's own tick with the game's timers.
    fw.commands.RunTick(delta);
    for (std::size_t i = 0; i < timers_.size();) {
      if (timers_[i].due <= next) {
        auto run = std::move(timers_[i].run);
        timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(i));
        run();
      } else {
        ++i;
      }
    }
    for (int i = 0; i < server_.broadcasts_per_tick; ++i) {
      char params[32] = {};
      MulticastDelegateDispatch::Call(&other_delegate_, params);
    }
    Objects().Collect();
  }
  fw.clock.SetNow(target);
}

double Game::NowSeconds() const {
  return static_cast<double>(simfw::Fw().clock.Now() - world_start_ns_) / 1e9;
}

}  // namespace sim
