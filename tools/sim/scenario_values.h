// Reading the values of a scenario file.
//
// Each reader either returns the value it was asked for or refuses the whole
// scenario with one ScenarioError "<file>: <where>: <what>", `where` being the
// value's path in the file ("steps[3].attach.slot", "expect.creatures").
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/sim/scenario.h"

namespace simtool {

// Refuses the scenario: throws ScenarioError naming the file, where and what.
[[noreturn]] void Fail(const Scenario& s, const std::string& where, const std::string& what);

// Refuses `object` when it holds a key that is not one of `keys`; it is not
// required to be an object (a non-object has no keys).
void OnlyKeys(const Scenario& s, const nlohmann::json& object, const std::string& where,
              std::initializer_list<const char*> keys);

// Refuses `object` unless it is a JSON object holding only `keys`.
void Object(const Scenario& s, const nlohmann::json& object, const std::string& where,
            std::initializer_list<const char*> keys);

// The value of `key`; refuses when `object` is not an object holding it.
const nlohmann::json& Need(const Scenario& s, const nlohmann::json& object, const char* key, const std::string& where);

// The value as a string, true/false, a whole number, [x, y, z] or a list of
// strings; refuses a value of another kind.
std::string Text(const Scenario& s, const nlohmann::json& value, const std::string& where);
bool Bool(const Scenario& s, const nlohmann::json& value, const std::string& where);
// Bool as a check alone, for the tables of checks.
void ValidateBool(const Scenario& s, const nlohmann::json& value, const std::string& where);
int Int(const Scenario& s, const nlohmann::json& value, const std::string& where);
FVector Vector(const Scenario& s, const nlohmann::json& value, const std::string& where);
// A whole number that fits 64 bits with a sign.
int64 Int64(const Scenario& s, const nlohmann::json& value, const std::string& where);
// [a, b]: two whole numbers from 0 to 4294967295 (a creature's two-part id).
sim::DinoId DinoIdPair(const Scenario& s, const nlohmann::json& value, const std::string& where);
std::vector<std::string> Texts(const Scenario& s, const nlohmann::json& value, const std::string& where);

// A string naming a player (creature) of the scenario's world; refuses
// another kind of value or a name the world does not define.
std::string Player(const Scenario& s, const nlohmann::json& value, const std::string& where);
std::string CreatureId(const Scenario& s, const nlohmann::json& value, const std::string& where);

}  // namespace simtool
