#include "ui/controls/multi_part_text_layout.h"

#include <algorithm>

namespace lite {
namespace {

constexpr char16_t kLineFeed = u'\n';

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

// Where the blanks that end |text| begin; its size when none do.
size_t BlankTailStart(std::u16string_view text) {
  size_t start = text.size();
  while (start > 0 && IsBlank(text[start - 1])) --start;
  return start;
}

// Characters of scripts written without blanks between words: a line may
// break before and after each of them.
bool BreaksAnywhere(char16_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) ||  // CJK radicals, kana, ideographs
         (c >= 0xAC00 && c <= 0xD7AF) ||  // Hangul syllables
         (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
         (c >= 0xFF00 && c <= 0xFFEF);    // full-width forms
}

// Punctuation that must not start a line: it stays with what precedes it.
bool IsTrailingPunctuation(char16_t c) {
  switch (c) {
    case u'.': case u',': case u';': case u':': case u'!': case u'?':
    case u'\u3001': case u'\u3002':  // ideographic comma and full stop
    case u'\uFF0C': case u'\uFF0E': case u'\uFF1A': case u'\uFF1B':
    case u'\uFF01': case u'\uFF1F':
      return true;
    default:
      return IsBlank(c) || c == kLineFeed;
  }
}

bool IsPunctuationOnly(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), IsTrailingPunctuation);
}

std::u16string WithoutLineFeeds(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c != kLineFeed) out += c;
  }
  return out;
}

}  // namespace

std::vector<TextRun> SplitIntoRuns(std::u16string_view text) {
  std::vector<TextRun> runs;
  TextRun current;
  auto flush = [&]() {
    if (!current.text.empty()) runs.push_back(current);
    current.text.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const std::u16string_view rest = text.substr(i);
    if (rest.substr(0, 2) == u"((" || rest.substr(0, 2) == u"))") {
      flush();
      current.link = rest[0] == u'(';
      ++i;
      continue;
    }
    const char16_t c = text[i];
    if (c == u'\r') continue;  // a CR LF pair ends a line once
    if (BreaksAnywhere(c) && !IsTrailingPunctuation(c)) {
      flush();
      current.text += c;
      flush();
      continue;
    }
    // A word ends where a non-blank follows its blanks.
    if (!current.text.empty() && IsBlank(current.text.back()) && !IsBlank(c)) flush();
    current.text += c;
    if (c == kLineFeed) flush();
  }
  flush();
  return runs;
}

std::vector<TextPart> LayOutParts(const std::vector<TextRun>& runs, const TextMeasurer& plain,
                                  const TextMeasurer& link, int available_width,
                                  bool centre_lines) {
  auto measure = [&](bool is_link, std::u16string_view text) {
    return (is_link ? link : plain).Width(text);
  };
  std::vector<TextPart> parts;
  TextPart current;
  bool have_current = false;
  bool current_ends_line = false;

  // The last run appended to |current|, which may have to move on.
  size_t last_run_size = 0;
  int last_run_width = 0;
  auto start = [&](const TextRun& run, int line, int x, int width) {
    if (have_current) parts.push_back(current);
    current = TextPart{WithoutLineFeeds(run.text), run.link, line, x, width};
    have_current = true;
    last_run_size = current.text.size();
    last_run_width = width;
  };

  for (const TextRun& run : runs) {
    const int width = measure(run.link, WithoutLineFeeds(run.text));
    const int end_x = have_current ? current.x + current.width : 0;
    const int line = have_current ? current.line : 0;
    if (have_current && current_ends_line) {
      start(run, line + 1, 0, width);
    } else if (!run.link && IsPunctuationOnly(run.text)) {
      // Punctuation never starts a line. Where it does not fit, the
      // character before it goes to the next line with it, if that
      // character may break and is not all its line holds.
      const std::u16string_view before = current.text;
      if (end_x + width > available_width && last_run_size == 1 &&
          current.text.size() > 1 && BreaksAnywhere(before.back())) {
        TextRun moved{std::u16string(1, before.back()) + run.text, current.link};
        current.text.pop_back();
        current.width -= last_run_width;
        start(moved, line + 1, 0, last_run_width + width);
      } else {
        start(run, line, end_x, width);
      }
    } else if (!have_current) {
      start(run, 0, 0, width);
    } else if (end_x + width > available_width) {
      start(run, line + 1, 0, width);
    } else if (current.link != run.link) {
      start(run, line, end_x, width);
    } else {
      current.text += WithoutLineFeeds(run.text);
      current.width += width;
      last_run_size = WithoutLineFeeds(run.text).size();
      last_run_width = width;
    }
    current_ends_line = !run.text.empty() && run.text.back() == kLineFeed;
  }
  if (have_current) parts.push_back(current);

  // A part that ends its line keeps no blanks at its end: they would only
  // widen its window, and a link would underline them.
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i + 1 < parts.size() && parts[i + 1].line == parts[i].line) continue;
    TextPart& part = parts[i];
    const size_t kept = BlankTailStart(part.text);
    if (kept == 0 || kept == part.text.size()) continue;
    part.width -= measure(part.link, std::u16string_view(part.text).substr(kept));
    part.text.resize(kept);
  }

  if (centre_lines) {
    for (size_t first = 0; first < parts.size();) {
      size_t last = first;
      while (last + 1 < parts.size() && parts[last + 1].line == parts[first].line) ++last;
      // Blanks at the end of a line do not count towards its width.
      std::u16string_view tail = parts[last].text;
      const size_t trimmed = BlankTailStart(tail);
      const int trailing =
          trimmed < tail.size() ? measure(parts[last].link, tail.substr(trimmed)) : 0;
      const int line_width = parts[last].x + parts[last].width - trailing;
      const int shift = std::max(0, (available_width - line_width) / 2);
      for (size_t i = first; i <= last; ++i) parts[i].x += shift;
      first = last + 1;
    }
  }
  return parts;
}

std::u16string RemoveParentheses(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c != u'(' && c != u')') out += c;
  }
  return out;
}

}  // namespace lite
