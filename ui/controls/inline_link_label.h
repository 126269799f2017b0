// The marked-up texts that carry an inline link: the licence sentence and
// the statistics check box's label with the privacy-policy link.
#ifndef UI_CONTROLS_INLINE_LINK_LABEL_H_
#define UI_CONTROLS_INLINE_LINK_LABEL_H_

#include <string>
#include <string_view>

namespace lite {

// The licence sentence as the window lays it out and draws it. The
// redesigned windows end the sentence with its link, so a final "." goes;
// the Chinese and Japanese sentences end with words after the link, and their
// ideographic full stop stays. The Origin window draws the text as it is.
std::u16string LicenceTextForWindow(std::u16string_view text, bool redesigned);

// |label|, a full stop when it does not end with one, then " ((" |link| "))".
std::u16string LabelWithInlineLink(std::u16string_view label, std::u16string_view link);

}  // namespace lite

#endif  // UI_CONTROLS_INLINE_LINK_LABEL_H_
