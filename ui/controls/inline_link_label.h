// The marked-up texts that carry an inline link: the licence sentence and
// the statistics check box's label with the privacy-policy link.
#ifndef UI_CONTROLS_INLINE_LINK_LABEL_H_
#define UI_CONTROLS_INLINE_LINK_LABEL_H_

#include <string>
#include <string_view>

namespace lite {

// The licence text without its final full stop (the redesigned windows end
// the sentence with the link).
std::u16string WithoutFinalFullStop(std::u16string_view text);

// |label|, a full stop when it does not end with one, then " ((" |link| "))".
std::u16string LabelWithInlineLink(std::u16string_view label, std::u16string_view link);

}  // namespace lite

#endif  // UI_CONTROLS_INLINE_LINK_LABEL_H_
