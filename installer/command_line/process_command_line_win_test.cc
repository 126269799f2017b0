#include "installer/command_line/process_command_line.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

// Whatever the installer renders, Windows' own splitter must give back.
TEST(RenderedCommandLineTest, CommandLineToArgvWGivesBackTheSameSwitches) {
  InstallerCommandLine line;
  line.SetProgram(u"C:\\Program Files (x86)\\Tolvar\\setup.exe");
  line.AppendSwitch("silent");
  line.AppendSwitchValue("installerdata", u"C:\\Users\\A B\\Temp\\data file.json");
  line.AppendSwitchValue("trailing", u"C:\\dir with space\\");
  line.AppendSwitchValue("quoted", u"say \"hi\" \\\"there\\\"");
  line.AppendSwitchValue("tab", u"a\tb");
  line.AppendSwitchValue("unicode", u"\u0416\u00e9\U0001F600");
  line.AppendSwitchValue("equals", u"a=b=c");
  line.AppendSwitchASCII("distr-info-params", "a&b=1=2&&c");
  line.AppendSwitchValue("setup-cmd-line",
                         u"\"C:\\x y\\setup.exe\" --progress-window=123 --a=\"b c\"");

  const InstallerCommandLine back = CommandLineFromString(line.Render());
  EXPECT_EQ(back.GetProgram(), line.GetProgram());
  EXPECT_EQ(back.switches(), line.switches());

  // A nested command line survives twice.
  const InstallerCommandLine nested = CommandLineFromString(back.GetSwitchValue("setup-cmd-line"));
  EXPECT_EQ(nested.GetProgram(), u"C:\\x y\\setup.exe");
  EXPECT_EQ(nested.GetSwitchValueASCII("progress-window"), "123");
  EXPECT_EQ(nested.GetSwitchValue("a"), u"b c");
}

TEST(RenderedCommandLineTest, SplittingAnEmptyTextGivesNoWords) {
  // CommandLineToArgvW would answer with the running program's path.
  EXPECT_TRUE(SplitCommandLine(u"").empty());
  EXPECT_EQ(SplitCommandLine(u"a.exe --x \"y z\""),
            (std::vector<std::u16string>{u"a.exe", u"--x", u"y z"}));
}

TEST(ProcessCommandLineTest, IsBuiltOnceFromThisProcess) {
  const InstallerCommandLine& first = ProcessCommandLine();
  EXPECT_EQ(&first, &ProcessCommandLine());
  EXPECT_FALSE(first.GetProgram().empty());
}

}  // namespace
}  // namespace lite
