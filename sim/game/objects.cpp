#include "sim/game/objects.h"

#include "sim/game/names.h"

namespace sim {

std::string Object::Name() const { return Names().Text(NamePrivate); }

bool Object::IsA(const Class* cls) const {
  return ClassPrivate != nullptr && ClassPrivate->IsChildOf(cls);
}

bool Class::IsChildOf(const Class* other) const {
  for (const Class* c = this; c != nullptr; c = c->SuperStruct) {
    if (c == other) return true;
  }
  return false;
}

void ObjectTable::Register(std::unique_ptr<Object> object, Class* cls, std::string_view name) {
  object->ClassPrivate = cls;
  object->NamePrivate = Names().Add(name);
  int32 index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    index = static_cast<int32>(slots_.size());
    slots_.emplace_back();
  }
  object->InternalIndex = index;
  live_.insert(object.get());
  Slot& slot = slots_[static_cast<std::size_t>(index)];
  slot.serial = next_serial_++;
  slot.object = std::move(object);
}

void ObjectTable::Destroy(Object* object) {
  if (object == nullptr || object->InternalIndex < 0) return;
  const auto index = static_cast<std::size_t>(object->InternalIndex);
  if (index >= slots_.size() || slots_[index].object.get() != object) return;
  object->pending_kill = true;
  live_.erase(object);
  doomed_.push_back(std::move(slots_[index].object));
  slots_[index].serial = 0;
  free_.push_back(static_cast<int32>(index));
}

void ObjectTable::Collect() { doomed_.clear(); }

void ObjectTable::Retire(Class* cls) {
  if (cls == nullptr || cls->InternalIndex < 0) return;
  const auto index = static_cast<std::size_t>(cls->InternalIndex);
  if (index >= slots_.size() || slots_[index].object.get() != cls) return;
  live_.erase(cls);
  retired_.push_back(std::move(slots_[index].object));
  slots_[index].serial = 0;
  free_.push_back(cls->InternalIndex);
  cls->collected = true;
  cls->pending_kill = true;
  cls->InternalIndex = -1;
  cls->SuperStruct = nullptr;
  cls->OuterPrivate = nullptr;
  cls->functions.clear();
}

void ObjectTable::Clear() {
  // Objects may free engine storage in their destructors; destroy them in
  // reverse order of creation so owners go before what they own.
  doomed_.clear();
  retired_.clear();
  for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) it->object.reset();
  slots_.clear();
  free_.clear();
  live_.clear();
  next_serial_ = 1;
}

FWeakObjectPtr ObjectTable::WeakOf(const Object* object) const {
  if (object == nullptr || object->InternalIndex < 0) return FWeakObjectPtr{0, 0};
  const auto index = static_cast<std::size_t>(object->InternalIndex);
  if (index >= slots_.size() || slots_[index].object.get() != object) return FWeakObjectPtr{0, 0};
  return FWeakObjectPtr{object->InternalIndex, slots_[index].serial};
}

Object* ObjectTable::Resolve(const FWeakObjectPtr& pointer, bool /*even_if_pending_kill*/) const {
  if (pointer.ObjectSerialNumber == 0 || pointer.ObjectIndex < 0) return nullptr;
  const auto index = static_cast<std::size_t>(pointer.ObjectIndex);
  if (index >= slots_.size()) return nullptr;
  const Slot& slot = slots_[index];
  if (slot.serial != pointer.ObjectSerialNumber || !slot.object) return nullptr;
  return slot.object.get();
}

bool ObjectTable::IsLive(const Object* object) const { return object != nullptr && live_.count(object) != 0; }

ObjectTable& Objects() {
  static ObjectTable table;
  return table;
}

bool StructIsChildOf(const Class* self, const Class* other) {
  return self != nullptr && self->IsChildOf(other);
}

Object* WeakGet(const FWeakObjectPtr* self, bool even_if_pending_kill) {
  if (self == nullptr) return nullptr;
  return Objects().Resolve(*self, even_if_pending_kill);
}

}  // namespace sim
