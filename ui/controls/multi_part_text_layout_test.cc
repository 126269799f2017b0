#include "ui/controls/multi_part_text_layout.h"

#include <gtest/gtest.h>

#include <iterator>

#include "ui/controls/inline_link_label.h"

namespace lite {
namespace {

// Every character is |character| pixels wide (10 unless given), a blank 6
// less.
class FakeMeasurer : public TextMeasurer {
 public:
  explicit FakeMeasurer(int character = 10) : character_(character) {}
  int Width(std::u16string_view text) const override {
    int width = 0;
    for (char16_t c : text) width += c == u' ' ? character_ - 6 : character_;
    return width;
  }

 private:
  int character_;
};

struct Expected {
  std::u16string text;
  bool link;
  int line;
  int x;
  int width;
};

// |link_character|: the width of a character in the links' font.
void ExpectParts(std::u16string_view text, int available_width, bool centre,
                 const std::vector<Expected>& expected, int link_character = 10) {
  const std::vector<TextPart> parts = LayOutParts(
      SplitIntoRuns(text), FakeMeasurer(), FakeMeasurer(link_character), available_width, centre);
  ASSERT_EQ(parts.size(), expected.size());
  for (size_t i = 0; i < parts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(parts[i].text, expected[i].text);
    EXPECT_EQ(parts[i].link, expected[i].link);
    EXPECT_EQ(parts[i].line, expected[i].line);
    EXPECT_EQ(parts[i].x, expected[i].x);
    EXPECT_EQ(parts[i].width, expected[i].width);
  }
}

TEST(MultiPartTextLayoutTest, RunsSplitAtMarkupBlanksLineFeedsAndIdeographs) {
  const std::vector<TextRun> runs = SplitIntoRuns(u"By us\r\nthe ((Lic Agr)).\u4E2D\u6587\u3002");
  const std::vector<std::pair<std::u16string, bool>> expected = {
      {u"By ", false}, {u"us\n", false}, {u"the ", false}, {u"Lic ", true},  {u"Agr", true},
      {u".", false},   {u"\u4E2D", false}, {u"\u6587", false}, {u"\u3002", false}};
  ASSERT_EQ(runs.size(), expected.size());
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].text, expected[i].first) << i;
    EXPECT_EQ(runs[i].link, expected[i].second) << i;
  }
}

TEST(MultiPartTextLayoutTest, Layouts) {
  // Without markup: plain parts only; words that fit are joined.
  ExpectParts(u"ab cd ef", 100, false, {{u"ab cd ef", false, 0, 0, 68}});
  // The link alone is one link part.
  ExpectParts(u"((Licence))", 100, false, {{u"Licence", true, 0, 0, 70}});
  // A line feed starts a new line although the line has room.
  ExpectParts(u"ab\ncd", 100, false, {{u"ab", false, 0, 0, 20}, {u"cd", false, 1, 0, 20}});
  // Two line feeds leave an empty line.
  ExpectParts(u"ab\n\ncd", 100, false,
              {{u"ab", false, 0, 0, 20}, {u"", false, 1, 0, 0}, {u"cd", false, 2, 0, 20}});
  // A word that does not fit wraps; a run wider than the line is not broken;
  // the line it leaves keeps no blank at its end.
  ExpectParts(u"abcd efghijk", 60, false,
              {{u"abcd", false, 0, 0, 40}, {u"efghijk", false, 1, 0, 70}});
  // Plain and link parts alternate on a line; the full stop after the link
  // stays on the link's line even where it would not fit.
  ExpectParts(u"ab ((cd)).", 50, false,
              {{u"ab ", false, 0, 0, 24}, {u"cd", true, 0, 24, 20}, {u".", false, 0, 44, 10}});
  // A link split over two lines gives two link parts; the first ends without
  // the blank, which its underline would show.
  ExpectParts(u"abc ((de fg))", 70, false,
              {{u"abc ", false, 0, 0, 34}, {u"de", true, 0, 34, 20}, {u"fg", true, 1, 0, 20}});
  // Ideographic punctuation that does not fit takes the ideograph before it
  // to the next line; a lone ideograph before it stays and lets it overhang.
  ExpectParts(u"\u4E00\u4E8C\u4E09\u3002", 30, false,
              {{u"\u4E00\u4E8C", false, 0, 0, 20}, {u"\u4E09\u3002", false, 1, 0, 20}});
  ExpectParts(u"\u4E00\u3002", 10, false,
              {{u"\u4E00", false, 0, 0, 10}, {u"\u3002", false, 0, 10, 10}});
  // Links are measured in their own font, here wider, up to their trimmed
  // blank at the end of a line.
  ExpectParts(u"ab ((cd ef)) gh", 70, false,
              {{u"ab ", false, 0, 0, 24}, {u"cd", true, 0, 24, 24}, {u"ef", true, 1, 0, 24},
               {u" gh", false, 1, 24, 24}},
              12);
  // Centred lines: shifted by half the free width, trailing blanks ignored.
  ExpectParts(u"abc ((de fg))", 70, true,
              {{u"abc ", false, 0, 8, 34}, {u"de", true, 0, 42, 20}, {u"fg", true, 1, 25, 20}});
}

TEST(MultiPartTextLayoutTest, LabelsWithInlineLinks) {
  EXPECT_EQ(LabelWithInlineLink(u"Send statistics", u"Privacy"), u"Send statistics. ((Privacy))");
  EXPECT_EQ(LabelWithInlineLink(u"Send.", u"Privacy"), u"Send. ((Privacy))");
  EXPECT_EQ(LabelWithInlineLink(u"\u53D1\u9001\u3002", u"P"), u"\u53D1\u9001\u3002 ((P))");
  EXPECT_EQ(RemoveParentheses(u"of the ((Licence))."), u"of the Licence.");
}

// The window and the text-fit test both lay out this text, so the test
// measures what is drawn.
TEST(MultiPartTextLayoutTest, LicenceTextAsTheWindowDrawsIt) {
  struct Case {
    const char16_t* text;
    bool redesigned;
    const char16_t* drawn;
  };
  const Case cases[] = {
      {u"the ((Licence)).", true, u"the ((Licence))"},
      {u"the ((Licence)).", false, u"the ((Licence))."},
      {u"no stop", true, u"no stop"},
      {u"two..", true, u"two."},
      {u"", true, u""},
      // Ideographic full stops end words that follow the link: they stay.
      {u"\u540C\u610F((\u8BB8\u53EF\u534F\u8BAE))\u7684\u6761\u6B3E\u3002", true,
       u"\u540C\u610F((\u8BB8\u53EF\u534F\u8BAE))\u7684\u6761\u6B3E\u3002"},
      {u"\u306B\u306A\u308A\u307E\u3059\u3002", true,
       u"\u306B\u306A\u308A\u307E\u3059\u3002"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(LicenceTextForWindow(cases[i].text, cases[i].redesigned), cases[i].drawn)
        << "case " << i;
  }
}

}  // namespace
}  // namespace lite
