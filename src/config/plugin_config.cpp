#include "config/plugin_config.h"

#include <algorithm>
#include <cmath>

#include "core/text.h"

namespace ck::config {

bool IsVanillaCaptureMode(const PluginConfig& settings) {
  const std::string mode = core::ToLowerCopy(settings.CaptureMode);
  return mode == "cryo" || mode == "vanilla" || mode == "vanillacryo" || mode == "vanilla cryo";
}

namespace {

// The value within its range, whole; NaN reads as the least.
double Within(double value, double least, double most) {
  if (std::isnan(value)) return least;
  return std::floor(std::clamp(value, least, most));
}

}  // namespace

std::uint64_t JournalFileBytes(const PluginConfig& settings) {
  return static_cast<std::uint64_t>(
             Within(settings.JournalFileKilobytes, kLeastJournalFileKilobytes, kMostJournalFileKilobytes)) *
         1024;
}

int JournalFilesKept(const PluginConfig& settings) {
  return static_cast<int>(Within(settings.JournalFilesKept, kLeastJournalFilesKept, kMostJournalFilesKept));
}

}  // namespace ck::config
