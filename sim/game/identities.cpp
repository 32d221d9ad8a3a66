#include "sim/game/identities.h"

namespace sim {

namespace {

// FNV-1a: a fixed spread of any text over 32 bits.
uint32 Fnv1a(const std::string& text) {
  uint32 hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

DinoId DefaultDinoId(const std::string& creature_id) {
  // Never 0: the game gives no tamed creature a zero half.
  return DinoId{Fnv1a("DinoID1:" + creature_id) | 1u, Fnv1a("DinoID2:" + creature_id) | 1u};
}

int64 DefaultLinkedPlayerId(const std::string& player_id) {
  return 100'000'000 + static_cast<int64>(Fnv1a("LinkedPlayerID:" + player_id) % 900'000'000u);
}

}  // namespace sim
