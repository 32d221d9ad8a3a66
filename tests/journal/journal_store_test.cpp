// The journal's files as the running plugin keeps them: read back at a
// restart, moved by a reload, and a folder that fails while the server runs,
// told once while the journal goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "journal/journal.h"
#include "journal/journal_line.h"
#include "plugin/admin_commands.h"
#include "plugin/journal_command.h"
#include "state/plugin_state.h"
#include "support/plugin_fixture.h"

namespace {

namespace fs = std::filesystem;
using ck::journal::Line;

constexpr const char* kFile = "ArkApi/Plugins/Cradlekeep/journal/TheIsland_WP.journal";

class JournalStoreTest : public cktest::PluginTest {
 protected:
  static void Add(const std::string& name) {
    Line line("capture");
    line.Text("creature", name).SearchableText(name);
    ck::journal::Record(line);
  }
  // Waits (yielding, never sleeping) until the writer has taken `n` lines
  // out of its queue, written or failed.
  static void WaitForWriter(std::uint64_t n) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      const auto counts = ck::state::Current().journal_files.writer->Counts();
      if (counts.written + counts.dropped_failed >= n || std::chrono::steady_clock::now() > give_up) return;
      std::this_thread::yield();
    }
  }
  static std::vector<std::string> FileLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::size_t WarnLinesWith(const std::string& part) const {
    std::size_t n = 0;
    for (const auto& record : simfw::Fw().logs.RecordsOf("Cradlekeep")) {
      if (record.level == "warn" && record.text.find(part) != std::string::npos) ++n;
    }
    return n;
  }
};

TEST_F(JournalStoreTest, ARestartReadsBackWhatCameBeforeAndLeavesOutALineCutShort) {
  WriteConfig("{}");
  Start();
  Add("Splash");
  Add("Pip");
  Stop();  // the writer is flushed and joined
  EXPECT_EQ(FileLines(kFile),
            (std::vector<std::string>{
                "Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"Splash\"",
                "Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"Pip\""}));
  // A crash in the middle of a write.
  std::ofstream(kFile, std::ios::binary | std::ios::app) << "Cradlekeep journal event=capture time=2026-12-10T08:0";
  Start();
  EXPECT_EQ(ck::journal::Held(), 2u);
  const ck::journal::Found found = ck::journal::Latest("", 10);
  ASSERT_EQ(found.lines.size(), 2u);
  EXPECT_NE(found.lines[0].find("creature=\"Pip\""), std::string::npos) << "newest first";
  EXPECT_NE(ck::plugin::JournalStatusLine().find("2 read back at start-up (1 cut short or unreadable left out)"),
            std::string::npos)
      << ck::plugin::JournalStatusLine();
  Add("Rex");
  Stop();
  const auto lines = FileLines(kFile);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], "Cradlekeep journal event=capture time=2026-12-10T08:0") << "the cut line stays as it was";
  EXPECT_EQ(lines[3],
            "Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"Rex\"")
      << "and does not swallow the next one";
}

TEST_F(JournalStoreTest, AReadBackKeepsTheLatestThousandOfABoundedTail) {
  fs::create_directories(fs::path(kFile).parent_path());
  {
    std::ofstream out(kFile, std::ios::binary);
    for (int n = 0; n < 12000; ++n) {
      out << "Cradlekeep journal event=capture time=2026-12-09T08:00:00Z server=TheIsland_WP creature=\"c" << n
          << "\"\n";
    }
  }
  ASSERT_GT(fs::file_size(kFile), 2 * 512 * 1024u) << "far larger than the tail read back";
  WriteConfig("{}");
  Start();
  EXPECT_EQ(ck::journal::Held(), ck::journal::kCapacity);
  EXPECT_EQ(ck::journal::Dropped(), 0u) << "what was never in memory was not dropped from it";
  const ck::journal::Found found = ck::journal::Latest("", 1);
  ASSERT_EQ(found.lines.size(), 1u);
  EXPECT_NE(found.lines[0].find("creature=\"c11999\""), std::string::npos);
  EXPECT_EQ(ck::journal::Latest("c10999", 10).matching, 0u) << "older than the latest thousand";
}

TEST_F(JournalStoreTest, AFolderThatFailsWhileTheServerRunsIsToldOnceAndTheJournalGoesOn) {
  WriteConfig(R"({"JournalFolder": "shared"})");
  Start();
  Add("a");
  WaitForWriter(1);
  // The share goes away: where the folder was, there is now a plain file.
  fs::remove_all("shared");
  std::ofstream("shared", std::ios::binary) << "x";
  Add("b");
  WaitForWriter(2);
  Add("c");
  WaitForWriter(3);
  Add("d");
  EXPECT_EQ(WarnLinesWith("Cradlekeep journal file: could not open "), 1u) << "the same fault is told once";
  EXPECT_EQ(WarnLinesWith("shared/TheIsland_WP.journal: "), 1u) << "the line names the file, as the writer opens it";
  EXPECT_EQ(ck::journal::Held(), 4u) << "the journal goes on in memory";
  const std::string status = ck::plugin::JournalStatusLine();
  EXPECT_NE(status.find("; last error: could not open "), std::string::npos) << status;
  EXPECT_NE(status.find("file shared/TheIsland_WP.journal: "), std::string::npos)
      << "the status names the file as the setting does" << status;
  EXPECT_NE(status.find(", 1 written, "), std::string::npos) << status;
}

TEST_F(JournalStoreTest, AReloadThatMovesTheFolderFlushesTheOldFileAndWritesOnInTheNew) {
  WriteConfig("{}");
  Start();
  Add("before");
  WriteConfig(R"({"JournalFolder": "elsewhere", "JournalServerName": "Center"})");
  const std::vector<std::string> answer = ck::plugin::ReloadSettings();
  EXPECT_NE(std::find(answer.begin(), answer.end(),
                      "Cradlekeep journal: file elsewhere/Center.journal: 0 queued, 0 written, 0 dropped; last error: "
                      "none"),
            answer.end());
  EXPECT_EQ(FileLines(kFile).size(), 1u) << "what was queued went to the old file before its writer ended";
  Add("after");
  Stop();
  const auto moved = FileLines("elsewhere/Center.journal");
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_NE(moved[0].find("server=Center creature=\"after\""), std::string::npos) << moved[0];
}

TEST_F(JournalStoreTest, AReloadTriesAFolderThatFailedAgain) {
  std::ofstream("blocked", std::ios::binary) << "a file where the folder should be";
  WriteConfig(R"({"JournalFolder": "blocked"})");
  Start();
  Add("in memory only");
  EXPECT_EQ(WarnLinesWith("Cradlekeep journal file is off: blocked is a file, not a folder"), 1u);
  EXPECT_NE(ck::plugin::JournalStatusLine().find("; no file (blocked is a file, not a folder): the journal is in "
                                                 "memory and in the log"),
            std::string::npos)
      << ck::plugin::JournalStatusLine();
  fs::remove("blocked");  // the admin mends it
  const std::vector<std::string> answer = ck::plugin::ReloadSettings();
  EXPECT_NE(std::find(answer.begin(), answer.end(),
                      "Cradlekeep journal: file blocked/TheIsland_WP.journal: 0 queued, 0 written, 0 dropped; last "
                      "error: none"),
            answer.end());
  Add("on file");
  Stop();
  const auto lines = FileLines("blocked/TheIsland_WP.journal");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("creature=\"on file\""), std::string::npos);
}

TEST_F(JournalStoreTest, AReloadWithTheSameFilesKeepsItsWriter) {
  WriteConfig("{}");
  Start();
  const auto* writer = ck::state::Current().journal_files.writer.get();
  WriteConfig(R"({"DebugLogging": true})");
  const std::vector<std::string> answer = ck::plugin::ReloadSettings();
  EXPECT_EQ(ck::state::Current().journal_files.writer.get(), writer);
  EXPECT_TRUE(std::none_of(answer.begin(), answer.end(),
                           [](const std::string& line) { return line.starts_with("Cradlekeep journal:"); }));
}

}  // namespace
