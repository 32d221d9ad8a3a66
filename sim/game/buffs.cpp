#include "sim/game/buffs.h"

#include "sim/framework/game_functions.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"
#include "sim/game/names.h"

namespace sim {

namespace {

using simfw::GameFunction;

bool BuffHasClass(const Object* buff, const Class* cls) { return buff != nullptr && buff->IsA(cls); }

// Both take the class handle by reference.
bool HasBuff(Character* character, const SubclassOf& buff_handle, bool) {
  Class* buff_class = buff_handle.uClass;
  if (character == nullptr || buff_class == nullptr || !Game::Usable(buff_class, "HasBuff")) return false;
  for (Object* buff : character->Buffs) {
    if (BuffHasClass(buff, buff_class)) return true;
  }
  return false;
}

void DeactivateBuffs(Character* character, const SubclassOf& buff_handle, Object* /*item*/, bool) {
  Class* buff_class = buff_handle.uClass;
  if (character == nullptr || buff_class == nullptr || !Game::Usable(buff_class, "DeactivateBuffs")) return;
  for (int32 i = character->Buffs.ArrayNum - 1; i >= 0; --i) {
    if (BuffHasClass(character->Buffs[i], buff_class)) EndBuff(static_cast<Buff*>(character->Buffs[i]));
  }
}

void Deactivate(Buff* buff) { EndBuff(buff); }

bool HasCryoSicknessFn(Character* character) { return HasCryoSickness(character); }

void ForceNetUpdate(Actor* actor, bool a, bool b, bool c) {
  if (actor != nullptr) {
    G().RecordArgs("AActor.ForceNetUpdate", actor->Name() + "," + (a ? "true" : "false") + "," +
                                                (b ? "true" : "false") + "," + (c ? "true" : "false"));
  }
}

// The cheat that resets a player's cryo cooldown: the named buff is given in
// its expired form, which ends the running cooldown.
void ForceGiveBuff(ShooterCheatManager* cheat, FName* name, bool) {
  if (cheat == nullptr || name == nullptr) return;
  const std::string text = Names().Text(*name);
  G().RecordArgs("UShooterCheatManager.ForceGiveBuff", text);
  Player* player = nullptr;
  for (const auto& p : G().Players()) {
    if (p->controller != nullptr && p->controller->CheatManager == cheat) player = p.get();
  }
  if (player == nullptr || player->pawn == nullptr) return;
  for (int32 i = player->pawn->Buffs.ArrayNum - 1; i >= 0; --i) {
    Object* buff = player->pawn->Buffs[i];
    if (buff->ClassPrivate != nullptr && buff->ClassPrivate->Name() == text) EndBuff(static_cast<Buff*>(buff));
  }
}

void MakeWeak(FWeakObjectPtr* self, Object* object) {
  if (self != nullptr) *self = Objects().WeakOf(object);
}

}  // namespace

Buff* GiveBuff(Character* character, const std::string& class_name) {
  Class* cls = G().ClassForGame(class_name);
  if (cls == nullptr) cls = G().MakeBuffClass(class_name);
  auto* buff = Objects().Create<Buff>(cls, class_name + "_on_" + character->Name());
  if (class_name.find("Sickness") != std::string::npos) buff->BuffFlags |= Buff::kCausesCryoSicknessBit;
  buff->owner = character;
  AppendToEngineArray(character->Buffs, static_cast<Object*>(buff));
  return buff;
}

void EndBuff(Buff* buff) {
  if (buff == nullptr || buff->owner == nullptr) return;
  Character* owner = buff->owner;
  for (int32 i = 0; i < owner->Buffs.ArrayNum; ++i) {
    if (owner->Buffs[i] == buff) {
      RemoveFromEngineArray(owner->Buffs, i);
      break;
    }
  }
  buff->owner = nullptr;
  Objects().Destroy(buff);
}

bool HasCryoSickness(const Character* character) {
  if (character == nullptr) return false;
  for (const Object* buff : character->Buffs) {
    if ((static_cast<const Buff*>(buff)->BuffFlags & Buff::kCausesCryoSicknessBit) != 0) return true;
  }
  return false;
}

void RegisterBuffFunctions() {
  simfw::Fw().registry.AddBitField("APrimalBuff.bCausesCryoSickness", offsetof(Buff, BuffFlags), 5, 1);
  GameFunction<"APrimalBuff.Deactivate()", &Deactivate>::Register();
  GameFunction<"APrimalCharacter.HasCryoSickness()", &HasCryoSicknessFn>::Register();
  GameFunction<"AActor.ForceNetUpdate(bool,bool,bool)", &ForceNetUpdate>::Register();
  GameFunction<"APrimalCharacter.HasBuff(TSubclassOf<APrimalBuff>,bool)", &HasBuff>::Register();
  GameFunction<"APrimalCharacter.DeactivateBuffs(TSubclassOf<APrimalBuff>,UPrimalItem*,bool)", &DeactivateBuffs>::Register();
  GameFunction<"UShooterCheatManager.ForceGiveBuff(FName&,bool)", &ForceGiveBuff>::Register();
  GameFunction<"FWeakObjectPtr.operator=(UObject*)", &MakeWeak>::Register();
}

}  // namespace sim
