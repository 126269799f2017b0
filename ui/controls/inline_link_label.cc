#include "ui/controls/inline_link_label.h"

namespace lite {
namespace {

// The ideographic full stop ends a sentence in Chinese and Japanese.
bool IsFullStop(char16_t c) { return c == u'.' || c == u'\u3002'; }

}  // namespace

std::u16string LicenceTextForWindow(std::u16string_view text, bool redesigned) {
  if (redesigned && !text.empty() && text.back() == u'.') text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string LabelWithInlineLink(std::u16string_view label, std::u16string_view link) {
  std::u16string out(label);
  if (out.empty() || !IsFullStop(out.back())) out += u'.';
  out += u" ((";
  out += link;
  out += u"))";
  return out;
}

}  // namespace lite
