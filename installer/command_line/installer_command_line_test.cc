#include "installer/command_line/installer_command_line.h"
#include "base/command_line_words.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace lite {
namespace {

using Switches = InstallerCommandLine::SwitchMap;

InstallerCommandLine Parse(std::vector<std::u16string> arguments) {
  arguments.insert(arguments.begin(), u"setup.exe");
  return InstallerCommandLine::FromWords(arguments);
}

// What the setup program would see after Windows split the rendered line.
InstallerCommandLine ReadBack(const InstallerCommandLine& command_line) {
  return InstallerCommandLine::FromWords(SplitCommandLineForTesting(command_line.Render()));
}

TEST(InstallerCommandLineTest, TrimsUnicodeWhiteSpaceAroundWords) {
  const InstallerCommandLine command_line = Parse({
      u"  --plain=1\t",
      u"\u0085--nel=2\u0085",
      u"\u00A0-nbsp=3\u00A0",
      u"\u1680/ogham=4\u1680",
      u"\u3000\u2029--mixed=a b\u202F\u205F\u2000\u200A\r\n",
      // U+200B and U+180E look blank but lack the White_Space property.
      u"--zwsp=5\u200B",
      u"\u180E--mongolian",
  });
  EXPECT_EQ(command_line.switches(), (Switches{{"plain", u"1"},
                                               {"nel", u"2"},
                                               {"nbsp", u"3"},
                                               {"ogham", u"4"},
                                               {"mixed", u"a b"},
                                               {"zwsp", u"5\u200B"}}));
}

TEST(InstallerCommandLineTest, SwitchPrefixesAreTriedLongestFirst) {
  const InstallerCommandLine command_line =
      Parse({u"--a", u"-b", u"/c", u"---d", u"--/e", u"/-f", u"//g"});
  EXPECT_EQ(command_line.switches(), (Switches{{"a", u""},
                                               {"b", u""},
                                               {"c", u""},
                                               {"-d", u""},
                                               {"/e", u""},
                                               {"-f", u""},
                                               {"/g", u""}}));
}

TEST(InstallerCommandLineTest, NamesAreLowerCasedButValuesAreNot) {
  const InstallerCommandLine command_line =
      Parse({u"/SILENT", u"--Brand-Name=ACME Inc", u"--\u00C4RGER=x"});
  // Only ASCII letters are lower-cased; U+00C4 keeps its case.
  EXPECT_EQ(command_line.switches(), (Switches{{"silent", u""},
                                               {"brand-name", u"ACME Inc"},
                                               {"\xC3\x84rger", u"x"}}));
}

TEST(InstallerCommandLineTest, LastValueWins) {
  EXPECT_EQ(Parse({u"--a=1", u"/A=2"}).switches(), (Switches{{"a", u"2"}}));
  EXPECT_EQ(Parse({u"--a=1", u"-a"}).switches(), (Switches{{"a", u""}}));
  EXPECT_EQ(Parse({u"--a", u"--a=3"}).switches(), (Switches{{"a", u"3"}}));
}

TEST(InstallerCommandLineTest, KeepsOnlySwitches) {
  const InstallerCommandLine command_line = InstallerCommandLine::FromWords(
      {u" --looks-like-a-switch ", u"file.txt", u"--a", u"x y", u"+b"});
  // The program word is taken as it is, however it looks.
  EXPECT_EQ(command_line.GetProgram(), u" --looks-like-a-switch ");
  EXPECT_EQ(command_line.switches(), (Switches{{"a", u""}}));
}

TEST(InstallerCommandLineTest, ValueIsEverythingAfterTheFirstEquals) {
  EXPECT_EQ(Parse({u"--a=b=c"}).GetSwitchValue("a"), u"b=c");
  EXPECT_EQ(Parse({u"--a= b"}).GetSwitchValue("a"), u" b");

  const InstallerCommandLine empty_value = Parse({u"--a="});
  EXPECT_TRUE(empty_value.HasSwitch("a"));
  EXPECT_EQ(empty_value.GetSwitchValue("a"), u"");
}

TEST(InstallerCommandLineTest, DropsSwitchesWithoutName) {
  EXPECT_TRUE(Parse({u"--", u"-", u"/", u"--=x", u"-=x", u"/=", u" -- "}).switches().empty());
}

TEST(InstallerCommandLineTest, EmptyCommandLine) {
  const InstallerCommandLine command_line = InstallerCommandLine::FromWords({});
  EXPECT_EQ(command_line.GetProgram(), u"");
  EXPECT_TRUE(command_line.switches().empty());
  // Written as "" so the line does not begin with a blank.
  EXPECT_EQ(command_line.Render(), u"\"\"");
  EXPECT_EQ(SplitCommandLineForTesting(command_line.Render()), std::vector<std::u16string>{u""});
}

TEST(InstallerCommandLineTest, LookupAcceptsAnyPrefixAndCase) {
  const InstallerCommandLine command_line = Parse({u"--lang=de", u"---dash=1"});
  for (const char* name : {"lang", "LANG", "--Lang", "-lang", "/LaNg"}) {
    EXPECT_TRUE(command_line.HasSwitch(name)) << name;
    EXPECT_EQ(command_line.GetSwitchValue(name), u"de") << name;
  }
  // One prefix is stripped, not more.
  EXPECT_TRUE(command_line.HasSwitch("---dash"));
  EXPECT_FALSE(command_line.HasSwitch("dash"));

  EXPECT_FALSE(command_line.HasSwitch("missing"));
  EXPECT_EQ(command_line.GetSwitchValue("missing"), u"");
  EXPECT_EQ(command_line.GetSwitchValueASCII("missing"), "");
}

TEST(InstallerCommandLineTest, AsciiValuesUseTheLowByte) {
  const InstallerCommandLine command_line = Parse({u"--a=x\u0141\u00E9"});
  EXPECT_EQ(command_line.GetSwitchValueASCII("a"), "xA\xE9");

  InstallerCommandLine written;
  written.AppendSwitchASCII("b", "de\xE9");
  EXPECT_EQ(written.GetSwitchValue("b"), u"de\u00E9");
}

TEST(InstallerCommandLineTest, SettersNormaliseNamesAndReplaceValues) {
  InstallerCommandLine command_line;
  command_line.AppendSwitch("--Verbose");
  command_line.AppendSwitchASCII("/Lang", "en");
  command_line.AppendSwitchValue("-LANG", u"fr");
  command_line.AppendSwitchValue("path", u"C:\\x");
  command_line.AppendSwitchValue("path", u"C:\\y");
  EXPECT_EQ(command_line.switches(),
            (Switches{{"verbose", u""}, {"lang", u"fr"}, {"path", u"C:\\y"}}));

  command_line.AppendSwitchASCII("verbose", "1");
  EXPECT_EQ(command_line.GetSwitchValue("verbose"), u"1");
  command_line.AppendSwitch("verbose");
  EXPECT_EQ(command_line.GetSwitchValue("verbose"), u"");

  command_line.RemoveSwitch("--VERBOSE");
  command_line.RemoveSwitch("never-set");
  EXPECT_EQ(command_line.switches(), (Switches{{"lang", u"fr"}, {"path", u"C:\\y"}}));
}

TEST(InstallerCommandLineTest, SettersIgnoreNamesThatCannotBeReadBack) {
  InstallerCommandLine command_line;
  command_line.AppendSwitch("");
  command_line.AppendSwitch("--");
  command_line.AppendSwitchASCII("/", "x");
  command_line.AppendSwitchValue("a=b", u"c");
  EXPECT_TRUE(command_line.switches().empty());
  EXPECT_EQ(ReadBack(command_line).switches(), Switches{});
}

TEST(InstallerCommandLineTest, RendersSwitchesInNameOrder) {
  InstallerCommandLine command_line;
  command_line.SetProgram(u"setup.exe");
  command_line.AppendSwitch("verbose-logging");
  command_line.AppendSwitchASCII("brand-name", "acme");
  EXPECT_EQ(command_line.Render(), u"setup.exe --brand-name=acme --verbose-logging");

  // Byte order: '-' < '_' < letters < any UTF-8 lead byte.
  InstallerCommandLine bytes;
  bytes.SetProgram(u"p");
  bytes.AppendSwitchValue("\xC3\xA9", u"1");
  bytes.AppendSwitch("ab");
  bytes.AppendSwitch("a_b");
  bytes.AppendSwitch("a-b");
  bytes.AppendSwitch("z");
  EXPECT_EQ(bytes.Render(), u"p --a-b --a_b --ab --z --\u00E9=1");
}

TEST(InstallerCommandLineTest, SwitchesRenderAloneForShellParameters) {
  InstallerCommandLine command_line;
  command_line.SetProgram(u"C:\\Program Files\\i.exe");
  EXPECT_EQ(command_line.RenderSwitches(), u"");
  EXPECT_EQ(command_line.Render(), u"\"C:\\Program Files\\i.exe\"");
  command_line.AppendSwitchValue("setup-cmd-line", u"s.exe --a=\"b c\"");
  command_line.AppendSwitch("run-as-admin");
  const std::u16string switches = u"--run-as-admin --setup-cmd-line=\"s.exe --a=\\\"b c\\\"\"";
  EXPECT_EQ(command_line.RenderSwitches(), switches);
  EXPECT_EQ(command_line.Render(), u"\"C:\\Program Files\\i.exe\" " + switches);
}

TEST(InstallerCommandLineTest, RendersValuesAndProgramQuoted) {
  InstallerCommandLine command_line;
  command_line.SetProgram(u"C:\\Program Files\\Tolvar\\setup.exe");
  command_line.AppendSwitchValue("install-dir", u"C:\\a b\\");
  command_line.AppendSwitch("silent");
  command_line.AppendSwitchValue("empty", u"");
  EXPECT_EQ(command_line.Render(),
            u"\"C:\\Program Files\\Tolvar\\setup.exe\" --empty "
            u"--install-dir=\"C:\\a b\\\\\" --silent");

  // The program word is read with literal backslashes, so none is doubled.
  command_line.RemoveSwitch("empty");
  command_line.RemoveSwitch("install-dir");
  command_line.SetProgram(u"C:\\Tolvar Lite\\");
  EXPECT_EQ(command_line.Render(), u"\"C:\\Tolvar Lite\\\" --silent");
  command_line.SetProgram(u"C:\\setup.exe");
  EXPECT_EQ(command_line.Render(), u"C:\\setup.exe --silent");
}

TEST(InstallerCommandLineTest, RendersNamesWithBlanksQuoted) {
  const InstallerCommandLine command_line =
      Parse({u"--a b=c d", u"-- x", u"--y =", u"--z\u2029=", u"--z\u2029 z"});
  // A name ending in white space keeps its "=" even without a value, so
  // that trimming the word on reading cannot shorten the name.
  EXPECT_EQ(command_line.Render(),
            u"setup.exe --\" x\" --\"a b\"=\"c d\" --\"y \"= --z\u2029= --\"z\u2029 z\"");
  EXPECT_EQ(ReadBack(command_line).switches(), command_line.switches());
}

TEST(InstallerCommandLineTest, QuotationMarkInProgramCannotAddSwitches) {
  InstallerCommandLine command_line;
  command_line.SetProgram(u"C:\\a b\" --evil \"c");
  command_line.AppendSwitch("good");
  const InstallerCommandLine read = ReadBack(command_line);
  EXPECT_EQ(read.GetProgram(), u"C:\\a b --evil c");
  EXPECT_EQ(read.switches(), (Switches{{"good", u""}}));
}

// Values may not end in white space: the reader trims every word.
TEST(InstallerCommandLineTest, TrickyValuesSurviveTheRoundTrip) {
  const std::u16string values[] = {
      u"C:\\a b\\",
      u"C:\\Program Files (x86)\\Tolvar Lite\\",
      u"\\",
      u"\\\\",
      u"\\\\\\",
      u"\"",
      u"\"\"",
      u"\"\"\"",
      u"\\\"",
      u"\\\\\"",
      u"a\\\\\\\"b",
      u"\"quoted\"",
      u"a\"b\"\" c d",
      u"\\\\server\\share\\",
      u" leading blank",
      u"\tleading tab",
      u"tab\there",
      u"x=y=z",
      u"--not-a-switch",
      u"-- --",
      u"'single quotes'",
      u"\u00FCn\u00EFc\u00F6de \u00A0 \u3000 inside",
      u"\U0001F600 emoji",
      u"%TEMP% ^& | < >",
  };
  const std::u16string programs[] = {
      u"setup.exe",
      u"C:\\Program Files\\Tolvar Lite\\setup.exe",
      u"C:\\dir with blank\\",
      u"tab\tin program",
      u"",
  };
  for (const std::u16string& program : programs) {
    InstallerCommandLine command_line;
    command_line.SetProgram(program);
    for (size_t i = 0; i < std::size(values); ++i) {
      command_line.AppendSwitchValue("v" + std::to_string(i), values[i]);
    }
    command_line.AppendSwitch("flag");
    const InstallerCommandLine read = ReadBack(command_line);
    EXPECT_EQ(read.GetProgram(), program) << testing::PrintToString(command_line.Render());
    EXPECT_EQ(read.switches(), command_line.switches())
        << testing::PrintToString(command_line.Render());
  }
}

TEST(InstallerCommandLineTest, ParsedWordsSurviveTheRoundTrip) {
  const InstallerCommandLine command_line = InstallerCommandLine::FromWords({
      u"C:\\Users\\A B\\Downloads\\TolvarSetup.exe",
      u"/SILENT",
      u"--install-dir=C:\\a b\\",
      u"-- spaced name =\"value\"",
      u"---dash\\\"=\\",
      u"--//=//",
      u"loose",
      u"--name\u00A0with\u00A0nbsp=1",
  });
  const InstallerCommandLine read = ReadBack(command_line);
  EXPECT_EQ(read.GetProgram(), command_line.GetProgram());
  EXPECT_EQ(read.switches(), command_line.switches());
  EXPECT_EQ(read.Render(), command_line.Render());
}

}  // namespace
}  // namespace lite
