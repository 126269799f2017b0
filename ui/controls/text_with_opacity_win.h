// Text blended onto what is already drawn with a constant opacity: the
// labels, links, licence text and title of the installer window.
#ifndef UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_
#define UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_

#include <windows.h>

#include <string_view>

namespace lite {

// Draws |text| in |rect| of |dc| with DrawTextW (|format| plus DT_WORDBREAK,
// transparent background) and blends it back with |alpha| (255 = opaque).
void DrawTextWithOpacity(HDC dc, const RECT& rect, std::wstring_view text, HFONT font,
                         COLORREF colour, BYTE alpha, UINT format);

}  // namespace lite

#endif  // UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_
