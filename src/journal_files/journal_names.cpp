#include "journal_files/journal_names.h"

#include <algorithm>

namespace ck::journal_files {

namespace {

constexpr std::string_view kSuffix = ".journal";

bool NameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

bool IsServerName(std::string_view name) {
  return !name.empty() && name.size() <= kMostServerNameBytes && std::all_of(name.begin(), name.end(), NameCharacter);
}

std::string ServerNameFrom(std::string_view text) {
  std::string name(text.substr(0, std::min(text.size(), kMostServerNameBytes)));
  for (char& c : name) {
    if (!NameCharacter(c)) c = '_';
  }
  return name;
}

std::string CurrentFileName(std::string_view server) { return std::string(server) + std::string(kSuffix); }

std::string OlderFileName(std::string_view server, int index) {
  return std::string(server) + "." + std::to_string(index) + std::string(kSuffix);
}

std::optional<std::string> ServerOfCurrentFile(std::string_view file_name) {
  if (file_name.size() <= kSuffix.size() || !file_name.ends_with(kSuffix)) return std::nullopt;
  const std::string_view stem = file_name.substr(0, file_name.size() - kSuffix.size());
  if (!IsServerName(stem)) return std::nullopt;
  return std::string(stem);
}

}  // namespace ck::journal_files
