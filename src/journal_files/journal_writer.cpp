// The journal's writer thread and its file rotation.
#include "journal_files/journal_writer.h"

#include <algorithm>
#include <utility>

#include "core/boundary.h"
#include "journal_files/journal_names.h"

namespace ck::journal_files {

Writer::Writer(WriterSettings settings, FileSystem& files)
    : settings_(std::move(settings)),
      files_(files),
      path_(InFolder(settings_.folder, CurrentFileName(settings_.server))) {
  queue_.reserve(settings_.queue_lines);
  thread_ = std::thread([this] { Run(); });
}

Writer::~Writer() { Stop(); }

bool Writer::Enqueue(std::string line) noexcept {
  bool was_empty = false;
  {
    std::lock_guard lock(mutex_);
    if (stop_ || queue_.size() >= settings_.queue_lines) {
      ++counts_.dropped_full;
      return false;
    }
    was_empty = queue_.empty();
    queue_.push_back(std::move(line));  // within the reserved capacity: no allocation
  }
  // The thread waits only for an empty queue to fill: a line added to one
  // that already waits for it needs no wake-up (and no system call).
  if (was_empty) wake_.notify_one();
  return true;
}

void Writer::Stop() noexcept {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

WriterCounts Writer::Counts() const {
  std::lock_guard lock(mutex_);
  WriterCounts counts = counts_;
  counts.queued = queue_.size() + in_flight_;
  return counts;
}

void Writer::Run() noexcept {
  std::vector<std::string> batch;
  batch.reserve(settings_.queue_lines);
  for (;;) {
    bool stopping = false;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return !queue_.empty() || stop_; });
      batch.swap(queue_);
      in_flight_ = batch.size();
      stopping = stop_;
    }
    if (!batch.empty()) {
      core::Contain([&] { WriteBatch(batch); },
                    [&](const char* what) {
                      std::lock_guard lock(mutex_);
                      counts_.dropped_failed += batch.size();
                      ++counts_.failures;
                      counts_.last_error = what;
                    });
    }
    batch.clear();
    {
      std::lock_guard lock(mutex_);
      in_flight_ = 0;
      // Once stopping, Enqueue takes nothing more: the queue is empty.
      if (stopping && queue_.empty()) return;
    }
  }
}

void Writer::Fail(std::string error) {
  std::lock_guard lock(mutex_);
  ++counts_.failures;
  counts_.last_error = std::move(error);
}

void Writer::WriteBatch(const std::vector<std::string>& batch) {
  std::string data;
  for (const std::string& line : batch) data += line + '\n';
  const std::uint64_t size = files_.Size(path_).value_or(0);
  if (!end_checked_ && size > 0) {
    // A line cut short by a crash ends here, so that it does not swallow
    // the first new one when the file is read back.
    std::string ignored;
    const auto last = files_.ReadTail(path_, 1, ignored);
    if (last && !last->bytes.empty() && last->bytes.back() != '\n') data.insert(0, 1, '\n');
  }
  end_checked_ = true;
  if (size > 0 && size + data.size() > settings_.file_bytes) {
    std::string error;
    // A refused rotation costs no line: they go to the current file.
    if (!Rotate(error)) {
      Fail("could not rotate " + path_ + " (its lines go on into it, and the rotation is tried again with the next "
           "write): " + error);
    }
  }
  std::string error;
  if (!files_.Append(path_, data, error)) {
    std::lock_guard lock(mutex_);
    counts_.dropped_failed += batch.size();
    ++counts_.failures;
    counts_.last_error = std::move(error);
    return;
  }
  std::lock_guard lock(mutex_);
  counts_.written += batch.size();
}

// Moves every file up one place, from the first free place down, so that a
// rotation that stopped part-way continues where it stopped and deletes
// nothing a finished one would keep.
bool Writer::Rotate(std::string& error) {
  const int oldest = std::clamp(settings_.files_kept, 2, kMostFilesKept) - 1;
  const auto older = [&](int index) { return InFolder(settings_.folder, OlderFileName(settings_.server, index)); };
  int free_place = oldest;
  for (int index = 1; index < oldest; ++index) {
    if (!files_.Size(older(index))) {
      free_place = index;
      break;
    }
  }
  if (free_place == oldest && !files_.Remove(older(oldest), error)) return false;
  for (int index = free_place; index > 1; --index) {
    if (!files_.Rename(older(index - 1), older(index), error)) return false;
  }
  if (!files_.Rename(path_, older(1), error)) return false;
  // Older files beyond those kept (the setting was larger before) go too.
  for (int index = oldest + 1; index <= kMostFilesKept; ++index) {
    if (files_.Size(older(index))) files_.Remove(older(index), error);
  }
  return true;
}

}  // namespace ck::journal_files
