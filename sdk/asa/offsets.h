// Game members by key string.
//
// Keys are spelled as the framework spells them: "Class.Field" for a field,
// "Class.Function(ArgTypes)" for a function, no blanks. A key the framework
// does not know is fatal: the process stops with a message naming the key.
#pragma once

#include <cstddef>
#include <string>

#include "asa/engine_types.h"

namespace AsaApi {

// Address of the field `key` inside `object`.
ASAAPI_API void* GetAddress(const void* object, const std::string& key);

// Address of the game function `key`. Functions are called with the object
// first (member functions), then the parameters of the key; functions that
// return an engine type by value take a pointer to the result after the object.
ASAAPI_API void* GetAddress(const std::string& key);

// The offset of the field `key` from the start of its object. Offsets and
// function addresses never change while the process runs, so a caller may
// resolve a key once and keep the result.
ASAAPI_API std::ptrdiff_t GetFieldOffset(const std::string& key);

// The bit field `key` inside `object`.
ASAAPI_API BitField GetBitField(const void* object, const std::string& key);

}  // namespace AsaApi
