// The key registry: every key string the plugin may use, mapped to a field
// offset, a bit field or a function address.
//
// Hookable game functions have two addresses: the entry, which the game and
// anyone holding the function's address call, and the game's own function at
// the bottom of the hook chain. The entry always runs the chain's head, just
// as a patched function prologue does in a real process.
//
// Looking up a key that was never registered is fatal and names the key, as
// in the real framework.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "asa/engine_types.h"

namespace simfw {

struct HookSlot {
  struct Link {
    void* detour;
    void** original_out;
    int trampoline;  // the index in `trampolines` its original was given
    int module;      // the module that holds the detour
  };
  // A trampoline, as Detours makes one for each attach: the code a detour's
  // original points at, which runs on into the rest of the chain. A removal
  // frees every trampoline of the key (API 2.03 Hooks.cpp detaches the whole
  // chain); a call through a freed one is a defect the run reports.
  //
  // A trampoline's code jumps through `*jump` (one load and a jump, as a
  // real one is a few instructions): to `target` while it is live and
  // unguarded, otherwise to `slow`, which checks before it calls on.
  struct Trampoline {
    void* code = nullptr;    // what the detour's original holds
    void** jump = nullptr;   // where its code jumps through
    void* slow = nullptr;    // the checking path
    void* target = nullptr;  // what it runs: the next older detour, or the game's function
    bool live = false;
    bool guarded = false;    // a module was unloaded: check the target first
  };
  // Another plugin's detours on this function (the otherPlugin step).
  struct OtherDetour {
    void* code = nullptr;
    void* original = nullptr;  // the other plugin's original slot
    bool in_use = false;
    bool blocks = false;       // counts and returns without calling on
    uint64 calls = 0;
  };
  std::string key;
  void* entry = nullptr;     // what callers call
  void* original = nullptr;  // the game's own function
  void* head = nullptr;      // what the entry runs: the newest detour, or original
  // On Windows: how the game calls the head, as an MSVC member function call
  // (the framework double's entry for the key); null elsewhere.
  void* msvc_entry = nullptr;
  std::vector<Link> links;   // links[0] is the newest detour
  uint64 calls = 0;          // calls of the entry
  uint64 reached_game = 0;   // calls that reached the game's own function
  std::vector<Trampoline> trampolines;  // a fixed pool, handed out in turn
  std::size_t next_trampoline = 0;
  std::vector<OtherDetour> others;      // a fixed pool
};

// One registered key as the framework's offsets dump holds it.
struct DumpedKey {
  std::string key;
  bool bit_field = false;   // in the bit-field dump; otherwise in the offsets dump
  std::ptrdiff_t offset = 0;  // a field's offset, a bit field's word offset, a function's place
  uint32 bit_position = 0;
  uint32 bit_count = 0;
};

class ASAAPI_API KeyRegistry {
 public:
  KeyRegistry();
  ~KeyRegistry();
  KeyRegistry(const KeyRegistry&) = delete;
  KeyRegistry& operator=(const KeyRegistry&) = delete;

  void AddField(const std::string& key, std::ptrdiff_t offset);
  void AddBitField(const std::string& key, std::ptrdiff_t word_offset, uint32 bit_position,
                   uint32 bit_count);
  void AddFunction(const std::string& key, void* address);
  // Registers a hookable function; the slot lives until Clear.
  HookSlot* AddHookable(const std::string& key, void* entry, void* original);

  void* FieldAddress(const void* object, const std::string& key) const;
  std::ptrdiff_t FieldOffset(const std::string& key) const;
  BitField BitFieldOf(const void* object, const std::string& key) const;
  void* FunctionAddress(const std::string& key) const;
  HookSlot* Hookable(const std::string& key) const;
  // Every hookable slot, in registration order.
  std::vector<const HookSlot*> HookableSlots() const;
  bool Knows(const std::string& key) const;
  bool IsField(const std::string& key) const;
  // Every registered key, sorted by key.
  std::vector<DumpedKey> Dump() const;

  // Forgets every key and hook slot.
  void Clear();

  [[noreturn]] static void FatalUnknownKey(const std::string& key);

 private:
  enum class Kind { kField, kBitField, kFunction, kHookable };
  struct Entry {
    Kind kind;
    std::ptrdiff_t offset = 0;
    uint32 bit_position = 0;
    uint32 bit_count = 0;
    void* address = nullptr;
    HookSlot* slot = nullptr;
  };
  const Entry& Find(const std::string& key) const;
  void Put(const std::string& key, Entry entry);

  std::unordered_map<std::string, Entry> entries_;
  std::vector<std::unique_ptr<HookSlot>> slots_;
};

}  // namespace simfw
