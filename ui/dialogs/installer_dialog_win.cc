#include "ui/dialogs/installer_dialog_win.h"

#include <commctrl.h>

#include "base/string_table_win.h"
#include "installer/run/process_window_win.h"
#include "logging/log_message.h"
#include "ui/controls/control_ids.h"
#include "ui/dialogs/dialog_actions.h"

namespace lite {
namespace {

// Focus rectangles of the text buttons keep clear of their rounded edges.
constexpr int kTextButtonFocusInset = 2;

}  // namespace

InstallerDialog::InstallerDialog(const DialogContext& context, DialogAction action)
    : DialogWindow(context.module), context_(context), action_(action) {}

InstallerDialog::~InstallerDialog() = default;

std::wstring InstallerDialog::LoadText(int id) const {
  if (id == 0) return std::wstring();
  const std::u16string text = LoadStringInLanguage(context_.module, context_.language_id, id);
  return std::wstring(text.begin(), text.end());
}

HWND InstallerDialog::MessageControl() const {
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (lstrcmpiW(class_name, L"Static") == 0 && GetDlgCtrlID(child) != kTitleId) return child;
  }
  return nullptr;
}

void InstallerDialog::SetText(HWND control, const std::wstring& text, HFONT font) {
  if (!control) return;
  SetWindowTextW(control, text.c_str());
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool InstallerDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam, LRESULT* result) {
  if (message == move_window_message()) {
    MoveShadow();
    *result = 0;
    return true;
  }
  switch (message) {
    case WM_INITDIALOG:
      AllowMessageThroughFilter(window, move_window_message());
      OnInitDialog();
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      PaintBackground(dc, client);
      EndPaint(window, &paint);
      *result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, StaticTextColour(GetDlgCtrlID(reinterpret_cast<HWND>(lparam))));
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    }
    case WM_CTLCOLORDLG:
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
      *result = OnCustomDraw(*header);
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) return false;
      switch (LOWORD(wparam)) {
        case kInstallButtonId:
          RunAction();
          End(kDialogResultButton1);
          break;
        case kCancelButtonId:
          End(kDialogResultButton2);
          break;
        case kCloseButtonId:
        case IDCANCEL:  // Esc answers "no", as Close does
          End(kDialogResultClose);
          break;
        default:
          return false;
      }
      *result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT InstallerDialog::OnCustomDraw(const NMHDR& header) {
  const auto& draw = reinterpret_cast<const NMCUSTOMDRAW&>(header);
  PictureButton* button = nullptr;
  int focus_inset = kTextButtonFocusInset;
  switch (header.idFrom) {
    case kInstallButtonId:
      button = button1_.get();
      break;
    case kCancelButtonId:
      button = button2_.get();
      break;
    case kCloseButtonId:
      button = close_button_.get();
      focus_inset = 0;
      break;
  }
  if (!button) return CDRF_DODEFAULT;
  button->set_keyboard_cues(draw.uItemState & CDIS_SHOWKEYBOARDCUES);
  return button->OnCustomDraw(draw, focus_inset);
}

void InstallerDialog::RunAction() {
  if (action_ == DialogAction::kNone) return;
  if (!context_.actions) {
    LOG(WARNING) << "The dialog has no one to carry out its action; nothing is opened.";
    return;
  }
  switch (action_) {
    case DialogAction::kOpenLandingPage:
      context_.actions->OpenUrl(context_.landing_url);
      break;
    case DialogAction::kOpenBrowserSite:
      context_.actions->OpenUrl(context_.browser_site_url);
      break;
    case DialogAction::kOpenFeedbackPage:
      context_.actions->OpenUrl(context_.feedback_url);
      break;
    case DialogAction::kStartBrowser:
      context_.actions->StartInstalledBrowser();
      break;
    case DialogAction::kNone:
      break;
  }
}

void InstallerDialog::End(int result) { EndDialog(hwnd(), result); }

}  // namespace lite
