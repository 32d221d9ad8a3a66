// Fuzz target: the configuration file.
//
// Each input is written, byte for byte, as the plugin's configuration file
// ("ArkApi/Plugins/Cradlekeep/config.json" under a scratch working directory
// of this process). On a fresh simulated server the plugin starts up (with a
// fresh state of its own). Then exactly one of these must hold:
//
//  - the start-up completed: the plugin logged "Cradlekeep loaded version
//    X.Y.Z" (its own version) once and no error, and the live settings are
//    the ones the file describes, as a small reading model in this file
//    works them out (every setting: a boolean "Enabled" gives that value, a
//    text "CaptureMode" is taken verbatim, and so on);
//  - the start-up failed: the plugin logged exactly one error line, which
//    begins with "Cradlekeep failed to load: ", and did not announce itself;
//    the live settings are the defaults.
//
// Then the loader alone reads the same file into a distinctive record: when
// it throws, the record must be exactly as it was (nothing half-applied);
// when it does not, the record is the one the file describes.
//
// The model also says which of the two must happen: the file loads when it
// is JSON (comments allowed) and every setting present has its type. After
// the plugin is unloaded and the world torn down, no engine block may be
// live.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "config/config_loader.h"
#include "config/config_text.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "fuzz_check.h"
#include "plugin/lifecycle.h"
#include "plugin/version.h"
#include "sim/framework/framework.h"
#include "sim/game/game.h"

namespace {

using ck::config::PluginConfig;
using ckfuzz::Check;
using ckfuzz::Fail;
using nlohmann::json;

#if defined(__GLIBCXX__) && defined(__x86_64__)
// The reading model and the comparison below name every setting; a setting
// added to the record changes its size and stops the build here until they
// name it too.
static_assert(sizeof(PluginConfig) == 8 + 4 * sizeof(double) + 12 * sizeof(std::string) +
                                          sizeof(std::vector<std::string>),
              "a setting was added or removed: update Previous(), Expect() and Differences()");
#endif

// ---------------------------------------------------------------------------
// The scratch working directory: made once per process, entered only while
// the plugin starts (so that the fuzzer's own relative paths keep working),
// removed at exit and before a broken property stops the process. It lives
// under the temporary folder (TMPDIR).

std::filesystem::path g_scratch;
std::string g_config_file;
int g_started_in = -1;  // the working directory the fuzzer was started in

void RemoveScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(g_scratch, ignored);
}

void LeaveScratch() {
  if (g_started_in >= 0 && ::fchdir(g_started_in) != 0) std::abort();
}

void EnterScratch() {
  if (::chdir(g_scratch.c_str()) != 0) Fail("cannot enter the scratch working directory");
}

void WriteConfigFile(const uint8_t* data, size_t size) {
  const int fd = ::open(g_config_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) Fail("cannot write the configuration file");
  size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(fd, data + written, size - written);
    if (n <= 0) Fail("cannot write the configuration file");
    written += static_cast<size_t>(n);
  }
  ::close(fd);
}

// ---------------------------------------------------------------------------
// The record the live settings hold before each start-up: every setting
// differs from its default and from anything a seed sets.

PluginConfig Previous() {
  PluginConfig p;
  p.Enabled = false;
  p.DebugLogging = true;
  p.ClearShoulderMountAfterCapture = false;
  p.CaptureOnTransferButton = false;
  p.ItemsPlusCompatibility = true;
  p.TemporaryVanillaCryopods = false;
  p.AutoRemoveTemporaryVanillaCryopods = false;
  p.ClearCryoSicknessFromTemporaryVanillaCryopods = false;
  p.CaptureCooldownSeconds = 9876.5;
  p.TemporaryVanillaCryopodCleanupIntervalSeconds = 0.0625;
  p.CaptureMode = "previous-capture-mode \x01";
  p.ScsCryopodBlueprint = "previous scs cryopod";
  p.ScsCaptureActorBlueprint = "previous scs capture actor";
  p.VanillaCryopodBlueprint = "previous vanilla cryopod";
  p.CryoCooldownBuffBlueprint = "previous cooldown buff";
  p.CryoSicknessBuffBlueprint = "previous sickness buff";
  p.ItemsPlusTransferNetExecCommand = "previous net exec";
  p.ItemsPlusActorNameContains = {"previous", "actor", "names"};
  p.Messages.Captured = "previous captured";
  p.Messages.NoShoulderPet = "previous no shoulder pet";
  p.Messages.CaptureFailed = "previous capture failed";
  p.JournalFolder = "previous journal folder";
  p.JournalServerName = "previous-server";
  p.JournalFileKilobytes = 77.5;
  p.JournalFilesKept = 55.5;
  return p;
}

// ---------------------------------------------------------------------------
// The reading model: what the file must give.

struct Expectation {
  bool loads = true;
  std::string why;  // why it must not load
  PluginConfig settings;
};

class Reader {
 public:
  explicit Reader(Expectation& e) : e_(e) {}

  // The value under `key` when `object` is an object that holds a non-null
  // value there, else null.
  static const json* Setting(const json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
  }

  void Flag(const json& object, const char* key, bool& out) {
    if (const json* v = Setting(object, key)) {
      if (v->is_boolean()) out = v->get<bool>();
      else Refuse(key, "a boolean");
    }
  }

  void Number(const json& object, const char* key, double& out) {
    if (const json* v = Setting(object, key)) {
      if (v->is_number_float()) out = v->get<double>();
      else if (v->is_number_unsigned()) out = static_cast<double>(v->get<uint64_t>());
      else if (v->is_number_integer()) out = static_cast<double>(v->get<int64_t>());
      else Refuse(key, "a number");
    }
  }

  void Text(const json& object, const char* key, std::string& out) {
    if (const json* v = Setting(object, key)) {
      if (v->is_string()) out = v->get_ref<const std::string&>();
      else Refuse(key, "a text");
    }
  }

  void Texts(const json& object, const char* key, std::vector<std::string>& out) {
    const json* v = Setting(object, key);
    if (v == nullptr) return;
    if (!v->is_array()) return Refuse(key, "a list");
    std::vector<std::string> list;
    for (const json& entry : *v) {
      if (!entry.is_string()) return Refuse(key, "a list of texts");
      list.push_back(entry.get_ref<const std::string&>());
    }
    out = std::move(list);
  }

 private:
  void Refuse(const char* key, const char* expected) {
    if (e_.loads) {
      e_.loads = false;
      e_.why = std::string(key) + " is not " + expected;
    }
  }

  Expectation& e_;
};

Expectation Expect(const uint8_t* data, size_t size) {
  Expectation e;
  // A file in UTF-16 is read as its text; one that is broken UTF-16 is refused.
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string encoding;
  try {
    text = ck::config::DecodeConfigText(text, encoding);
  } catch (const std::exception&) {
    e.loads = false;
    e.why = "the file is broken UTF-16";
    return e;
  }
  const json root = json::parse(text, /*cb=*/nullptr, /*allow_exceptions=*/false, /*ignore_comments=*/true);
  if (root.is_discarded()) {
    e.loads = false;
    e.why = "the file is not JSON";
    return e;
  }
  PluginConfig& s = e.settings;
  Reader r(e);
  r.Flag(root, "Enabled", s.Enabled);
  r.Flag(root, "DebugLogging", s.DebugLogging);
  r.Flag(root, "ClearShoulderMountAfterCapture", s.ClearShoulderMountAfterCapture);
  r.Flag(root, "CaptureOnTransferButton", s.CaptureOnTransferButton);
  r.Flag(root, "ItemsPlusCompatibility", s.ItemsPlusCompatibility);
  r.Flag(root, "TemporaryVanillaCryopods", s.TemporaryVanillaCryopods);
  r.Flag(root, "AutoRemoveTemporaryVanillaCryopods", s.AutoRemoveTemporaryVanillaCryopods);
  r.Flag(root, "ClearCryoSicknessFromTemporaryVanillaCryopods", s.ClearCryoSicknessFromTemporaryVanillaCryopods);
  r.Number(root, "CaptureCooldownSeconds", s.CaptureCooldownSeconds);
  r.Number(root, "TemporaryVanillaCryopodCleanupIntervalSeconds", s.TemporaryVanillaCryopodCleanupIntervalSeconds);
  r.Text(root, "CaptureMode", s.CaptureMode);
  r.Text(root, "ScsCryopodBlueprint", s.ScsCryopodBlueprint);
  r.Text(root, "ScsCaptureActorBlueprint", s.ScsCaptureActorBlueprint);
  r.Text(root, "VanillaCryopodBlueprint", s.VanillaCryopodBlueprint);
  r.Text(root, "CryoCooldownBuffBlueprint", s.CryoCooldownBuffBlueprint);
  r.Text(root, "CryoSicknessBuffBlueprint", s.CryoSicknessBuffBlueprint);
  r.Text(root, "ItemsPlusTransferNetExecCommand", s.ItemsPlusTransferNetExecCommand);
  r.Texts(root, "ItemsPlusActorNameContains", s.ItemsPlusActorNameContains);
  r.Text(root, "JournalFolder", s.JournalFolder);
  r.Text(root, "JournalServerName", s.JournalServerName);
  r.Number(root, "JournalFileKilobytes", s.JournalFileKilobytes);
  r.Number(root, "JournalFilesKept", s.JournalFilesKept);
  // Messages given as anything but an object (a text, a list, null) are
  // passed over; inside the object each message is a text or null.
  if (const json* messages = Reader::Setting(root, "Messages"); messages != nullptr && messages->is_object()) {
    r.Text(*messages, "Captured", s.Messages.Captured);
    r.Text(*messages, "NoShoulderPet", s.Messages.NoShoulderPet);
    r.Text(*messages, "CaptureFailed", s.Messages.CaptureFailed);
  }
  return e;
}

// ---------------------------------------------------------------------------
// Comparing two records: the first setting that differs, or "".

template <typename T>
void Compare(std::string& out, const char* name, const T& want, const T& got) {
  if (out.empty() && !(want == got)) out = name;
}

std::string Differences(const PluginConfig& want, const PluginConfig& got) {
  std::string d;
  Compare(d, "Enabled", want.Enabled, got.Enabled);
  Compare(d, "DebugLogging", want.DebugLogging, got.DebugLogging);
  Compare(d, "ClearShoulderMountAfterCapture", want.ClearShoulderMountAfterCapture,
          got.ClearShoulderMountAfterCapture);
  Compare(d, "CaptureOnTransferButton", want.CaptureOnTransferButton, got.CaptureOnTransferButton);
  Compare(d, "ItemsPlusCompatibility", want.ItemsPlusCompatibility, got.ItemsPlusCompatibility);
  Compare(d, "TemporaryVanillaCryopods", want.TemporaryVanillaCryopods, got.TemporaryVanillaCryopods);
  Compare(d, "AutoRemoveTemporaryVanillaCryopods", want.AutoRemoveTemporaryVanillaCryopods,
          got.AutoRemoveTemporaryVanillaCryopods);
  Compare(d, "ClearCryoSicknessFromTemporaryVanillaCryopods", want.ClearCryoSicknessFromTemporaryVanillaCryopods,
          got.ClearCryoSicknessFromTemporaryVanillaCryopods);
  Compare(d, "CaptureCooldownSeconds", want.CaptureCooldownSeconds, got.CaptureCooldownSeconds);
  Compare(d, "TemporaryVanillaCryopodCleanupIntervalSeconds", want.TemporaryVanillaCryopodCleanupIntervalSeconds,
          got.TemporaryVanillaCryopodCleanupIntervalSeconds);
  Compare(d, "CaptureMode", want.CaptureMode, got.CaptureMode);
  Compare(d, "ScsCryopodBlueprint", want.ScsCryopodBlueprint, got.ScsCryopodBlueprint);
  Compare(d, "ScsCaptureActorBlueprint", want.ScsCaptureActorBlueprint, got.ScsCaptureActorBlueprint);
  Compare(d, "VanillaCryopodBlueprint", want.VanillaCryopodBlueprint, got.VanillaCryopodBlueprint);
  Compare(d, "CryoCooldownBuffBlueprint", want.CryoCooldownBuffBlueprint, got.CryoCooldownBuffBlueprint);
  Compare(d, "CryoSicknessBuffBlueprint", want.CryoSicknessBuffBlueprint, got.CryoSicknessBuffBlueprint);
  Compare(d, "ItemsPlusTransferNetExecCommand", want.ItemsPlusTransferNetExecCommand,
          got.ItemsPlusTransferNetExecCommand);
  Compare(d, "ItemsPlusActorNameContains", want.ItemsPlusActorNameContains, got.ItemsPlusActorNameContains);
  Compare(d, "Messages.Captured", want.Messages.Captured, got.Messages.Captured);
  Compare(d, "Messages.NoShoulderPet", want.Messages.NoShoulderPet, got.Messages.NoShoulderPet);
  Compare(d, "Messages.CaptureFailed", want.Messages.CaptureFailed, got.Messages.CaptureFailed);
  Compare(d, "JournalFolder", want.JournalFolder, got.JournalFolder);
  Compare(d, "JournalServerName", want.JournalServerName, got.JournalServerName);
  Compare(d, "JournalFileKilobytes", want.JournalFileKilobytes, got.JournalFileKilobytes);
  Compare(d, "JournalFilesKept", want.JournalFilesKept, got.JournalFilesKept);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  g_started_in = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (g_started_in < 0) std::abort();
  g_scratch = std::filesystem::temp_directory_path() / ("cradlekeep-fuzz-config-" + std::to_string(::getpid()));
  std::filesystem::create_directories(g_scratch / std::filesystem::path(ck::config::kConfigPath).parent_path());
  g_config_file = (g_scratch / ck::config::kConfigPath).string();
  std::atexit(RemoveScratch);
  ckfuzz::g_before_failure = [] {
    LeaveScratch();
    RemoveScratch();
  };
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Expectation expected = Expect(data, size);
  const PluginConfig previous = Previous();
  // The journal's folder is made where the file says: only below the
  // scratch folder here.
  const std::filesystem::path journal(expected.settings.JournalFolder);
  for (const auto& part : journal) {
    if (part == "..") return 0;
  }
  if (journal.has_root_path()) return 0;

  auto game = std::make_unique<sim::Game>(sim::ServerSettings{}, sim::ModSettings{});
  WriteConfigFile(data, size);

  EnterScratch();
  ck::plugin::Startup();
  LeaveScratch();

  const std::string announced = std::string("Cradlekeep loaded version ") + ck::plugin::kVersion;
  int announcements = 0;
  int errors = 0;
  std::string first_error;
  for (const auto& r : ckfuzz::PluginRecords()) {
    if (r.text == announced) ++announcements;
    if (r.level == "error" && errors++ == 0) first_error = r.text;
  }
  const PluginConfig& live = ck::config::Current();

  if (announcements > 0) {
    Check(announcements == 1, "the plugin announced itself more than once");
    Check(errors == 0, "the plugin announced itself but also logged an error");
    Check(expected.loads, "the plugin loaded a file that must be refused (" + expected.why + ")");
    const std::string d = Differences(expected.settings, live);
    Check(d.empty(), "after a completed start-up the live setting " + d + " is not the one the file describes");
  } else {
    Check(errors == 1, "the start-up neither completed nor logged exactly one error line");
    Check(ckfuzz::StartsWith(first_error, "Cradlekeep failed to load: "),
          "the error line does not begin with \"Cradlekeep failed to load: \"");
    Check(!expected.loads, "the plugin refused a file that must load");
    const std::string d = Differences(PluginConfig{}, live);
    Check(d.empty(), "after a failed start-up the live setting " + d + " is not the default");
  }

  PluginConfig record = previous;
  ck::config::ClassCache classes;
  bool threw = false;
  EnterScratch();
  try {
    ck::config::LoadConfiguration(record, classes);
  } catch (...) {
    threw = true;
  }
  LeaveScratch();
  Check(threw != expected.loads, threw ? "the loader refused a file that must load" : "the loader took a bad file");
  const std::string d = Differences(threw ? previous : expected.settings, record);
  Check(d.empty(), threw ? "a refused file changed the setting " + d : "the loader read the setting " + d + " wrongly");

  ck::plugin::Teardown();
  game.reset();
  Check(simfw::Fw().memory.LiveBlocks() == 0, "engine blocks still live after unload and world teardown");
  return 0;
}
