#include "base/command_line_words.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(CommandLineWordsTest, QuotesOnlyWhatNeedsIt) {
  struct Case {
    std::u16string text;
    std::u16string quoted;
  };
  const Case cases[] = {
      {u"", u""},
      {u"plain-value_1.0", u"plain-value_1.0"},
      {u"caf\u00E9=x'y'", u"caf\u00E9=x'y'"},
      {u"a b", u"\"a b\""},
      {u"a\tb", u"\"a\tb\""},
      {u"a\"b", u"\"a\\\"b\""},
      {u"\"", u"\"\\\"\""},
      // Backslashes not before a quotation mark stay single.
      {u"C:\\dir\\file", u"\"C:\\dir\\file\""},
      {u"\\\\server\\share", u"\"\\\\server\\share\""},
      // A trailing run would escape the closing quotation mark.
      {u"C:\\dir\\", u"\"C:\\dir\\\\\""},
      {u"\\\\", u"\"\\\\\\\\\""},
      // n backslashes before a quotation mark become 2n + 1.
      {u"a\\\"b", u"\"a\\\\\\\"b\""},
      {u"a\\\\\"b", u"\"a\\\\\\\\\\\"b\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuoteForCommandLine(c.text), c.quoted) << testing::PrintToString(c.text);
  }
}

// Documented examples of CommandLineToArgvW, behind a program word.
TEST(SplitCommandLineForTestingTest, FollowsWindowsRules) {
  using Words = std::vector<std::u16string>;
  EXPECT_EQ(SplitCommandLineForTesting(u"p \"a b c\" d e"), (Words{u"p", u"a b c", u"d", u"e"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p \"ab\\\"c\" \"\\\\\" d"),
            (Words{u"p", u"ab\"c", u"\\", u"d"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p a\\\\\\b d\"e f\"g h"),
            (Words{u"p", u"a\\\\\\b", u"de fg", u"h"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p a\\\\\\\"b c d"), (Words{u"p", u"a\\\"b", u"c", u"d"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p a\\\\\\\\\"b c\" d e"),
            (Words{u"p", u"a\\\\b c", u"d", u"e"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p a\"b\"\" c d"), (Words{u"p", u"ab\" c d"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p \t a\t\tb  "), (Words{u"p", u"a", u"b"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"p \"\""), (Words{u"p", u""}));
}

TEST(SplitCommandLineForTestingTest, ProgramWordHasItsOwnRules) {
  using Words = std::vector<std::u16string>;
  // Backslashes are literal and quotation marks only toggle.
  EXPECT_EQ(SplitCommandLineForTesting(u"\"C:\\a b\\\" x"), (Words{u"C:\\a b\\", u"x"}));
  EXPECT_EQ(SplitCommandLineForTesting(u"C:\\a\\\"b c\" x"), (Words{u"C:\\a\\b c", u"x"}));
  // A leading blank leaves the program word empty.
  EXPECT_EQ(SplitCommandLineForTesting(u" x"), (Words{u"", u"x"}));
  EXPECT_EQ(SplitCommandLineForTesting(u""), (Words{u""}));
}

}  // namespace
}  // namespace lite
