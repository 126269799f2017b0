#include "installer/setup/delayed_params_win.h"

#include <gtest/gtest.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

using Switches = InstallerCommandLine::SwitchMap;

// The elevated copy's side, in a second process of this executable: reads
// the block into a command line that already has some of the switches,
// writes the rendered line to args[0], and records failure kind 5.
int ReadBlockInChild(const std::vector<std::u16string>& args) {
  InstallerCommandLine line = CommandLineFromString(u"C:\\first.exe --send-statistics=old --silent");
  ReadDelayedParams(&line);
  SetFailureKind(FailureKind::kSetupExit7);
  return WriteWholeFile(FilePath(args.at(0)), UTF16ToUTF8(line.Render())) ? 0 : 1;
}
TL_CHILD_PROCESS("read-delayed-params", ReadBlockInChild);

class DelayedParamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    dir_ = testing::MakeScratchDir();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    DeletePathRecursively(dir_);
  }

  // A block without optional paths and every choice off.
  DelayedParamsValues Minimal() {
    DelayedParamsValues v;
    v.browser_arc_path = u"C:\\arc.tmp";
    v.install_tlpin = false;
    return v;
  }
  InstallerCommandLine ReadInProcess() {
    InstallerCommandLine line = CommandLineFromString(
        u"x.exe --send-statistics --make-browser-default-after-import");
    ReadDelayedParams(&line);
    return line;
  }

  std::vector<LogRecord> records_;
  FilePath dir_;
};

TEST_F(DelayedParamsTest, SecondProcessOfTheSameFileReadsTheBlock) {
  const FilePath icon = dir_.Append(u"website.ico");
  ASSERT_TRUE(WriteWholeFile(icon, std::string(70000, 'i')));  // more than one read
  DelayedParamsValues v;
  v.browser_arc_path = dir_.Append(u"setup arc.tmp").value();
  v.clids_file_path = u"C:\\d\\clids.xml";
  v.tolvar_website_icon_file_path = icon.value();
  v.installer_data_path = u"C:\\d\\master_preferences";
  v.brand_package_path = u"C:\\d\\brand.cab";
  v.partner_package_path = u"C:\\d\\partner.cab";
  v.partner_package_override_path = u"C:\\d\\override.cab";
  v.histogram_download_time = u"42";
  v.histogram_full_time = u"9876543210";
  v.send_statistics = true;
  v.make_default = true;
  v.install_tlpin = false;
  ASSERT_TRUE(WriteDelayedParams(v));
  SetFailureKind(FailureKind::kNone);

  const FilePath out = dir_.Append(u"line.txt");
  ASSERT_EQ(testing::RunChild("read-delayed-params", {out.value()}), 0);
  const std::optional<std::string> text = ReadFileWithLimit(out, 1 << 16);
  ASSERT_TRUE(text);
  const InstallerCommandLine line = CommandLineFromString(UTF8ToUTF16(*text));
  EXPECT_EQ(line.GetProgram(), v.browser_arc_path);
  EXPECT_EQ(line.switches(), (Switches{{"brand-package", u"C:\\d\\brand.cab"},
                                       {"clids-file", u"C:\\d\\clids.xml"},
                                       {"disabletlpin", u""},
                                       {"histogram-download-time", u"42"},
                                       {"install-start-time-no-uac", u"9876543210"},
                                       {"installerdata", u"C:\\d\\master_preferences"},
                                       {"make-browser-default-after-import", u""},
                                       {"override-partner-package", u"C:\\d\\override.cab"},
                                       {"partner-package", u"C:\\d\\partner.cab"},
                                       {"send-statistics", u""},
                                       {"silent", u""},
                                       {"tolvar-website-icon-file", icon.value()}}));
  // The failure kind the child wrote outlives the child.
  EXPECT_EQ(GetFailureKind(), FailureKind::kSetupExit7);
}

TEST_F(DelayedParamsTest, FieldsTakeTheirLongestValuesAndRefuseLongerOnes) {
  DelayedParamsValues v = Minimal();
  v.browser_arc_path = u"C:\\" + std::u16string(257, u'a');
  v.histogram_download_time = std::u16string(32, u'7');
  ASSERT_EQ(v.browser_arc_path.size(), 260u);
  ASSERT_TRUE(WriteDelayedParams(v));
  InstallerCommandLine line = ReadInProcess();
  EXPECT_EQ(line.GetProgram(), v.browser_arc_path);
  EXPECT_EQ(line.GetSwitchValue("histogram-download-time"), v.histogram_download_time);

  DelayedParamsValues too_long = v;
  too_long.brand_package_path = std::u16string(261, u'b');
  too_long.make_default = true;
  EXPECT_FALSE(WriteDelayedParams(too_long));
  too_long = v;
  too_long.histogram_full_time = std::u16string(33, u'1');
  EXPECT_FALSE(WriteDelayedParams(too_long));

  // Both refusals left the block as the first write made it.
  line = ReadInProcess();
  EXPECT_EQ(line.GetProgram(), v.browser_arc_path);
  EXPECT_FALSE(line.HasSwitch("brand-package"));
  EXPECT_FALSE(line.HasSwitch("install-start-time-no-uac"));
  EXPECT_FALSE(line.HasSwitch("make-browser-default-after-import"));
  EXPECT_TRUE(HasRecord(records_,
                        "Too large string length, browser_arc_path=" +
                            UTF16ToUTF8(v.browser_arc_path) +
                            " clids_file_path= tolvar_website_icon_file_path= "
                            "installer_data_path= brand_package_path=" + std::string(261, 'b') +
                            " partner_package_path= partner_package_override_path= "
                            "histogram_download_time=" + std::string(32, '7') +
                            " histogram_full_time= send_statistics=0 make_default=1"
                            " install_tlpin=0",
                        "WriteDelayedParams"));
  EXPECT_EQ(records_.size(), 2u);
}

TEST_F(DelayedParamsTest, EmptyFieldsAddNothingButTheDownloadTime) {
  DelayedParamsValues v = Minimal();
  v.install_tlpin = true;
  ASSERT_TRUE(WriteDelayedParams(v));
  InstallerCommandLine line = ReadInProcess();
  // The choices already on the line are taken back.
  EXPECT_EQ(line.switches(), (Switches{{"histogram-download-time", u""}}));

  const FilePath empty_icon = dir_.Append(u"empty.ico");
  ASSERT_TRUE(WriteWholeFile(empty_icon, ""));
  for (const FilePath& icon : {empty_icon, dir_.Append(u"missing.ico")}) {
    v.tolvar_website_icon_file_path = icon.value();
    ASSERT_TRUE(WriteDelayedParams(v));
    EXPECT_FALSE(ReadInProcess().HasSwitch("tolvar-website-icon-file"));
  }
}

}  // namespace
}  // namespace lite
