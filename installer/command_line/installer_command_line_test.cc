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

struct ParseCase {
  const char* what;
  std::vector<std::u16string> words;  // after the program word
  Switches switches;
};

TEST(InstallerCommandLineTest, ParsesWordsIntoSwitches) {
  const ParseCase cases[] = {
      {"trims Unicode white space around words",
       {u"  --plain=1\t", u"\u0085--nel=2\u0085", u"\u00A0-nbsp=3\u00A0", u"\u1680/ogham=4\u1680",
        u"\u3000\u2029--mixed=a b\u202F\u205F\u2000\u200A\r\n",
        // U+200B and U+180E look blank but lack the White_Space property.
        u"--zwsp=5\u200B", u"\u180E--mongolian"},
       {{"plain", u"1"},
        {"nel", u"2"},
        {"nbsp", u"3"},
        {"ogham", u"4"},
        {"mixed", u"a b"},
        {"zwsp", u"5\u200B"}}},
      {"tries switch prefixes longest first",
       {u"--a", u"-b", u"/c", u"---d", u"--/e", u"/-f", u"//g"},
       {{"a", u""}, {"b", u""}, {"c", u""}, {"-d", u""}, {"/e", u""}, {"-f", u""}, {"/g", u""}}},
      // Only ASCII letters are lower-cased; U+00C4 keeps its case.
      {"lower-cases names but not values",
       {u"/SILENT", u"--Brand-Name=ACME Inc", u"--\u00C4RGER=x"},
       {{"silent", u""}, {"brand-name", u"ACME Inc"}, {"\xC3\x84rger", u"x"}}},
      {"last value wins over another prefix and case", {u"--a=1", u"/A=2"}, {{"a", u"2"}}},
      {"a later bare switch clears the value", {u"--a=1", u"-a"}, {{"a", u""}}},
      {"a later value replaces a bare switch", {u"--a", u"--a=3"}, {{"a", u"3"}}},
      {"keeps only switches", {u"file.txt", u"--a", u"x y", u"+b"}, {{"a", u""}}},
      {"value is everything after the first equals", {u"--a=b=c"}, {{"a", u"b=c"}}},
      {"value keeps its leading blank", {u"--a= b"}, {{"a", u" b"}}},
      {"empty value is present", {u"--a="}, {{"a", u""}}},
      {"drops switches without name", {u"--", u"-", u"/", u"--=x", u"-=x", u"/=", u" -- "}, {}},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(Parse(c.words).switches(), c.switches) << c.what;
  }
}

TEST(InstallerCommandLineTest, ProgramWordIsTakenAsItIs) {
  const InstallerCommandLine command_line =
      InstallerCommandLine::FromWords({u" --looks-like-a-switch ", u"--a"});
  EXPECT_EQ(command_line.GetProgram(), u" --looks-like-a-switch ");
  EXPECT_EQ(command_line.switches(), (Switches{{"a", u""}}));
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

struct RenderCase {
  const char* what;
  std::u16string program;
  Switches switches;
  std::u16string rendered;
};

TEST(InstallerCommandLineTest, RendersProgramAndSwitches) {
  const RenderCase cases[] = {
      {"switches in name order",
       u"setup.exe",
       {{"verbose-logging", u""}, {"brand-name", u"acme"}},
       u"setup.exe --brand-name=acme --verbose-logging"},
      // Byte order: '-' < '_' < letters < any UTF-8 lead byte.
      {"names in byte order",
       u"p",
       {{"\xC3\xA9", u"1"}, {"ab", u""}, {"a_b", u""}, {"a-b", u""}, {"z", u""}},
       u"p --a-b --a_b --ab --z --\u00E9=1"},
      {"values and program quoted",
       u"C:\\Program Files\\Tolvar\\setup.exe",
       {{"install-dir", u"C:\\a b\\"}, {"silent", u""}, {"empty", u""}},
       u"\"C:\\Program Files\\Tolvar\\setup.exe\" --empty "
       u"--install-dir=\"C:\\a b\\\\\" --silent"},
      // The program word is read with literal backslashes, so none is doubled.
      {"program's trailing backslash not doubled",
       u"C:\\Tolvar Lite\\",
       {{"silent", u""}},
       u"\"C:\\Tolvar Lite\\\" --silent"},
      {"plain program not quoted", u"C:\\setup.exe", {{"silent", u""}}, u"C:\\setup.exe --silent"},
      {"program alone", u"C:\\Program Files\\i.exe", {}, u"\"C:\\Program Files\\i.exe\""},
      // Written as "" so the line does not begin with a blank.
      {"empty program", u"", {}, u"\"\""},
  };
  for (const RenderCase& c : cases) {
    InstallerCommandLine command_line;
    command_line.SetProgram(c.program);
    for (const auto& [name, value] : c.switches) {
      command_line.AppendSwitchValue(name, value);
    }
    EXPECT_EQ(command_line.Render(), c.rendered) << c.what;
  }
}

TEST(InstallerCommandLineTest, SwitchesRenderAloneForShellParameters) {
  InstallerCommandLine command_line;
  command_line.SetProgram(u"C:\\Program Files\\i.exe");
  EXPECT_EQ(command_line.RenderSwitches(), u"");
  command_line.AppendSwitchValue("setup-cmd-line", u"s.exe --a=\"b c\"");
  command_line.AppendSwitch("run-as-admin");
  const std::u16string switches = u"--run-as-admin --setup-cmd-line=\"s.exe --a=\\\"b c\\\"\"";
  EXPECT_EQ(command_line.RenderSwitches(), switches);
  EXPECT_EQ(command_line.Render(), u"\"C:\\Program Files\\i.exe\" " + switches);
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
