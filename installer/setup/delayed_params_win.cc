#include "installer/setup/delayed_params_win.h"

#include <windows.h>

#include <atomic>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/switches.h"
#include "installer/setup/setup_switches.h"
#include "logging/log_message.h"

namespace lite {
namespace {

// "shared" marks the section IMAGE_SCN_MEM_SHARED; the variable must be
// initialised or it would land in .bss instead. Its section holds nothing
// else, so the section is exactly the block, provided the compiler keeps to
// the struct's own 4-byte alignment: the assembler pads a section to its
// alignment, and GCC would give a large object 32.
DelayedParams g_delayed_params __attribute__((section("Shared"), shared, aligned(4))) = {};

template <size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != u'\0') ++length;
  return std::u16string(field, length);
}

template <size_t N>
void CopyToField(const std::u16string& value, char16_t (&field)[N]) {
  lstrcpynW(AsWide(field), AsWide(value), static_cast<int>(N));
}

// Reads the whole file without keeping it: the icon is handed on only when
// every byte of it can be read and there is at least one.
bool IsReadableNonEmptyFile(const std::u16string& path) {
  // The copy reads this in a folder the user can write: a link there is
  // opened as itself, never followed.
  ScopedHandle file(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  uint64_t total = 0;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return false;
    if (read == 0) return total > 0;
    total += read;
  }
}

void AppendIfNonEmpty(InstallerCommandLine* line, const char* name,
                      const std::u16string& value) {
  if (!value.empty()) line->AppendSwitchValue(name, value);
}

}  // namespace

bool WriteDelayedParams(const DelayedParamsValues& v) {
  return WriteDelayedParams(v, &g_delayed_params);
}

bool WriteDelayedParams(const DelayedParamsValues& v, DelayedParams* target) {
  const size_t max_path = kDelayedPathUnits - 1;
  const size_t max_text = kDelayedTextUnits - 1;
  const bool fits =
      v.browser_arc_path.size() <= max_path && v.clids_file_path.size() <= max_path &&
      v.tolvar_website_icon_file_path.size() <= max_path &&
      v.installer_data_path.size() <= max_path && v.brand_package_path.size() <= max_path &&
      v.partner_package_path.size() <= max_path &&
      v.partner_package_override_path.size() <= max_path &&
      v.histogram_download_time.size() <= max_text && v.histogram_full_time.size() <= max_text;
  if (!fits) {
    LOG(ERROR) << "Too large string length,"
               << " browser_arc_path=" << v.browser_arc_path
               << " clids_file_path=" << v.clids_file_path
               << " tolvar_website_icon_file_path=" << v.tolvar_website_icon_file_path
               << " installer_data_path=" << v.installer_data_path
               << " brand_package_path=" << v.brand_package_path
               << " partner_package_path=" << v.partner_package_path
               << " partner_package_override_path=" << v.partner_package_override_path
               << " histogram_download_time=" << v.histogram_download_time
               << " histogram_full_time=" << v.histogram_full_time
               << " send_statistics=" << v.send_statistics
               << " make_default=" << v.make_default << " install_tlpin=" << v.install_tlpin;
    return false;
  }
  DelayedParams& block = *target;
  CopyToField(v.browser_arc_path, block.browser_arc_path);
  CopyToField(v.clids_file_path, block.clids_file_path);
  CopyToField(v.tolvar_website_icon_file_path, block.tolvar_website_icon_file_path);
  CopyToField(v.installer_data_path, block.installer_data_path);
  CopyToField(v.brand_package_path, block.brand_package_path);
  CopyToField(v.partner_package_path, block.partner_package_path);
  CopyToField(v.partner_package_override_path, block.partner_package_override_path);
  CopyToField(v.histogram_download_time, block.histogram_download_time);
  CopyToField(v.histogram_full_time, block.histogram_full_time);
  block.send_statistics = v.send_statistics ? 1 : 0;
  block.make_default = v.make_default ? 1 : 0;
  block.install_tlpin = v.install_tlpin ? 1 : 0;
  return true;
}

void ReadDelayedParams(InstallerCommandLine* line) {
  ReadDelayedParams(g_delayed_params, line);
  const std::u16string icon = line->GetSwitchValue(switches::kTolvarWebsiteIconFile);
  if (!icon.empty() && !IsReadableNonEmptyFile(icon)) {
    line->RemoveSwitch(switches::kTolvarWebsiteIconFile);
  }
}

void ReadDelayedParams(const DelayedParams& block, InstallerCommandLine* line) {
  namespace ss = setup_switches;
  const std::u16string archive = FieldText(block.browser_arc_path);
  if (!archive.empty()) line->SetProgram(archive);

  AppendIfNonEmpty(line, switches::kInstallerData, FieldText(block.installer_data_path));
  AppendIfNonEmpty(line, switches::kClidsFile, FieldText(block.clids_file_path));
  AppendIfNonEmpty(line, switches::kTolvarWebsiteIconFile,
                   FieldText(block.tolvar_website_icon_file_path));
  AppendIfNonEmpty(line, ss::kBrandPackage, FieldText(block.brand_package_path));
  AppendIfNonEmpty(line, ss::kPartnerPackage, FieldText(block.partner_package_path));
  AppendIfNonEmpty(line, ss::kOverridePartnerPackage,
                   FieldText(block.partner_package_override_path));
  AppendIfNonEmpty(line, ss::kInstallStartTimeNoUac, FieldText(block.histogram_full_time));

  line->SetOrRemoveSwitch(switches::kSendStatistics, block.send_statistics != 0);
  line->SetOrRemoveSwitch(switches::kMakeBrowserDefaultAfterImport, block.make_default != 0);
  line->SetOrRemoveSwitch(switches::kDisableTlPin, block.install_tlpin == 0);
  line->AppendSwitchValue(ss::kHistogramDownloadTime, FieldText(block.histogram_download_time));
}

// One aligned 32-bit access each way; volatile so that the store is not
// dropped or merged with the rest of the block.
namespace {
// Process-wide like the block itself: what this process's setup run found.
std::atomic<int32_t> g_own_failure_kind{0};
}  // namespace

void SetFailureKind(FailureKind kind) {
  g_own_failure_kind = static_cast<int32_t>(kind);
  SetFailureKind(&g_delayed_params, kind);
}

FailureKind GetOwnFailureKind() { return static_cast<FailureKind>(g_own_failure_kind.load()); }

FailureKind GetFailureKind() { return GetFailureKind(g_delayed_params); }

void SetFailureKind(DelayedParams* block, FailureKind kind) {
  *static_cast<volatile int32_t*>(&block->failure_kind) = static_cast<int32_t>(kind);
}

FailureKind GetFailureKind(const DelayedParams& block) {
  return static_cast<FailureKind>(*static_cast<volatile const int32_t*>(&block.failure_kind));
}

}  // namespace lite
