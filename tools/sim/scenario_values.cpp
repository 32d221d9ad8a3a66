#include "tools/sim/scenario_values.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace simtool {

using nlohmann::json;

void Fail(const Scenario& s, const std::string& where, const std::string& what) {
  throw ScenarioError(s.name + ": " + where + ": " + what);
}

void OnlyKeys(const Scenario& s, const json& object, const std::string& where,
              std::initializer_list<const char*> keys) {
  for (const auto& item : object.items()) {
    if (std::find_if(keys.begin(), keys.end(), [&](const char* k) { return item.key() == k; }) == keys.end()) {
      Fail(s, where, "unknown key '" + item.key() + "'");
    }
  }
}

void Object(const Scenario& s, const json& object, const std::string& where, std::initializer_list<const char*> keys) {
  if (!object.is_object()) Fail(s, where, "must be an object");
  OnlyKeys(s, object, where, keys);
}

const json& Need(const Scenario& s, const json& object, const char* key, const std::string& where) {
  if (!object.is_object() || !object.contains(key)) Fail(s, where, std::string("needs '") + key + "'");
  return object.at(key);
}

std::string Text(const Scenario& s, const json& value, const std::string& where) {
  if (!value.is_string()) Fail(s, where, "must be a string");
  return value.get<std::string>();
}

bool Bool(const Scenario& s, const json& value, const std::string& where) {
  if (!value.is_boolean()) Fail(s, where, "must be true or false");
  return value.get<bool>();
}

void ValidateBool(const Scenario& s, const json& value, const std::string& where) { Bool(s, value, where); }

int Int(const Scenario& s, const json& value, const std::string& where) {
  if (!value.is_number_integer()) Fail(s, where, "must be a whole number");
  return value.get<int>();
}

int64 Int64(const Scenario& s, const json& value, const std::string& where) {
  const bool fits = value.is_number_integer() &&
                    (!value.is_number_unsigned() ||
                     value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<int64>::max()));
  if (!fits) Fail(s, where, "must be a whole number that fits 64 bits");
  return value.get<int64>();
}

sim::DinoId DinoIdPair(const Scenario& s, const json& value, const std::string& where) {
  const auto half = [](const json& v) {
    return v.is_number_integer() && (v.is_number_unsigned() || v.get<int64>() >= 0) &&
           v.get<std::uint64_t>() <= std::numeric_limits<uint32>::max();
  };
  if (!value.is_array() || value.size() != 2 || !half(value[0]) || !half(value[1])) {
    Fail(s, where, "must be [a, b], two whole numbers from 0 to 4294967295");
  }
  return sim::DinoId{value[0].get<uint32>(), value[1].get<uint32>()};
}

FVector Vector(const Scenario& s, const json& value, const std::string& where) {
  if (!value.is_array() || value.size() != 3 || !std::all_of(value.begin(), value.end(), [](const json& v) {
        return v.is_number();
      })) {
    Fail(s, where, "must be [x, y, z]");
  }
  return FVector{value[0].get<double>(), value[1].get<double>(), value[2].get<double>()};
}

std::vector<std::string> Texts(const Scenario& s, const json& value, const std::string& where) {
  if (!value.is_array()) Fail(s, where, "must be a list of strings");
  std::vector<std::string> out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    out.push_back(Text(s, value[i], where + "[" + std::to_string(i) + "]"));
  }
  return out;
}

std::string Player(const Scenario& s, const json& value, const std::string& where) {
  const std::string id = Text(s, value, where);
  if (std::none_of(s.players.begin(), s.players.end(), [&](const auto& p) { return p.id == id; })) {
    Fail(s, where, "no player '" + id + "'");
  }
  return id;
}

std::string CreatureId(const Scenario& s, const json& value, const std::string& where) {
  const std::string id = Text(s, value, where);
  if (std::none_of(s.creatures.begin(), s.creatures.end(), [&](const auto& c) { return c.id == id; })) {
    Fail(s, where, "no creature '" + id + "'");
  }
  return id;
}

}  // namespace simtool
