#include "installer/setup/setup_command_line.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace lite {
namespace {

using Switches = InstallerCommandLine::SwitchMap;

InstallerCommandLine Installer(std::vector<std::u16string> arguments) {
  arguments.insert(arguments.begin(), u"C:\\Downloads\\lite_installer.exe");
  return InstallerCommandLine::FromWords(arguments);
}

TEST(SetupCommandLineTest, SilentRunWithoutDataFiles) {
  const InstallerCommandLine own = Installer({u"--silent", u"--send-statistics", u"--disabletlpin"});
  SetupCommandLineInputs in;
  in.process_command_line = &own;
  in.archive_path = u"C:\\Temp\\setup 1.tmp";
  in.brand_name = "tolvar";
  in.installer_data = FilePath(u"C:\\ignored\\without\\data\\files");
  in.brand_package = FilePath(u"C:\\ignored\\brand.cab");

  const InstallerCommandLine line = BuildSetupCommandLine(in);
  EXPECT_EQ(line.GetProgram(), u"C:\\Temp\\setup 1.tmp");
  // The installer's own switches pass on unless a choice overrides them.
  EXPECT_EQ(line.switches(), (Switches{{"brand-name", u"tolvar"},
                                       {"progress-window", u"0"},
                                       {"silent", u""},
                                       {"verbose-logging", u""}}));
  EXPECT_EQ(line.Render(), u"\"C:\\Temp\\setup 1.tmp\" --brand-name=tolvar --progress-window=0 "
                           u"--silent --verbose-logging");
}

TEST(SetupCommandLineTest, EveryInputInItsSwitch) {
  const InstallerCommandLine own = Installer({u"--installerdata=C:\\old", u"--testids=9"});
  SetupCommandLineInputs in;
  in.process_command_line = &own;
  in.archive_path = u"C:\\Temp\\arc.tmp";
  in.with_data_files = true;
  in.uac_declined = true;
  in.progress_window = 0x1F00A4;
  in.brand_name = "ua_uk";
  in.distr_info_file = FilePath(u"C:\\Work\\distrib_info");
  in.make_default = true;
  in.send_statistics = true;
  in.install_pin = false;
  in.ok_button_pressed_time = 123456789012345;
  in.install_start_time = -5;
  in.interface_availability = 1;
  in.abt_config_resource_file = FilePath(u"C:\\Work\\abt");
  in.installer_data = FilePath(u"C:\\Work\\installer data");
  in.clids_file = FilePath(u"C:\\Work\\clids.xml");
  in.website_icon_file = FilePath(u"C:\\Work\\\u0444.ico");
  in.brand_package = FilePath(u"C:\\Work\\brand.cab");
  in.partner_package = FilePath(u"C:\\Work\\partner.cab");
  in.override_partner_package = FilePath(u"C:\\Work\\override.cab");
  in.elevation_mode = 2;
  in.uts2 = "1";
  in.browser_present = "user";
  in.installer_brand_id = "tolvar";
  in.installer_partner_id = "p17";
  in.test_ids = {"101", "202", "303"};
  in.background_results = {{"variations-update-path", FilePath(u"C:\\Work\\seed")},
                           {"abt-update-path", FilePath()},
                           {"webntp-path", FilePath(u"C:\\Work\\ntp")}};

  EXPECT_EQ(BuildSetupCommandLine(in).switches(),
            (Switches{{"abt-config-resource-file", u"C:\\Work\\abt"},
                      {"brand-name", u"ua_uk"},
                      {"brand-package", u"C:\\Work\\brand.cab"},
                      {"browser-present", u"user"},
                      {"clids-file", u"C:\\Work\\clids.xml"},
                      {"disable-uac", u""},
                      {"disabletlpin", u""},
                      {"distr-info-file", u"C:\\Work\\distrib_info"},
                      {"install-start-time-no-uac", u"-5"},
                      {"installer-brand-id", u"tolvar"},
                      {"installer-partner-id", u"p17"},
                      {"installerdata", u"C:\\Work\\installer data"},
                      {"make-browser-default-after-import", u""},
                      {"ok-button-pressed-time", u"123456789012345"},
                      {"override-partner-package", u"C:\\Work\\override.cab"},
                      {"partner-package", u"C:\\Work\\partner.cab"},
                      {"progress-window", u"2031780"},
                      {"send-statistics", u""},
                      {"show-uac-at-browser-start", u""},
                      {"testids", u"101;202;303"},
                      {"the-interface-availability", u"1"},
                      {"tolvar-website-icon-file", u"C:\\Work\\\u0444.ico"},
                      {"use-task-scheduler2", u""},
                      {"variations-update-path", u"C:\\Work\\seed"},
                      {"verbose-logging", u""},
                      {"webntp-path", u"C:\\Work\\ntp"}}));
}

TEST(SetupCommandLineTest, DataFileSwitchesWithEmptyPaths) {
  SetupCommandLineInputs in;
  in.archive_path = u"a.exe";
  in.with_data_files = true;
  in.uts2 = "11";
  in.elevation_mode = 1;
  // Only the two mandatory data-file switches appear, even without a value.
  EXPECT_EQ(BuildSetupCommandLine(in).switches(), (Switches{{"brand-name", u""},
                                                            {"clids-file", u""},
                                                            {"installerdata", u""},
                                                            {"progress-window", u"0"},
                                                            {"verbose-logging", u""}}));
}

}  // namespace
}  // namespace lite
