// The framework's shared log sinks: a console sink that renders lines with
// the sinks' pattern, and a capturing sink that keeps each line's logger,
// level and text.
#pragma once

#include <functional>
#include <memory>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "asa/api.h"

namespace spdlog::sinks {
class sink;
}

namespace simfw {

struct LogRecord {
  std::string logger;
  std::string level;  // "info", "warn", "error", ...
  std::string text;
  bool flushed = false;  // the line was flushed right after it was written
  uint64_t sequence = 0;  // place among everything the framework recorded
};

// A process-wide counter that orders log lines and player messages.
ASAAPI_API uint64_t NextSequence();

class ASAAPI_API LogSinks {
 public:
  // The framework's own pattern, until a logger sets another on the sinks.
  static constexpr const char* kFrameworkPattern = "%D %R [%n][%l] %v";

  LogSinks();
  ~LogSinks();

  std::vector<std::shared_ptr<spdlog::sinks::sink>>& Shared() { return shared_; }

  // Where the console sink writes; null silences it.
  void SetConsole(std::ostream* out);
  const std::vector<LogRecord>& Records() const;
  // Records of one logger only.
  std::vector<LogRecord> RecordsOf(const std::string& logger) const;

  // A line that reached the shared sinks already rendered (from the Windows
  // framework double, whose sinks speak another spdlog's interface): the
  // record keeps the text, the console shows the rendered line.
  void WriteRendered(const std::string& logger, const std::string& level, const std::string& text,
                     const std::string& line);
  // Marks the last record as flushed and flushes the console.
  void FlushRendered();

  // Called with every record as it is kept, while the writer waits (null:
  // nobody). It may read the world; it must not log, and nothing may leave it.
  void SetOnRecord(std::function<void(const LogRecord&)> observer);

  // Forgets the records kept so far (long runs that look at each call's lines).
  void ClearRecords();

  // Empties the records and puts back fresh sinks with the framework pattern.
  void Reset();

  struct State;

 private:
  std::unique_ptr<State> state_;
  std::vector<std::shared_ptr<spdlog::sinks::sink>> shared_;
};

}  // namespace simfw
