#include "stats/launch_event_name.h"

#include "base/utf.h"

namespace lite {

std::optional<std::u16string> LaunchEventName(std::u16string_view launch_command_line) {
  if (launch_command_line.size() < 3) return std::nullopt;
  std::u16string_view text = launch_command_line;
  if (text.front() == u'"') text.remove_prefix(1);
  if (!text.empty() && text.back() == u'"') text.remove_suffix(1);
  std::u16string name = ToLowerASCII(text);
  for (char16_t& c : name) {
    if (c == u'\\') c = u'!';
  }
  return u"Global\\" + name;
}

}  // namespace lite
