#include "sim/framework/log_sinks.h"

#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/base_sink.h>

namespace simfw {

struct LogSinks::State {
  std::ostream* console = nullptr;
  std::vector<LogRecord> records;
  std::function<void(const LogRecord&)> on_record;

  void Keep(LogRecord record) {
    records.push_back(std::move(record));
    if (on_record) on_record(records.back());
  }
};

namespace {

std::string LevelName(spdlog::level::level_enum level) {
  switch (level) {
    case spdlog::level::trace: return "trace";
    case spdlog::level::debug: return "debug";
    case spdlog::level::info: return "info";
    case spdlog::level::warn: return "warn";
    case spdlog::level::err: return "error";
    case spdlog::level::critical: return "critical";
    default: return "off";
  }
}

class ConsoleSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit ConsoleSink(LogSinks::State* state) : state_(state) {}

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    if (state_->console == nullptr) return;
    spdlog::memory_buf_t formatted;
    formatter_->format(msg, formatted);
    // A formatter made on Windows ends the line in "\r\n", but the console
    // stream writes its own line end (text mode there): only "\n" goes in.
    std::size_t size = formatted.size();
    if (size >= 2 && formatted[size - 2] == '\r' && formatted[size - 1] == '\n') {
      formatted[size - 2] = '\n';
      --size;
    }
    state_->console->write(formatted.data(), static_cast<std::streamsize>(size));
  }
  void flush_() override {
    if (state_->console != nullptr) state_->console->flush();
  }

 private:
  LogSinks::State* state_;
};

class CaptureSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit CaptureSink(LogSinks::State* state) : state_(state) {}

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    state_->Keep(LogRecord{std::string(msg.logger_name.data(), msg.logger_name.size()), LevelName(msg.level),
                           std::string(msg.payload.data(), msg.payload.size()), false, NextSequence()});
  }
  void flush_() override {
    if (!state_->records.empty()) state_->records.back().flushed = true;
  }

 private:
  LogSinks::State* state_;
};

}  // namespace

uint64_t NextSequence() {
  static uint64_t counter = 0;
  return ++counter;
}

LogSinks::LogSinks() : state_(std::make_unique<State>()) { Reset(); }
LogSinks::~LogSinks() = default;

void LogSinks::SetConsole(std::ostream* out) { state_->console = out; }

const std::vector<LogRecord>& LogSinks::Records() const { return state_->records; }

std::vector<LogRecord> LogSinks::RecordsOf(const std::string& logger) const {
  std::vector<LogRecord> out;
  for (const LogRecord& r : state_->records) {
    if (r.logger == logger) out.push_back(r);
  }
  return out;
}

void LogSinks::SetOnRecord(std::function<void(const LogRecord&)> observer) { state_->on_record = std::move(observer); }

void LogSinks::ClearRecords() { state_->records.clear(); }

void LogSinks::WriteRendered(const std::string& logger, const std::string& level, const std::string& text,
                             const std::string& line) {
  state_->Keep(LogRecord{logger, level, text, false, NextSequence()});
  if (state_->console == nullptr) return;
  std::string shown = line;
  if (shown.size() >= 2 && shown.compare(shown.size() - 2, 2, "\r\n") == 0) shown.erase(shown.size() - 2, 1);
  state_->console->write(shown.data(), static_cast<std::streamsize>(shown.size()));
}

void LogSinks::FlushRendered() {
  if (!state_->records.empty()) state_->records.back().flushed = true;
  if (state_->console != nullptr) state_->console->flush();
}

void LogSinks::Reset() {
  state_->records.clear();
  state_->on_record = nullptr;
  shared_.clear();
  auto console = std::make_shared<ConsoleSink>(state_.get());
  auto capture = std::make_shared<CaptureSink>(state_.get());
  console->set_pattern(kFrameworkPattern);
  capture->set_pattern(kFrameworkPattern);
  shared_.push_back(console);
  shared_.push_back(capture);
}

}  // namespace simfw
