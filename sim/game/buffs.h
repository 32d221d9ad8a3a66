// Buffs on characters: the cryo cooldown on a player who released a
// creature, the cryo sickness on the released creature, and any others a
// scenario names. A buff that causes cryo sickness has its bit set.
#pragma once

#include <string>

#include "sim/game/actors.h"

namespace sim {

class Buff : public Actor {
 public:
  static constexpr uint32 kCausesCryoSicknessBit = 1u << 5;
  uint32 BuffFlags = 0;
  Character* owner = nullptr;
};

inline constexpr const char* kCryoCooldownBuff = "Buff_CryoCooldown";
inline constexpr const char* kCryoSicknessBuff = "Buff_CryoSickness";

// Gives the character a buff of the class (made on first use, child of the
// buff class; a name containing "Sickness" causes cryo sickness).
Buff* GiveBuff(Character* character, const std::string& class_name);
// Ends one buff: it leaves its owner's buff array and the world.
void EndBuff(Buff* buff);
bool HasCryoSickness(const Character* character);

void RegisterBuffFunctions();

}  // namespace sim
