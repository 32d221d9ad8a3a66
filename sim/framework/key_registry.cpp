#include "sim/framework/key_registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include "sim/msvc/bridge.h"
#endif

namespace simfw {

KeyRegistry::KeyRegistry() = default;
KeyRegistry::~KeyRegistry() = default;

void KeyRegistry::FatalUnknownKey(const std::string& key) {
  std::fprintf(stderr, "fatal: the framework does not know the key '%s'\n", key.c_str());
  std::fflush(stderr);
  std::abort();
}

const KeyRegistry::Entry& KeyRegistry::Find(const std::string& key) const {
  auto it = entries_.find(key);
  if (it == entries_.end()) FatalUnknownKey(key);
  return it->second;
}

void KeyRegistry::Put(const std::string& key, Entry entry) { entries_[key] = entry; }

bool KeyRegistry::IsField(const std::string& key) const {
  const auto it = entries_.find(key);
  return it != entries_.end() && it->second.kind == Kind::kField;
}

void KeyRegistry::AddField(const std::string& key, std::ptrdiff_t offset) {
  Entry e{Kind::kField};
  e.offset = offset;
  Put(key, e);
}

void KeyRegistry::AddBitField(const std::string& key, std::ptrdiff_t word_offset,
                              uint32 bit_position, uint32 bit_count) {
  Entry e{Kind::kBitField};
  e.offset = word_offset;
  e.bit_position = bit_position;
  e.bit_count = bit_count;
  Put(key, e);
}

void KeyRegistry::AddFunction(const std::string& key, void* address) {
  Entry e{Kind::kFunction};
#if defined(_WIN32)
  // Where the compilers' binary interfaces differ, the game's function is
  // served through the framework double's MSVC-ABI thunk.
  if (void* thunk = CkGameThunk(key.c_str(), address)) address = thunk;
#endif
  e.address = address;
  Put(key, e);
}

HookSlot* KeyRegistry::AddHookable(const std::string& key, void* entry, void* original) {
  auto slot = std::make_unique<HookSlot>();
  slot->key = key;
  slot->entry = entry;
  slot->original = original;
  slot->head = original;
#if defined(_WIN32)
  slot->msvc_entry = CkHookEntry(key.c_str());
#endif
  Entry e{Kind::kHookable};
  e.address = entry;
  e.slot = slot.get();
  Put(key, e);
  slots_.push_back(std::move(slot));
  return slots_.back().get();
}

void* KeyRegistry::FieldAddress(const void* object, const std::string& key) const {
  const Entry& e = Find(key);
  if (e.kind != Kind::kField) FatalUnknownKey(key + " (not a field)");
  if (object == nullptr) return nullptr;
  return const_cast<char*>(static_cast<const char*>(object)) + e.offset;
}

std::ptrdiff_t KeyRegistry::FieldOffset(const std::string& key) const {
  const Entry& e = Find(key);
  if (e.kind != Kind::kField) FatalUnknownKey(key + " (not a field)");
  return e.offset;
}

BitField KeyRegistry::BitFieldOf(const void* object, const std::string& key) const {
  const Entry& e = Find(key);
  if (e.kind != Kind::kBitField) FatalUnknownKey(key + " (not a bit field)");
  BitField field{};
  field.offset = reinterpret_cast<uint64>(static_cast<const char*>(object) + e.offset);
  field.bit_position = e.bit_position;
  field.num_bits = e.bit_count;
  field.length = 4;
  return field;
}

void* KeyRegistry::FunctionAddress(const std::string& key) const {
  const Entry& e = Find(key);
  if (e.kind != Kind::kFunction && e.kind != Kind::kHookable) {
    FatalUnknownKey(key + " (not a function)");
  }
  return e.address;
}

HookSlot* KeyRegistry::Hookable(const std::string& key) const {
  auto it = entries_.find(key);
  if (it == entries_.end() || it->second.kind != Kind::kHookable) return nullptr;
  return it->second.slot;
}

std::vector<const HookSlot*> KeyRegistry::HookableSlots() const {
  std::vector<const HookSlot*> out;
  for (const auto& slot : slots_) out.push_back(slot.get());
  return out;
}

bool KeyRegistry::Knows(const std::string& key) const { return entries_.count(key) != 0; }

std::vector<DumpedKey> KeyRegistry::Dump() const {
  std::vector<DumpedKey> keys;
  keys.reserve(entries_.size());
  std::ptrdiff_t function_place = 0x1000;
  for (const auto& [key, entry] : entries_) {
    DumpedKey dumped{key};
    dumped.bit_field = entry.kind == Kind::kBitField;
    // A function's value is its place in the executable; any distinct one serves.
    dumped.offset = entry.kind == Kind::kField || entry.kind == Kind::kBitField ? entry.offset : function_place += 0x40;
    dumped.bit_position = entry.bit_position;
    dumped.bit_count = entry.bit_count;
    keys.push_back(std::move(dumped));
  }
  std::sort(keys.begin(), keys.end(), [](const DumpedKey& a, const DumpedKey& b) { return a.key < b.key; });
  return keys;
}

void KeyRegistry::Clear() {
  entries_.clear();
  slots_.clear();
}

}  // namespace simfw
