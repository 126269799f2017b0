#include "installer/command_line/installer_command_line.h"

#include "base/command_line_words.h"
#include "base/utf.h"

namespace lite {
namespace {

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

}  // namespace

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
  const std::u16string program = QuoteProgramWord(program_);
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

}  // namespace lite
