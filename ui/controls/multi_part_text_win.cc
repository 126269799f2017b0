#include "ui/controls/multi_part_text_win.h"

#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/controls/multi_part_text_layout.h"

namespace lite {

std::unique_ptr<MultiPartText> MultiPartText::Create(HWND parent, const RECT& rect,
                                                     std::wstring_view text,
                                                     const MultiPartTextStyle& style,
                                                     std::wstring_view link_name) {
  std::unique_ptr<MultiPartText> result(new MultiPartText);
  result->link_id_ = style.link_id;
  const GdiTextMeasurer measurer(style.font);
  const GdiTextMeasurer link_measurer(style.link_font ? style.link_font : style.font);
  const int line_height = measurer.LineHeight();
  const std::vector<TextPart> parts =
      LayOutParts(SplitIntoRuns(ToU16(text)), measurer, link_measurer, rect.right - rect.left,
                  style.centre_lines);
  const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (const TextPart& part : parts) {
    const int x = rect.left + part.x;
    const int y = rect.top + part.line * (line_height + style.line_spacing);
    const bool link = part.link;
    const HWND window = CreateWindowExW(
        0, link ? L"Button" : L"Static", ToWide(part.text).c_str(),
        link ? WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW
             : WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
        x, y, part.width, line_height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(link ? style.link_id : style.plain_id)),
        module, nullptr);
    if (!window) continue;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(style.font), FALSE);
    result->windows_.push_back(window);
    if (link && !result->link_accessible_) {
      result->link_accessible_.reset(AccessibleProxy::Create(window));
      result->link_accessible_->set_role(ROLE_SYSTEM_LINK);
      result->link_accessible_->set_name(std::wstring(link_name));
    }
    result->line_count_ = part.line + 1;
  }
  return result;
}

MultiPartText::~MultiPartText() = default;

std::vector<HWND> MultiPartText::LinkWindows() const {
  std::vector<HWND> links;
  for (HWND window : windows_) {
    if (IsWindow(window) && GetDlgCtrlID(window) == link_id_) links.push_back(window);
  }
  return links;
}

}  // namespace lite
