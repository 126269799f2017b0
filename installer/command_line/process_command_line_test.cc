#include "installer/command_line/process_command_line.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(ProcessCommandLineTest, SemiSilentAlsoMeansSilentAndUacEnabled) {
  const InstallerCommandLine line =
      BuildProcessCommandLine({u"C:\\lite_installer.exe", u"--semi-silent"});
  EXPECT_TRUE(line.HasSwitch("semi-silent"));
  EXPECT_TRUE(line.HasSwitch("silent"));
  EXPECT_TRUE(line.HasSwitch("uac-enabled"));
  // The rewrite and the two switches given by hand render the same switches,
  // apart from "semi-silent" itself.
  InstallerCommandLine by_hand = BuildProcessCommandLine(
      {u"C:\\lite_installer.exe", u"--silent", u"--uac-enabled", u"--semi-silent"});
  EXPECT_EQ(by_hand.switches(), line.switches());
}

TEST(ProcessCommandLineTest, RewriteKeepsOtherSwitchesAndOnlyAddsWhenAsked) {
  const InstallerCommandLine plain =
      BuildProcessCommandLine({u"C:\\lite_installer.exe", u"/SILENT", u"--brand-name=tb"});
  EXPECT_TRUE(plain.HasSwitch("silent"));
  EXPECT_FALSE(plain.HasSwitch("uac-enabled"));
  EXPECT_EQ(plain.GetSwitchValueASCII("brand-name"), "tb");

  // A value on "semi-silent" does not stop the rewrite; the added switches
  // have no value even when given one before.
  const InstallerCommandLine valued = BuildProcessCommandLine(
      {u"x.exe", u"--silent=1", u"--semi-silent=yes"});
  EXPECT_TRUE(valued.HasSwitch("uac-enabled"));
  EXPECT_EQ(valued.GetSwitchValue("silent"), u"");
}

TEST(ProcessCommandLineTest, EmptyCommandLineHasNothing) {
  const InstallerCommandLine empty = BuildProcessCommandLine({});
  EXPECT_TRUE(empty.GetProgram().empty());
  EXPECT_TRUE(empty.switches().empty());
}

}  // namespace
}  // namespace lite
