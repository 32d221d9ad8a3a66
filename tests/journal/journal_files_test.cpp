// The journal's files: the writer thread and its queue, rotation by size and
// what a refused rotation costs (nothing), reading a bounded tail back, and
// the lines read back as journal entries.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "journal/journal_entry.h"
#include "journal/journal_line.h"
#include "journal_files/file_system.h"
#include "journal_files/journal_names.h"
#include "journal_files/journal_tail.h"
#include "journal_files/journal_writer.h"

namespace {

namespace fs = std::filesystem;
using ck::journal_files::FileSystem;
using ck::journal_files::Writer;
using ck::journal_files::WriterSettings;

// The real files, with faults a test can switch on: renames refused (as
// Windows refuses a file another process holds open), appends that fail, and
// appends held until the test lets them go.
class FaultyFiles final : public FileSystem {
 public:
  std::atomic<bool> refuse_renames{false};
  std::atomic<bool> fail_appends{false};

  void HoldAppends() {
    std::lock_guard lock(mutex_);
    held_ = true;
  }
  void ReleaseAppends() {
    {
      std::lock_guard lock(mutex_);
      held_ = false;
    }
    changed_.notify_all();
  }
  // Waits until an append is being held.
  void WaitForHeldAppend() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_; });
  }

  bool MakeFolder(const std::string& folder, std::string& error) override { return real().MakeFolder(folder, error); }
  bool Append(const std::string& path, std::string_view data, std::string& error) override {
    {
      std::unique_lock lock(mutex_);
      waiting_ = held_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return !held_; });
      waiting_ = false;
    }
    if (fail_appends) {
      error = "could not write to " + path + ": No space left on device";
      return false;
    }
    return real().Append(path, data, error);
  }
  std::optional<std::uint64_t> Size(const std::string& path) override { return real().Size(path); }
  bool Rename(const std::string& from, const std::string& to, std::string& error) override {
    if (refuse_renames) {
      error = "could not rename " + from + " to " + to + ": the file is used by another process";
      return false;
    }
    return real().Rename(from, to, error);
  }
  bool Remove(const std::string& path, std::string& error) override { return real().Remove(path, error); }
  std::optional<Tail> ReadTail(const std::string& path, std::uint64_t bytes, std::string& error) override {
    return real().ReadTail(path, bytes, error);
  }
  std::optional<std::vector<std::string>> List(const std::string& folder, std::size_t most,
                                               std::string& error) override {
    return real().List(folder, most, error);
  }

 private:
  static FileSystem& real() { return ck::journal_files::RealFileSystem(); }
  std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  bool waiting_ = false;
};

class JournalFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("cradlekeep-journal-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  WriterSettings Settings(std::uint64_t file_bytes = 1024 * 1024, int files_kept = 4) const {
    return WriterSettings{folder_.string(), "Island", file_bytes, files_kept};
  }
  fs::path File(const std::string& name) const { return folder_ / name; }
  static std::vector<std::string> LinesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // Waits (yielding, never sleeping) until the writer has written `n` lines.
  static void WaitWritten(const Writer& writer, std::uint64_t n) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (writer.Counts().written + writer.Counts().dropped_failed < n &&
           std::chrono::steady_clock::now() < give_up) {
      std::this_thread::yield();
    }
  }
  // Writes each line in an append of its own.
  static void WriteEach(Writer& writer, const std::vector<std::string>& lines) {
    std::uint64_t done = writer.Counts().written + writer.Counts().dropped_failed;
    for (const std::string& line : lines) {
      ASSERT_TRUE(writer.Enqueue(line));
      WaitWritten(writer, ++done);
    }
  }
  static std::vector<std::string> Numbered(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i <= to; ++i) lines.push_back("line " + std::to_string(i) + std::string(40, '.'));
    return lines;
  }

  fs::path folder_;
  FaultyFiles files_;
};

TEST_F(JournalFilesTest, StopWritesEveryQueuedLineBeforeTheThreadEnds) {
  Writer writer(Settings(), files_);
  for (const std::string& line : Numbered(1, 200)) ASSERT_TRUE(writer.Enqueue(line));
  writer.Stop();
  EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(1, 200));
  EXPECT_EQ(writer.Counts().written, 200u);
  EXPECT_EQ(writer.Counts().queued, 0u);
  EXPECT_FALSE(writer.Enqueue("after the stop")) << "a stopped writer takes nothing";
  EXPECT_EQ(writer.Counts().dropped_full, 1u);
}

TEST_F(JournalFilesTest, RotatesBySizeAndKeepsOnlyTheFilesKept) {
  Writer writer(Settings(/*file_bytes=*/200, /*files_kept=*/3), files_);
  WriteEach(writer, Numbered(1, 12));  // 47 bytes a line: four lines a file
  writer.Stop();
  EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(9, 12));
  EXPECT_EQ(LinesOf(File("Island.1.journal")), Numbered(5, 8));
  EXPECT_EQ(LinesOf(File("Island.2.journal")), Numbered(1, 4));
  WriteEach(*std::make_unique<Writer>(Settings(200, 3), files_), Numbered(13, 16));
  EXPECT_EQ(LinesOf(File("Island.2.journal")), Numbered(5, 8)) << "the oldest file went";
  EXPECT_FALSE(fs::exists(File("Island.3.journal")));
  EXPECT_EQ(writer.Counts().failures, 0u);
}

TEST_F(JournalFilesTest, ARefusedRotationLosesNoLineAndIsTriedAgainWithTheNextWrite) {
  Writer writer(Settings(/*file_bytes=*/200, /*files_kept=*/3), files_);
  WriteEach(writer, Numbered(1, 4));
  files_.refuse_renames = true;
  WriteEach(writer, Numbered(5, 6));
  EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(1, 6)) << "the lines go on into the file that stays";
  EXPECT_FALSE(fs::exists(File("Island.1.journal")));
  const auto counts = writer.Counts();
  EXPECT_EQ(counts.written, 6u);
  EXPECT_EQ(counts.failures, 2u) << "one refused rotation for each write";
  EXPECT_NE(counts.last_error.find("could not rotate"), std::string::npos) << counts.last_error;
  EXPECT_NE(counts.last_error.find("the file is used by another process"), std::string::npos);
  files_.refuse_renames = false;
  WriteEach(writer, Numbered(7, 7));
  writer.Stop();
  EXPECT_EQ(LinesOf(File("Island.1.journal")), Numbered(1, 6));
  EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(7, 7));
}

TEST_F(JournalFilesTest, AFileAnotherProcessReadsIsRotatedOnceItIsLetGo) {
  // On Windows a file open for reading without shared deletion refuses to
  // be renamed (Wine applies the same rule); elsewhere the rename succeeds.
  Writer writer(Settings(/*file_bytes=*/200, /*files_kept=*/3), ck::journal_files::RealFileSystem());
  WriteEach(writer, Numbered(1, 4));
  {
    std::ifstream reader(File("Island.journal"), std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    WriteEach(writer, Numbered(5, 5));
#if defined(_WIN32)
    EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(1, 5));
    EXPECT_EQ(writer.Counts().failures, 1u);
#endif
  }
  WriteEach(writer, Numbered(6, 6));
  writer.Stop();
  std::vector<std::string> all = LinesOf(File("Island.1.journal"));
  for (const std::string& line : LinesOf(File("Island.journal"))) all.push_back(line);
  EXPECT_EQ(all, Numbered(1, 6)) << "no line lost, in order";
  EXPECT_EQ(writer.Counts().written, 6u);
}

TEST_F(JournalFilesTest, AFullQueueDropsAndCountsWithoutWaiting) {
  WriterSettings settings = Settings();
  settings.queue_lines = 8;
  Writer writer(settings, files_);
  files_.HoldAppends();
  ASSERT_TRUE(writer.Enqueue("first"));
  files_.WaitForHeldAppend();  // the first line is being written, and the disk hangs
  int taken = 0;
  for (const std::string& line : Numbered(1, 13)) taken += writer.Enqueue(line) ? 1 : 0;
  EXPECT_EQ(taken, 8);
  EXPECT_EQ(writer.Counts().dropped_full, 5u);
  EXPECT_EQ(writer.Counts().queued, 9u);
  files_.ReleaseAppends();
  writer.Stop();
  EXPECT_EQ(writer.Counts().written, 9u);
  EXPECT_EQ(LinesOf(File("Island.journal")).size(), 9u);
}

TEST_F(JournalFilesTest, AFailedWriteCountsItsLinesAsDroppedAndKeepsWhy) {
  Writer writer(Settings(), files_);
  files_.fail_appends = true;
  WriteEach(writer, Numbered(1, 2));
  files_.fail_appends = false;
  WriteEach(writer, Numbered(3, 3));
  writer.Stop();
  const auto counts = writer.Counts();
  EXPECT_EQ(counts.dropped_failed, 2u);
  EXPECT_EQ(counts.written, 1u);
  EXPECT_NE(counts.last_error.find("No space left on device"), std::string::npos);
  EXPECT_EQ(LinesOf(File("Island.journal")), Numbered(3, 3));
}

TEST_F(JournalFilesTest, ALineCutShortByACrashDoesNotSwallowTheNextOne) {
  std::ofstream(File("Island.journal"), std::ios::binary) << "whole\ncut sho";
  Writer writer(Settings(), files_);
  WriteEach(writer, {"next"});
  writer.Stop();
  EXPECT_EQ(LinesOf(File("Island.journal")), (std::vector<std::string>{"whole", "cut sho", "next"}));
}

TEST_F(JournalFilesTest, AFolderThatIsAFileIsNamedAsOne) {
  std::ofstream(File("plain"), std::ios::binary) << "x";
  std::string error;
  EXPECT_FALSE(ck::journal_files::RealFileSystem().MakeFolder(File("plain").string(), error));
  EXPECT_EQ(error, File("plain").string() + " is a file, not a folder");
  EXPECT_TRUE(ck::journal_files::RealFileSystem().MakeFolder((folder_ / "a" / "b").string(), error));
}

TEST_F(JournalFilesTest, ATailReadsWholeLinesOnlyWithinItsBytes) {
  std::ofstream(File("Island.1.journal"), std::ios::binary) << "old 1\nold 2\n";
  std::ofstream(File("Island.journal"), std::ios::binary) << "new 1\nnew 2\nbeing writ";
  auto& real = ck::journal_files::RealFileSystem();
  auto tail = ck::journal_files::ReadServerTail(real, folder_.string(), "Island", 1024);
  EXPECT_EQ(tail.lines, (std::vector<std::string>{"old 1", "old 2", "new 1", "new 2"}))
      << "the older file fills what the current one leaves of the budget";
  EXPECT_TRUE(tail.cut_short);
  tail = ck::journal_files::ReadServerTail(real, folder_.string(), "Island", 17);
  EXPECT_EQ(tail.lines, (std::vector<std::string>{"new 2"})) << "the line the tail begins inside is left out";
  std::ofstream(File("Notepad.journal"), std::ios::binary) << "saved\r\nby an editor\r\n";
  tail = ck::journal_files::ReadServerTail(real, folder_.string(), "Notepad", 1024);
  EXPECT_EQ(tail.lines, (std::vector<std::string>{"saved", "by an editor"})) << "a CR before the line end goes too";
  tail = ck::journal_files::ReadServerTail(real, folder_.string(), "Elsewhere", 1024);
  EXPECT_TRUE(tail.lines.empty());
  EXPECT_TRUE(tail.error.empty()) << "no file yet is no fault";
}

TEST(JournalNamesTest, AServerNameNeverHoldsADotSoNoServerTakesAnothersFile) {
  using namespace ck::journal_files;
  EXPECT_TRUE(IsServerName("TheIsland_WP"));
  EXPECT_FALSE(IsServerName("Island.1"));
  EXPECT_FALSE(IsServerName(""));
  EXPECT_FALSE(IsServerName(std::string(65, 'a')));
  EXPECT_EQ(ServerNameFrom("The Island #2"), "The_Island__2");
  EXPECT_EQ(ServerNameFrom("\xC3\xA9t\xC3\xA9"), "__t__");
  EXPECT_EQ(ServerNameFrom(std::string(70, 'x')).size(), 64u);
  EXPECT_EQ(ServerOfCurrentFile("Ragnarok.journal"), "Ragnarok");
  EXPECT_FALSE(ServerOfCurrentFile("Ragnarok.1.journal")) << "an older file is no server's current one";
  EXPECT_FALSE(ServerOfCurrentFile(".journal"));
  EXPECT_FALSE(ServerOfCurrentFile("notes.txt"));
}

TEST(JournalEntryTest, AStampedLineReadsBackSearchableAsItWasWritten) {
  ck::journal::Line line("capture");
  line.Number("playerId", 424242).SearchableId("424242");
  line.Pair("creatureId", 102, 2).SearchableId("102,2");
  line.Word("outcome", "podded");
  line.Pair("item", 1, 7).SearchableId("1,7");
  line.Text("player", "Ava \"Stone\"").SearchableText("Ava \"Stone\"");
  line.Text("creature", "Splash").SearchableText("Splash");
  line.Text("class", "Otter_Character_BP_C");
  const std::string stamped = line.Stamped("2026-12-10T08:00:05Z", "TheIsland_WP");
  EXPECT_EQ(stamped,
            "Cradlekeep journal event=capture time=2026-12-10T08:00:05Z server=TheIsland_WP playerId=424242 "
            "creatureId=102,2 outcome=podded item=1,7 player=\"Ava \\\"Stone\\\"\" creature=\"Splash\" "
            "class=\"Otter_Character_BP_C\"");
  const auto entry = ck::journal::ReadEntry(stamped);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->line, stamped);
  for (const char* part : {"\t424242\t", "\t102,2\t", "\t1,7\t", "ava \"stone\"", "splash"}) {
    EXPECT_NE(entry->search.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(entry->search.find("otter"), std::string::npos) << "the class is not searched";
  EXPECT_EQ(ck::journal::TimeOf(stamped), "2026-12-10T08:00:05Z");
  EXPECT_EQ(ck::journal::ServerOf(stamped), "TheIsland_WP");
}

TEST(JournalEntryTest, AnythingButAWholeStampedLineIsRefused) {
  const std::string good =
      "Cradlekeep journal event=capture time=2026-12-10T08:00:05Z server=A playerId=1 creature=\"Rex\"";
  ASSERT_TRUE(ck::journal::ReadEntry(good));
  for (const std::string& bad : {
           good.substr(0, good.size() - 3),  // cut inside the last text
           good.substr(0, 52),               // cut inside the time
           good.substr(0, 60) + good,        // a cut line and the next run together
           std::string("Cradlekeep journal event=capture playerId=1 creature=\"Rex\""),  // the log's form
           std::string("Cradlekeep journal time=2026-12-10T08:00:05Z event=capture server=A"),
           std::string("Cradlekeep journal event=capture time=2026-12-10T08:00:05Z server=A.1"),
           std::string("Cradlekeep journal event=capture time=2026-12-10T08:00:05Z server=A creature=\"Rex\" "
                       "playerId=1"),  // a fixed field after a text
           good + " ",
           std::string("some other program's line"),
       }) {
    EXPECT_FALSE(ck::journal::ReadEntry(bad)) << bad;
  }
}

}  // namespace
