#include "tests/e2e/silent_installation_win.h"

#include <windows.h>

#include <sstream>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/process_win.h"
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

// The brand ids of the packages compiled into the installer: the setup URL
// is "/browser/<brand id>/browser-setup.arc" on the download host.
constexpr const char16_t* kBrandIds[] = {u"tolvar", u"ua", u"tb"};

FilePath BuildPath(const char* name) {
  return FilePath(UTF8ToUTF16(TL_E2E_BUILD_DIR)).Append(UTF8ToUTF16(name));
}

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

}  // namespace

FilePath ArchivePath(Archive archive) {
  switch (archive) {
    case Archive::kSigned:
      return BuildPath("fake_setup_archive.exe");
    case Archive::kTampered:
      return BuildPath("fake_setup_archive_tampered.exe");
    case Archive::kWrongKey:
      return BuildPath("fake_setup_archive_wrong_key.exe");
    case Archive::kUnlistedSigner:
      return BuildPath("fake_setup_archive_unlisted_signer.exe");
  }
  return FilePath();
}

SilentInstallation::SilentInstallation() {
  scratch_ = MakeScratchDir();
  temp_ = scratch_.Append(u"temp");
  record_ = scratch_.Append(u"setup_record.json");
  CreateDirectoryWithParents(temp_);
  RemoveHandedOverValues();
}

SilentInstallation::~SilentInstallation() {
  cdn_.Stop();
  RemoveHandedOverValues();
  DeletePathRecursively(scratch_);
}

bool SilentInstallation::Serve(Archive archive) {
  const FilePath root = scratch_.Append(u"cdn");
  for (const char16_t* brand_id : kBrandIds) {
    const FilePath dir = root.Append(u"browser").Append(brand_id);
    if (!CreateDirectoryWithParents(dir) ||
        !CopyFileW(AsWide(ArchivePath(archive).value()),
                   AsWide(dir.Append(u"browser-setup.arc").value()), FALSE)) {
      return false;
    }
  }
  return cdn_.Start(root);
}

int SilentInstallation::Run(const std::vector<std::u16string>& switches, const FakeSetup& setup,
                            DWORD timeout_ms, const std::string& endpoint_base) {
  std::vector<std::u16string> words = {BuildPath("lite_installer_e2e.exe").value()};
  words.insert(words.end(), switches.begin(), switches.end());
  LaunchOptions options;
  options.environment = EnvironmentWith({
      {u"TEMP", temp_dir()},
      {u"TMP", temp_dir()},
      {u"TOLVAR_LITE_ENDPOINT_BASE",
       UTF8ToUTF16(endpoint_base.empty() ? cdn_.Url("") : endpoint_base)},
      {u"TOLVAR_FAKE_SETUP_RECORD", record_.value()},
      {u"TOLVAR_FAKE_SETUP_EXIT_CODE", UTF8ToUTF16(std::to_string(setup.exit_code))},
      {u"TOLVAR_FAKE_SETUP_DELAY_MS", UTF8ToUTF16(std::to_string(setup.delay_ms))},
  });
  const ULONGLONG start = GetTickCount64();
  Process process = LaunchProcess(JoinCommandLine(words), options);
  int code = -9999;
  if (!process.is_valid()) return code;
  if (!process.WaitForExit(timeout_ms, &code)) {
    process.Terminate(1);
    code = -9999;
  }
  run_ms_ = static_cast<DWORD>(GetTickCount64() - start);
  return code;
}

std::u16string SilentInstallation::temp_dir() const { return temp_.value() + u"\\"; }

std::optional<Value> SilentInstallation::SetupRecord() const {
  std::optional<std::string> text = ReadFileWithLimit(record_, 1 << 20);
  return text ? ReadJson(*text, nullptr) : std::nullopt;
}

std::vector<std::string> SilentInstallation::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(
      ReadFileWithLimit(temp_.Append(u"lite_installer.log"), 1 << 22).value_or(""));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> SilentInstallation::LogLinesWith(const std::string& text) const {
  std::vector<std::string> found;
  for (const std::string& line : LogLines()) {
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::vector<std::string> SilentInstallation::StatsAndReportTargets() {
  std::vector<std::string> targets;
  // The installer has ended, but the CDN may still be writing down what
  // arrived last.
  const ULONGLONG deadline = GetTickCount64() + 5000;
  do {
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
    if (report_seen) break;
    Sleep(100);
  } while (GetTickCount64() < deadline);
  return targets;
}

std::vector<StatEvent> SilentInstallation::StatEvents() {
  std::vector<StatEvent> events;
  for (const std::string& target : StatsAndReportTargets()) {
    if (target.rfind(kStatsPrefix, 0) == 0) events.push_back(EventVars(target));
  }
  return events;
}

std::vector<std::string> SilentInstallation::FinalReports() {
  std::vector<std::string> reports;
  for (const std::string& target : StatsAndReportTargets()) {
    if (target.rfind(kReportPrefix, 0) == 0) reports.push_back(target);
  }
  return reports;
}

int SilentInstallation::FinalReportPosition() {
  const std::vector<std::string> targets = StatsAndReportTargets();
  for (size_t i = 0; i < targets.size(); ++i) {
    if (targets[i].rfind(kReportPrefix, 0) == 0) return static_cast<int>(i);
  }
  return -1;
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
