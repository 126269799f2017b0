// Text blended onto what is already drawn with a constant opacity: the
// labels, links, licence text and title of the installer window.
#ifndef UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_
#define UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_

#include <windows.h>

#include <string_view>

namespace lite {

// Draws |text| in |rect| of |dc| with DrawTextW (|format| plus DT_WORDBREAK,
// transparent background) and blends it back with |alpha| (255 = opaque).
// A text of exactly DT_SINGLELINE | DT_NOPREFIX is a piece of a laid-out
// text and is drawn as DrawTextLine draws it.
void DrawTextWithOpacity(HDC dc, const RECT& rect, std::wstring_view text, HFONT font,
                         COLORREF colour, BYTE alpha, UINT format);

// Draws |text| as one line from the top left of |rect|, clipped to it, in the
// font, colour and background mode of |dc|, with no prefix characters. Each
// character is placed at the advance GetTextExtentExPointW measures for it,
// so the line takes the width a layout measured for it: the system's own
// placement may differ (Wine sets the characters of some faces wider apart
// than it measures them, and a link lost its last letter to the clipping).
void DrawTextLine(HDC dc, const RECT& rect, std::wstring_view text);

}  // namespace lite

#endif  // UI_CONTROLS_TEXT_WITH_OPACITY_WIN_H_
