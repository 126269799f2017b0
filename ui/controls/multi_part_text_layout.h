// Lays out a text with inline links ("((link))" markup) as parts: runs of
// plain text and of link text, each a child window of its own, wrapped into
// lines by their measured widths. Used by the licence text and by the label
// of the check box with a link.
#ifndef UI_CONTROLS_MULTI_PART_TEXT_LAYOUT_H_
#define UI_CONTROLS_MULTI_PART_TEXT_LAYOUT_H_

#include <string>
#include <string_view>
#include <vector>

namespace lite {

// Width of a text in the font the parts are drawn with, in screen pixels.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual int Width(std::u16string_view text) const = 0;
};

// A piece of the text that is never broken: a word with the blanks after
// it, a line-feed-terminated end of a line, or a single CJK character.
struct TextRun {
  std::u16string text;
  bool link = false;
};

// Splits at "((" and "))" (the markers are dropped), after each line feed
// (which stays at the end of its run), after each blank that a non-blank
// follows, and around characters of scripts that break anywhere (CJK).
std::vector<TextRun> SplitIntoRuns(std::u16string_view text);

struct TextPart {
  std::u16string text;  // without line feeds
  bool link = false;
  int line = 0;
  int x = 0;  // from the left edge of the text, centring included
  int width = 0;
};

// Wraps the runs into parts within |available_width|, measuring plain runs
// with |plain| and link runs with |link|, the fonts they are drawn in; with
// |centre_lines| each line is shifted right by half its free width.
std::vector<TextPart> LayOutParts(const std::vector<TextRun>& runs, const TextMeasurer& plain,
                                  const TextMeasurer& link, int available_width,
                                  bool centre_lines);
// The same for links drawn in the plain text's font.
inline std::vector<TextPart> LayOutParts(const std::vector<TextRun>& runs,
                                         const TextMeasurer& measurer, int available_width,
                                         bool centre_lines) {
  return LayOutParts(runs, measurer, measurer, available_width, centre_lines);
}

// The accessible name of a marked-up text: every "(" and ")" removed.
std::u16string RemoveParentheses(std::u16string_view text);

}  // namespace lite

#endif  // UI_CONTROLS_MULTI_PART_TEXT_LAYOUT_H_
