// Game members by key string.
//
// Keys are spelled as the framework spells them: "Class.Field" for a field,
// "Class.Function(ArgTypes)" for a function, no blanks. A key the framework
// does not know is fatal: the process stops with a message naming the key.
// Offsets and function addresses never change while the process runs, so a
// caller may resolve a key once and keep the result (an offset is the field's
// address minus the object's).
#pragma once

#include <string>

#include "asa/engine_types.h"

// Address of the field `key` inside `object`.
ARK_API DWORD64 GetAddress(const void* base, const std::string& name);

// Address of the game function `key`. Functions are called with the object
// first (member functions), then the parameters of the key; functions that
// return a class by value take a pointer to the result after the object.
ARK_API LPVOID GetAddress(const std::string& name);

// The bit field `key` inside `object`.
ARK_API BitField GetBitField(const void* base, const std::string& name);
