// The game's object model: every object has a class, a name, and an index
// and serial number in the object table through which weak pointers resolve.
//
// Field layout matters: the plugin reaches these fields by key, through the
// offsets the game publishes (see layout.cpp). Members whose names follow the
// engine's spelling are published; the rest are the simulation's own.
#pragma once

#include <memory>
#include <unordered_set>
#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace sim {

class Class;

class Object {
 public:
  virtual ~Object() = default;

  int32 ObjectFlags = 0;
  int32 InternalIndex = -1;
  Class* ClassPrivate = nullptr;
  FName NamePrivate{0, 0};
  Object* OuterPrivate = nullptr;

  bool pending_kill = false;

  std::string Name() const;
  bool IsA(const Class* cls) const;
};

class Function : public Object {
 public:
  // The function's body: receives the object and the parameter block.
  void (*body)(Object* self, void* params) = nullptr;
  // The size of the parameter block the body takes (UFunction::ParmsSize).
  uint16 ParmsSize = 0;
};

class Class;

// A class handle as the game passes and returns it (TSubclassOf<T>): one
// class pointer, always reached through the address of a copy (the engine's
// copy is written by hand, so the game never passes it in a register).
struct SubclassOf {
  Class* uClass;
};

class Class : public Object {
 public:
  Class* SuperStruct = nullptr;
  std::vector<Function*> functions;  // the class's own functions
  // Set when the engine collected the class (ObjectTable::Retire): its
  // memory is kept, poisoned, so that a pointer somebody still holds can be
  // recognised instead of reaching freed memory.
  bool collected = false;

  bool IsChildOf(const Class* other) const;
};

// The table of live objects. Objects are created through it and destroyed
// through it; destruction makes weak pointers stale at once and frees the
// object at the next collection (so pointers held during one game call stay
// valid until the call ends, as with the engine's pending-kill state).
class ObjectTable {
 public:
  template <typename T>
  T* Create(Class* cls, std::string_view name);

  // Marks the object destroyed: weak pointers to it no longer resolve.
  void Destroy(Object* object);
  // Frees every destroyed object.
  void Collect();
  // Takes a class out of the table as a garbage collection does: weak
  // pointers to it go stale at once, its contents are poisoned (no outer,
  // no super class, no functions; `collected` set) and its memory is kept
  // until Clear, so no later object is made at its address and a pointer
  // still held to it can be told from a live class.
  void Retire(Class* cls);
  // Frees everything.
  void Clear();

  FWeakObjectPtr WeakOf(const Object* object) const;
  Object* Resolve(const FWeakObjectPtr& pointer, bool even_if_pending_kill) const;
  // True while the object exists and is not destroyed. Safe to ask about any
  // address, also one whose object was freed long ago.
  bool IsLive(const Object* object) const;
  // Calls `visit` with every live object, in index order.
  template <typename F>
  void ForEachLive(F&& visit) const {
    for (const Slot& slot : slots_) {
      if (slot.object) visit(static_cast<const Object*>(slot.object.get()));
    }
  }

 private:
  struct Slot {
    std::unique_ptr<Object> object;
    int32 serial = 0;
  };
  void Register(std::unique_ptr<Object> object, Class* cls, std::string_view name);

  std::vector<Slot> slots_;
  std::vector<int32> free_;
  std::vector<std::unique_ptr<Object>> doomed_;
  std::vector<std::unique_ptr<Object>> retired_;  // collected classes, poisoned
  std::unordered_set<const Object*> live_;  // never dereferenced: a freed address is simply absent
  int32 next_serial_ = 1;
};

ObjectTable& Objects();

template <typename T>
T* ObjectTable::Create(Class* cls, std::string_view name) {
  auto object = std::make_unique<T>();
  T* raw = object.get();
  Register(std::move(object), cls, name);
  return raw;
}

// Game functions published to the key registry.
bool StructIsChildOf(const Class* self, const Class* other);
Object* WeakGet(const FWeakObjectPtr* self, bool even_if_pending_kill);

}  // namespace sim
