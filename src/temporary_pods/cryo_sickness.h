// Taking the cryo sickness and the cryo cooldown off again after a creature
// left one of the plugin's temporary pods. All of it is switched by
// ClearCryoSicknessFromTemporaryVanillaCryopods; the label names the stage
// that asks ("after {}" in the log lines). Exceptions pass to the caller.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>

#include "asa/engine_types.h"
#include "journal/identities.h"

namespace ck::temporary_pods {

// Ends the configured buff (its class loaded from `blueprint_path` and held
// weakly in `cache`) on the character; 1 when the character had it and no
// longer has it afterwards, else 0.
int DeactivateConfiguredBuff(APrimalCharacter* character, FWeakObjectPtr& cache, const std::string& blueprint_path,
                             const char* buff_label, const std::string& label);

// Ends the creature's cryo sickness: the configured sickness buff, and, when
// the creature stays sick, every buff that causes cryo sickness. The number
// of buffs that actually went (a buff the game keeps is not counted).
int ClearCryoSickness(APrimalCharacter* creature, const std::string& label);

// Clears the sickness of sick creatures of the player's team within 1500
// units of the player's pawn, each with its "sicknessCleared" line when a
// buff went. The number of buffs ended.
int ClearNearbyCryoSickness(AShooterPlayerController* controller, const std::string& label);

// Ends the player's cryo cooldown: the configured buff on the pawn, then the
// cheat manager's reset of "Buff_CryoCooldown".
void ClearCryoCooldown(AShooterPlayerController* controller, const std::string& label);

// The capture journal's "sicknessCleared" line: `cleared` buffs (at least
// one) ended on the creature, for the player. Never throws.
void JournalSicknessCleared(const journal::PlayerSnapshot& player, const journal::CreatureSnapshot& creature,
                            int cleared) noexcept;

}  // namespace ck::temporary_pods
