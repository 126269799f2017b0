#include "tests/support/test_installation_win.h"

#include <sstream>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"
#include "tools/fake_setup/setup_record_win.h"

namespace lite {
namespace testing {
namespace {

constexpr char16_t kHandedOverKey[] = u"Software\\Tolvar\\TolvarBrowser";
constexpr char kStatsPrefix[] = "/installstats/";
constexpr char kReportPrefix[] = "/get/browser/install";
// The installer has ended, but the CDN may still be writing down what
// arrived last.
constexpr DWORD kReportWaitMs = 5000;

// The brand ids of the packages compiled into the installer: the setup URL
// is "/browser/<brand id>/browser-setup.arc" on the download host.
constexpr const char16_t* kBrandIds[] = {u"tolvar", u"ua", u"tb"};

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

StatEvent EventVars(const std::string& target) {
  StatEvent vars;
  const size_t start = target.find("/vars=");
  if (start == std::string::npos) return vars;
  const size_t end = target.rfind("/*");
  const std::string list =
      target.substr(start + 6, (end == std::string::npos ? target.size() : end) - start - 6);
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

FilePath BuildDir() { return FilePath(UTF8ToUTF16(TL_BUILD_DIR)); }

FilePath ArchivePath(Archive archive) {
  switch (archive) {
    case Archive::kSigned:
      return BuildDir().Append(u"fake_setup_archive.exe");
    case Archive::kTampered:
      return BuildDir().Append(u"fake_setup_archive_tampered.exe");
    case Archive::kWrongKey:
      return BuildDir().Append(u"fake_setup_archive_wrong_key.exe");
    case Archive::kUnlistedSigner:
      return BuildDir().Append(u"fake_setup_archive_unlisted_signer.exe");
  }
  return FilePath();
}

TestInstallation::TestInstallation() {
  scratch_ = MakeScratchDir();
  temp_ = scratch_.Append(u"temp");
  record_ = scratch_.Append(u"setup_record.json");
  CreateDirectoryWithParents(temp_);
  RemoveHandedOverValues();
}

TestInstallation::~TestInstallation() {
  cdn_.Stop();
  RemoveHandedOverValues();
  DeletePathRecursively(scratch_);
}

bool TestInstallation::Serve(Archive archive, const std::string& archive_rule) {
  const FilePath root = scratch_.Append(u"cdn");
  for (const char16_t* brand_id : kBrandIds) {
    const FilePath dir = root.Append(u"browser").Append(brand_id);
    if (!CreateDirectoryWithParents(dir) ||
        !CopyFileW(AsWide(ArchivePath(archive).value()),
                   AsWide(dir.Append(u"browser-setup.arc").value()), FALSE)) {
      return false;
    }
  }
  if (!cdn_.Start(root)) return false;
  return archive_rule.empty() || cdn_.SetRule("/browser/*", archive_rule);
}

Process TestInstallation::Launch(const std::vector<std::u16string>& switches,
                                 const FakeSetup& setup, const std::string& endpoint_base) const {
  std::vector<std::u16string> words = {BuildDir().Append(u"lite_installer_e2e.exe").value()};
  words.insert(words.end(), switches.begin(), switches.end());
  std::map<std::u16string, std::u16string> variables = setup.environment;
  variables[u"TEMP"] = temp_dir();
  variables[u"TMP"] = temp_dir();
  variables[u"TOLVAR_LITE_ENDPOINT_BASE"] =
      UTF8ToUTF16(endpoint_base.empty() ? cdn_.Url("") : endpoint_base);
  variables[u"TOLVAR_FAKE_SETUP_RECORD"] = record_.value();
  variables[u"TOLVAR_FAKE_SETUP_EXIT_CODE"] = UTF8ToUTF16(std::to_string(setup.exit_code));
  variables[u"TOLVAR_FAKE_SETUP_DELAY_MS"] = UTF8ToUTF16(std::to_string(setup.delay_ms));
  LaunchOptions options;
  options.environment = EnvironmentWith(variables);
  return LaunchProcess(JoinCommandLine(words), options);
}

std::u16string TestInstallation::temp_dir() const { return temp_.value() + u"\\"; }

std::vector<std::string> TestInstallation::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileWithLimit(log_path(), 1 << 22).value_or(""));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> TestInstallation::LogLinesWith(const std::string& text) const {
  std::vector<std::string> found;
  for (const std::string& line : LogLines()) {
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::vector<std::string> TestInstallation::StatsAndReportTargets(DWORD wait_for_report_ms) {
  std::vector<std::string> targets;
  const ULONGLONG deadline = GetTickCount64() + wait_for_report_ms;
  for (;;) {
    targets.clear();
    bool report_seen = false;
    if (std::optional<Value> records = cdn_.Requests(); records && records->is_list()) {
      for (const Value& record : *records->GetIfList()) {
        const Value* target = record.FindPath("target");
        if (!target || !target->is_string()) continue;
        const std::string& text = *target->GetIfString();
        report_seen |= StartsWith(text, kReportPrefix);
        if (StartsWith(text, kStatsPrefix) || StartsWith(text, kReportPrefix)) {
          targets.push_back(text);
        }
      }
    }
    if (report_seen || GetTickCount64() >= deadline) return targets;
    Sleep(100);
  }
}

std::vector<StatEvent> TestInstallation::EventsOf(const std::vector<std::string>& targets) const {
  std::vector<StatEvent> events;
  for (const std::string& target : targets) {
    if (StartsWith(target, kStatsPrefix)) events.push_back(EventVars(target));
  }
  return events;
}

std::vector<StatEvent> TestInstallation::StatEvents() {
  return EventsOf(StatsAndReportTargets(kReportWaitMs));
}

std::vector<StatEvent> TestInstallation::StatEventsSoFar() {
  return EventsOf(StatsAndReportTargets(0));
}

std::vector<std::string> TestInstallation::FinalReports() {
  std::vector<std::string> reports;
  for (const std::string& target : StatsAndReportTargets(kReportWaitMs)) {
    if (StartsWith(target, kReportPrefix)) reports.push_back(target);
  }
  return reports;
}

int TestInstallation::FinalReportPosition() {
  const std::vector<std::string> targets = StatsAndReportTargets(kReportWaitMs);
  for (size_t i = 0; i < targets.size(); ++i) {
    if (StartsWith(targets[i], kReportPrefix)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<Value> TestInstallation::SetupRecord() const {
  std::optional<std::string> text = ReadFileWithLimit(record_, 1 << 20);
  return text ? ReadJson(*text, nullptr) : std::nullopt;
}

void RemoveHandedOverValues() {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kHandedOverKey, KEY_SET_VALUE) != ERROR_SUCCESS) return;
  for (const char16_t* name : kHandedOverValueNames) key.DeleteValue(name);
}

std::map<std::string, std::string> PresentHandedOverValues() {
  std::map<std::string, std::string> values;
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kHandedOverKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return values;
  }
  for (const char16_t* name : kHandedOverValueNames) {
    if (std::optional<std::u16string> value = key.ReadString(name)) {
      values[UTF16ToUTF8(name)] = UTF16ToUTF8(*value);
    }
  }
  return values;
}

}  // namespace testing
}  // namespace lite
