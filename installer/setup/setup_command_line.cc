#include "installer/setup/setup_command_line.h"

#include "base/string_join.h"
#include "base/utf.h"
#include "installer/command_line/switches.h"
#include "installer/setup/setup_switches.h"

namespace lite {
namespace {

void AppendNumberIfNonZero(InstallerCommandLine* line, const char* name, int64_t value) {
  if (value != 0) line->AppendSwitchValue(name, UTF8ToUTF16(std::to_string(value)));
}

void AppendPathIfNonEmpty(InstallerCommandLine* line, std::string_view name,
                          const FilePath& path) {
  if (!path.empty()) line->AppendSwitchValue(name, path.value());
}

void AppendTextIfNonEmpty(InstallerCommandLine* line, const char* name,
                          const std::string& text) {
  if (!text.empty()) line->AppendSwitchASCII(name, text);
}

}  // namespace

// The order matters only where a later rule sets a name an earlier one, or
// the installer's own command line, already holds: the later value wins.
InstallerCommandLine BuildSetupCommandLine(const SetupCommandLineInputs& in) {
  namespace ss = setup_switches;
  InstallerCommandLine line;
  if (in.process_command_line) line = *in.process_command_line;
  line.SetProgram(in.archive_path);

  if (in.uac_declined) line.AppendSwitch(ss::kDisableUac);
  line.AppendSwitchASCII(ss::kProgressWindow, std::to_string(in.progress_window));
  line.AppendSwitch(ss::kVerboseLogging);
  line.AppendSwitchASCII(switches::kBrandName, in.brand_name);
  AppendPathIfNonEmpty(&line, ss::kDistrInfoFile, in.distr_info_file);

  line.SetOrRemoveSwitch(switches::kMakeBrowserDefaultAfterImport, in.make_default);
  line.SetOrRemoveSwitch(switches::kSendStatistics, in.send_statistics);
  line.SetOrRemoveSwitch(switches::kDisableTlPin, !in.install_pin);

  AppendNumberIfNonZero(&line, ss::kOkButtonPressedTime, in.ok_button_pressed_time);
  AppendNumberIfNonZero(&line, ss::kInstallStartTimeNoUac, in.install_start_time);
  AppendNumberIfNonZero(&line, ss::kTheInterfaceAvailability, in.interface_availability);
  AppendPathIfNonEmpty(&line, switches::kAbtConfigResourceFile, in.abt_config_resource_file);

  if (in.with_data_files) {
    line.AppendSwitchValue(switches::kInstallerData, in.installer_data.value());
    line.AppendSwitchValue(switches::kClidsFile, in.clids_file.value());
    AppendPathIfNonEmpty(&line, switches::kTolvarWebsiteIconFile, in.website_icon_file);
    AppendPathIfNonEmpty(&line, ss::kBrandPackage, in.brand_package);
    AppendPathIfNonEmpty(&line, ss::kPartnerPackage, in.partner_package);
    AppendPathIfNonEmpty(&line, ss::kOverridePartnerPackage, in.override_partner_package);
  }

  if (in.elevation_mode == 2) line.AppendSwitch(ss::kShowUacAtBrowserStart);
  if (in.uts2 == "1") line.AppendSwitch(ss::kUseTaskScheduler2);
  AppendTextIfNonEmpty(&line, ss::kBrowserPresent, in.browser_present);
  AppendTextIfNonEmpty(&line, ss::kInstallerBrandId, in.installer_brand_id);
  AppendTextIfNonEmpty(&line, ss::kInstallerPartnerId, in.installer_partner_id);
  AppendTextIfNonEmpty(&line, ss::kTestIds, JoinStrings(in.test_ids, ";"));

  for (const auto& [name, path] : in.background_results) {
    AppendPathIfNonEmpty(&line, name, path);
  }
  return line;
}

}  // namespace lite
