#include "installer/installer_command_line.h"

#include "base/utf.h"

namespace lite {
namespace {

// CommandLineToArgvW splits words on these two only.
bool IsWordBreak(char16_t c) { return c == u' ' || c == u'\t'; }

// Length of the leading "--", "-" or "/"; "--" is tried first so that
// "--name" does not read as the name "-name".
template <typename Char>
size_t SwitchPrefixLength(std::basic_string_view<Char> text) {
  if (text.size() >= 2 && text[0] == '-' && text[1] == '-') return 2;
  if (!text.empty() && (text[0] == '-' || text[0] == '/')) return 1;
  return 0;
}

std::string SwitchKey(std::string_view name) {
  name.remove_prefix(SwitchPrefixLength(name));
  return ToLowerASCII(name);
}

std::u16string_view TrimWhitespace(std::u16string_view text) {
  while (!text.empty() && IsUnicodeWhitespace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsUnicodeWhitespace(text.back())) text.remove_suffix(1);
  return text;
}

// Windows reads the program word by a rule of its own: a quotation mark only
// turns quoting on or off and backslashes are literal. So the path is merely
// enclosed, never escaped, and a quotation mark has no way to be written.
// Paths cannot contain one anyway; leaving it out keeps it from closing the
// quotes early and letting the rest of the path read as switches.
std::u16string QuoteProgram(std::u16string_view program) {
  std::u16string bare;
  for (char16_t c : program) {
    if (c != u'"') bare.push_back(c);
  }
  // An empty program is written as "" because a line that starts with a
  // blank leaves the program word empty only for some readers.
  const bool needs_quotes = bare.empty() || bare.find_first_of(u" \t") != std::u16string::npos;
  return needs_quotes ? u"\"" + bare + u"\"" : bare;
}

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

InstallerCommandLine InstallerCommandLine::FromWords(
    const std::vector<std::u16string>& words) {
  InstallerCommandLine command_line;
  if (words.empty()) return command_line;
  command_line.program_ = words.front();
  for (size_t i = 1; i < words.size(); ++i) {
    std::u16string_view word = TrimWhitespace(words[i]);
    const size_t prefix = SwitchPrefixLength(word);
    if (prefix == 0) continue;
    word.remove_prefix(prefix);
    const size_t equals = word.find(u'=');
    std::u16string value;
    if (equals != std::u16string_view::npos) value = word.substr(equals + 1);
    command_line.SetSwitch(ToLowerASCII(UTF16ToUTF8(word.substr(0, equals))), std::move(value));
  }
  return command_line;
}

bool InstallerCommandLine::HasSwitch(std::string_view name) const {
  return switches_.count(SwitchKey(name)) != 0;
}

std::u16string InstallerCommandLine::GetSwitchValue(std::string_view name) const {
  const auto it = switches_.find(SwitchKey(name));
  return it == switches_.end() ? std::u16string() : it->second;
}

std::string InstallerCommandLine::GetSwitchValueASCII(std::string_view name) const {
  return NarrowLowBytes(GetSwitchValue(name));
}

void InstallerCommandLine::AppendSwitch(std::string_view name) {
  SetSwitch(SwitchKey(name), std::u16string());
}

void InstallerCommandLine::AppendSwitchASCII(std::string_view name, std::string_view value) {
  SetSwitch(SwitchKey(name), WidenBytes(value));
}

void InstallerCommandLine::AppendSwitchValue(std::string_view name, std::u16string_view value) {
  SetSwitch(SwitchKey(name), std::u16string(value));
}

void InstallerCommandLine::RemoveSwitch(std::string_view name) {
  switches_.erase(SwitchKey(name));
}

void InstallerCommandLine::SetOrRemoveSwitch(std::string_view name, bool present) {
  if (present) {
    AppendSwitch(name);
  } else {
    RemoveSwitch(name);
  }
}

std::u16string InstallerCommandLine::Render() const {
  const std::u16string program = QuoteProgram(program_);
  return switches_.empty() ? program : program + u" " + RenderSwitches();
}

std::u16string InstallerCommandLine::RenderSwitches() const {
  std::u16string line;
  for (const auto& [name, value] : switches_) {
    // Names get the same quoting as values; a name read from a quoted word
    // may hold blanks. Quotes can open mid-word, so --"a b"="c d" reads back
    // as the single word --a b=c d.
    const std::u16string wide_name = UTF8ToUTF16(name);
    if (!line.empty()) line += u' ';
    line += u"--";
    line += QuoteForCommandLine(wide_name);
    // "--name=" reads the same as "--name", and the "=" keeps white space at
    // the end of a name from being trimmed away when the word is read.
    if (!value.empty() || IsUnicodeWhitespace(wide_name.back())) line += u'=';
    line += QuoteForCommandLine(value);
  }
  return line;
}

void InstallerCommandLine::SetSwitch(std::string name, std::u16string value) {
  // An empty name would render as a bare "--", which the setup program takes
  // as the end of its switches, so everything after it would be lost; such a
  // switch is dropped on purpose. A name with "=" would read back cut short.
  if (name.empty() || name.find('=') != std::string::npos) return;
  switches_.insert_or_assign(std::move(name), std::move(value));
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
