#include "ui/controls/link_label_win.h"

#include <string>

#include "ui/controls/memory_canvas_win.h"
#include "ui/controls/text_with_opacity_win.h"

namespace lite {
namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

LinkLabel::LinkLabel(HWND window, COLORREF colour, BYTE alpha, HFONT font,
                     BackgroundCopy background)
    : colour_(colour), alpha_(alpha), font_(font), background_(std::move(background)) {
  Subclass(window);
  accessible_.reset(AccessibleProxy::Create(window));
  accessible_->set_role(ROLE_SYSTEM_LINK);
  accessible_->set_name(WindowText(window));
}

// The proxy sits on top of this object's subclass: it goes first.
LinkLabel::~LinkLabel() { accessible_.reset(); }

bool LinkLabel::ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
  if (message != WM_SETCURSOR) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  *result = TRUE;
  return true;
}

void LinkLabel::OnDrawItem(const DRAWITEMSTRUCT& draw) {
  MemoryCanvas canvas(draw.hDC, draw.rcItem);
  if (!canvas.ok()) return;
  background_.Draw(canvas.dc(), canvas.width(), canvas.height());
  const RECT text = {text_inset_.x, text_inset_.y, canvas.width() - text_inset_.x,
                     canvas.height() - text_inset_.y};
  // One line, placed as measured.
  DrawTextWithOpacity(canvas.dc(), text, WindowText(draw.hwndItem), font_, colour_, alpha_,
                      DT_SINGLELINE | DT_NOPREFIX);
  if (draw.itemState & ODS_FOCUS) {
    const RECT focus = {0, 0, canvas.width(), canvas.height()};
    DrawFocusRect(canvas.dc(), &focus);
  }
}

}  // namespace lite
