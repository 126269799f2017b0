#include "tests/ui/interactive_installation_win.h"

#include <sstream>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"
#include "tests/ui/wait_win.h"
#include "tools/fake_setup/setup_record_win.h"

namespace lite {
namespace testing {
namespace {

constexpr char kStatsPrefix[] = "/installstats/";
constexpr char kReportPrefix[] = "/get/browser/install";

// The brand ids of the packages compiled into the installer: the setup URL
// is "/browser/<brand id>/browser-setup.arc" on the download host.
constexpr const char16_t* kBrandIds[] = {u"tolvar", u"ua", u"tb"};

// The "-key=value" entries of a statistics request's path.
StatEvent EventVars(const std::string& path) {
  StatEvent vars;
  const size_t start = path.find("/vars=");
  if (start == std::string::npos) return vars;
  const size_t end = path.rfind("/*");
  const std::string list =
      path.substr(start + 6, (end == std::string::npos ? path.size() : end) - start - 6);
  size_t pos = 0;
  while (pos < list.size()) {
    size_t next = list.find(",-", pos);
    if (next == std::string::npos) next = list.size();
    const std::string entry = list.substr(pos + 1, next - pos - 1);  // without "-"
    const size_t equals = entry.find('=');
    vars[entry.substr(0, equals)] = equals == std::string::npos ? "" : entry.substr(equals + 1);
    pos = next + 1;
  }
  return vars;
}

// The values the installer hands to setup stay behind when a run is cut
// short; the next run, of this suite or another, starts without them.
void RemoveHandedOverValues() {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, u"Software\\Tolvar\\TolvarBrowser", KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return;
  }
  for (const char16_t* name : kHandedOverValueNames) key.DeleteValue(name);
}

bool Contains(const StatEvent& event, const StatEvent& wanted) {
  for (const auto& [key, value] : wanted) {
    const auto found = event.find(key);
    if (found == event.end() || found->second != value) return false;
  }
  return true;
}

}  // namespace

FilePath BuildDir() { return FilePath(UTF8ToUTF16(TL_UI_BUILD_DIR)); }

InteractiveInstallation::InteractiveInstallation() {
  scratch_ = MakeScratchDir();
  temp_ = scratch_.Append(u"temp");
  record_ = scratch_.Append(u"setup_record.json");
  CreateDirectoryWithParents(temp_);
  RemoveHandedOverValues();
}

InteractiveInstallation::~InteractiveInstallation() {
  // A failed case may leave the installer running; its elevated copy and
  // setup end with it (they wait on its process).
  if (process_.is_valid() && !exit_code_) {
    process_.Terminate(1);
    int code = 0;
    process_.WaitForExit(10000, &code);
  }
  cdn_.Stop();
  RemoveHandedOverValues();
  DeletePathRecursively(scratch_);
}

bool InteractiveInstallation::Serve(Archive archive, const std::string& archive_rule) {
  const FilePath source = BuildDir().Append(
      archive == Archive::kSigned ? u"fake_setup_archive.exe" : u"fake_setup_archive_tampered.exe");
  const FilePath root = scratch_.Append(u"cdn");
  for (const char16_t* brand_id : kBrandIds) {
    const FilePath dir = root.Append(u"browser").Append(brand_id);
    if (!CreateDirectoryWithParents(dir) ||
        !CopyFileW(AsWide(source.value()), AsWide(dir.Append(u"browser-setup.arc").value()),
                   FALSE)) {
      return false;
    }
  }
  if (!cdn_.Start(root)) return false;
  return archive_rule.empty() || cdn_.SetRule("/browser/*", archive_rule);
}

std::u16string InteractiveInstallation::Environment() const {
  std::map<std::u16string, std::u16string> variables = setup_.environment;
  variables[u"TEMP"] = temp_.value() + u"\\";
  variables[u"TMP"] = temp_.value() + u"\\";
  variables[u"TOLVAR_LITE_ENDPOINT_BASE"] = UTF8ToUTF16(cdn_.Url(""));
  variables[u"TOLVAR_FAKE_SETUP_RECORD"] = record_.value();
  variables[u"TOLVAR_FAKE_SETUP_EXIT_CODE"] = UTF8ToUTF16(std::to_string(setup_.exit_code));
  variables[u"TOLVAR_FAKE_SETUP_DELAY_MS"] = UTF8ToUTF16(std::to_string(setup_.delay_ms));
  return EnvironmentWith(variables);
}

bool InteractiveInstallation::Start(const std::vector<std::u16string>& switches,
                                    const FakeSetup& setup) {
  setup_ = setup;
  process_ = StartAnother(switches);
  return process_.is_valid();
}

Process InteractiveInstallation::StartAnother(const std::vector<std::u16string>& switches) const {
  std::vector<std::u16string> words = {BuildDir().Append(u"lite_installer_e2e.exe").value()};
  words.insert(words.end(), switches.begin(), switches.end());
  LaunchOptions options;
  options.environment = Environment();
  return LaunchProcess(JoinCommandLine(words), options);
}

std::optional<int> InteractiveInstallation::WaitForExit(DWORD timeout_ms) {
  if (!exit_code_ && process_.is_valid()) {
    int code = 0;
    if (process_.WaitForExit(timeout_ms, &code)) exit_code_ = code;
  }
  return exit_code_;
}

std::vector<std::string> InteractiveInstallation::LogLinesWith(const std::string& text) const {
  std::vector<std::string> found;
  std::istringstream in(ReadFileWithLimit(log_path(), 1 << 22).value_or(""));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

bool InteractiveInstallation::WaitForLogLine(const std::string& text, DWORD timeout_ms) const {
  return WaitUntil([&] { return !LogLinesWith(text).empty(); }, timeout_ms, 100);
}

std::vector<std::string> InteractiveInstallation::StatsTargets(bool wait_for_report) {
  std::vector<std::string> targets;
  // The CDN may still be writing down what arrived last.
  WaitUntil(
      [&] {
        targets.clear();
        bool report_seen = false;
        if (std::optional<Value> records = cdn_.Requests(); records && records->is_list()) {
          for (const Value& record : *records->GetIfList()) {
            const Value* target = record.FindPath("target");
            if (!target || !target->is_string()) continue;
            const std::string& text = *target->GetIfString();
            if (text.rfind(kReportPrefix, 0) == 0) report_seen = true;
            if (text.rfind(kStatsPrefix, 0) == 0 || text.rfind(kReportPrefix, 0) == 0) {
              targets.push_back(text);
            }
          }
        }
        return report_seen || !wait_for_report;
      },
      wait_for_report ? 5000 : 0, 100);
  return targets;
}

std::vector<StatEvent> InteractiveInstallation::StatEvents() {
  std::vector<StatEvent> events;
  for (const std::string& target : StatsTargets(false)) {
    if (target.rfind(kStatsPrefix, 0) == 0) events.push_back(EventVars(target));
  }
  return events;
}

bool InteractiveInstallation::WaitForEvent(const StatEvent& wanted, DWORD timeout_ms) {
  return WaitUntil(
      [&] {
        for (const StatEvent& event : StatEvents()) {
          if (Contains(event, wanted)) return true;
        }
        return false;
      },
      timeout_ms, 200);
}

std::vector<std::string> InteractiveInstallation::FinalReports() {
  std::vector<std::string> reports;
  for (const std::string& target : StatsTargets(true)) {
    if (target.rfind(kReportPrefix, 0) == 0) reports.push_back(target);
  }
  return reports;
}

std::optional<Value> InteractiveInstallation::SetupRecord() const {
  std::optional<std::string> text = ReadFileWithLimit(record_, 1 << 20);
  return text ? ReadJson(*text, nullptr) : std::nullopt;
}

std::vector<StatEvent> EventsNamed(const std::vector<StatEvent>& events, const std::string& word) {
  std::vector<StatEvent> named;
  for (const StatEvent& event : events) {
    for (const char* key : {"action", "clicked_button", "clicked_link", "chosen_checkbox"}) {
      const auto found = event.find(key);
      if (found != event.end() && found->second == word) {
        named.push_back(event);
        break;
      }
    }
  }
  return named;
}

}  // namespace testing
}  // namespace lite
