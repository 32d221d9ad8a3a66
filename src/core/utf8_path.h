// Paths as the plugin's texts hold them: UTF-8 in a std::string, on every
// platform (a Windows path is UTF-16 underneath).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ck::core {

// The path a UTF-8 text names.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The path as UTF-8 with '/' between its parts, as logs and answers show it.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace ck::core
