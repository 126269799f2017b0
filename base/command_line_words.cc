#include "base/command_line_words.h"

namespace lite {
namespace {

// CommandLineToArgvW splits words on these two only.
bool IsWordBreak(char16_t c) { return c == u' ' || c == u'\t'; }

// Reads the program word at the start of |line| and returns where it ended.
size_t ReadProgramWord(std::u16string_view line, std::u16string* word) {
  bool quoted = false;
  size_t i = 0;
  for (; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && IsWordBreak(c)) {
      break;
    } else {
      word->push_back(c);
    }
  }
  return i;
}

// Reads one argument starting at |line[start]|, which is not a word break,
// and returns where it ended.
size_t ReadArgument(std::u16string_view line, size_t start, std::u16string* word) {
  bool quoted = false;
  size_t i = start;
  while (i < line.size()) {
    const char16_t c = line[i];
    if (c == u'\\') {
      size_t run = 0;
      for (; i < line.size() && line[i] == u'\\'; ++i) ++run;
      if (i < line.size() && line[i] == u'"') {
        // 2n backslashes leave the quotation mark to act as one; 2n+1
        // escape it.
        word->append(run / 2, u'\\');
        if (run % 2 == 1) {
          word->push_back(u'"');
          ++i;
        }
      } else {
        word->append(run, u'\\');
      }
    } else if (c == u'"') {
      // Inside quotes, "" is a literal quotation mark and quoting goes on.
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        word->push_back(u'"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else if (!quoted && IsWordBreak(c)) {
      break;
    } else {
      word->push_back(c);
      ++i;
    }
  }
  return i;
}

}  // namespace

bool IsUnicodeWhitespace(char16_t c) {
  return (c >= 0x0009 && c <= 0x000D) || c == 0x0020 || c == 0x0085 || c == 0x00A0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

// Tab is among the characters that force quotes because CommandLineToArgvW
// splits on it just as on a space; an unquoted tab would cut the value in two.
std::u16string QuoteForCommandLine(std::u16string_view text) {
  if (text.find_first_of(u" \t\"\\") == std::u16string_view::npos) return std::u16string(text);

  std::u16string out = u"\"";
  size_t backslashes = 0;
  for (char16_t c : text) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only right before a quotation mark, so
    // only there do they need doubling.
    out.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    out.push_back(c);
  }
  // The closing quotation mark follows, so a trailing run is doubled too.
  out.append(2 * backslashes, u'\\');
  out.push_back(u'"');
  return out;
}

// Windows reads the program word by a rule of its own: a quotation mark only
// turns quoting on or off and backslashes are literal. So the path is merely
// enclosed, never escaped, and a quotation mark has no way to be written.
// Paths cannot contain one anyway; leaving it out keeps it from closing the
// quotes early and letting the rest of the path read as switches.
std::u16string QuoteProgramWord(std::u16string_view program) {
  std::u16string bare;
  for (char16_t c : program) {
    if (c != u'"') bare.push_back(c);
  }
  // An empty program is written as "" because a line that starts with a
  // blank leaves the program word empty only for some readers.
  const bool needs_quotes = bare.empty() || bare.find_first_of(u" \t") != std::u16string::npos;
  return needs_quotes ? u"\"" + bare + u"\"" : bare;
}

std::vector<std::u16string> SplitCommandLineForTesting(std::u16string_view line) {
  std::vector<std::u16string> words(1);
  size_t i = ReadProgramWord(line, &words.front());
  while (true) {
    while (i < line.size() && IsWordBreak(line[i])) ++i;
    if (i == line.size()) break;
    words.emplace_back();
    i = ReadArgument(line, i, &words.back());
  }
  return words;
}

}  // namespace lite
