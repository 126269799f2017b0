#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "installer/run/ui_runtime_win.h"
#include "ui/controls/accessible_proxy_win.h"
#include "ui/controls/check_box_win.h"
#include "ui/controls/custom_progress_bar_win.h"
#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/controls/keyboard_navigation_win.h"
#include "ui/controls/link_label_win.h"
#include "ui/controls/multi_part_text_win.h"
#include "ui/controls/picture_button_win.h"
#include "ui/controls/text_with_opacity_win.h"

namespace lite {
namespace {

// COM, the common controls and GDI+, as the installer starts them.
class UiRuntimeEnvironment : public testing::Environment {
 public:
  void SetUp() override { runtime_ = std::make_unique<ScopedUiRuntime>(); }
  void TearDown() override { runtime_.reset(); }

 private:
  std::unique_ptr<ScopedUiRuntime> runtime_;
};
testing::Environment* const kUiRuntime =
    testing::AddGlobalTestEnvironment(new UiRuntimeEnvironment);

// A top-level window that hands its messages to the running test.
std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)>& HostHandler() {
  static std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> handler;
  return handler;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (HostHandler() && HostHandler()(message, wparam, lparam, &result)) return result;
  return DefWindowProcW(window, message, wparam, lparam);
}

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &HostProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TolvarControlsTestHost";
    RegisterClassW(&window_class);
    host_ = CreateWindowExW(0, L"TolvarControlsTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            0, 0, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override {
    HostHandler() = nullptr;
    DestroyWindow(host_);
  }

  HWND Child(const wchar_t* window_class, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 24,
                           host_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  }

  HWND host_ = nullptr;
};

// What a screen reader in this process gets for |window|.
struct Answers {
  LRESULT reference = 0;
  HRESULT object = E_PENDING;
  std::wstring name;
  long role = 0;
  std::wstring value;
};

Answers Ask(HWND window) {
  Answers answers;
  const LRESULT reference = SendMessageW(window, WM_GETOBJECT, 0, OBJID_CLIENT);
  answers.reference = reference;
  if (reference <= 0) return answers;
  IAccessible* accessible = nullptr;
  answers.object = ObjectFromLresult(reference, kIAccessibleIid, 0,
                                     reinterpret_cast<void**>(&accessible));
  if (FAILED(answers.object)) return answers;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (SUCCEEDED(accessible->get_accName(self, &text)) && text) {
    answers.name = text;
    SysFreeString(text);
  }
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(accessible->get_accRole(self, &role)) && role.vt == VT_I4) answers.role = role.lVal;
  text = nullptr;
  if (SUCCEEDED(accessible->get_accValue(self, &text)) && text) {
    answers.value = text;
    SysFreeString(text);
  }
  EXPECT_EQ(accessible->get_accName(self, nullptr), E_INVALIDARG);
  accessible->Release();
  return answers;
}

TEST_F(ControlsTest, ProxiesAnswerNameRoleAndValue) {
  PictureButton close(Child(L"Button", L"", BS_PUSHBUTTON, 213), ResourceBitmap(), 0, nullptr,
                      BackgroundCopy(), Padding());
  close.accessible().set_name(L"Close");
  PictureButton minimize(Child(L"Button", L"", BS_PUSHBUTTON, 214), ResourceBitmap(), 0, nullptr,
                         BackgroundCopy(), Padding());
  minimize.accessible().set_name(L"Collapse");
  LinkLabel link(Child(L"Button", L"Privacy policy", BS_OWNERDRAW, 218), 0, 255, nullptr,
                 BackgroundCopy());
  CustomProgressBar progress(Child(PROGRESS_CLASSW, L"", 0, 215));
  progress.SetRange(0, 100);
  progress.SetPos(37);
  EXPECT_EQ(progress.GetPos(), 37);

  const Answers close_answers = Ask(close.hwnd());
  EXPECT_GT(close_answers.reference, 0);
  EXPECT_EQ(close_answers.object, S_OK);
  EXPECT_EQ(close_answers.name, L"Close");
  EXPECT_EQ(close_answers.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(Ask(minimize.hwnd()).name, L"Collapse");
  const Answers link_answers = Ask(link.hwnd());
  EXPECT_EQ(link_answers.name, L"Privacy policy");
  EXPECT_EQ(link_answers.role, ROLE_SYSTEM_LINK);
  const Answers progress_answers = Ask(progress.hwnd());
  EXPECT_EQ(progress_answers.role, ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(progress_answers.value, L"37%");
}

TEST_F(ControlsTest, ProxyWithoutNameOrRoleLeavesTheWindowToTheSystem) {
  const HWND button = Child(L"Button", L"Plain", BS_PUSHBUTTON, 300);
  std::unique_ptr<AccessibleProxy, AccessibleProxyDeleter> proxy(AccessibleProxy::Create(button));
  const Answers answers = Ask(button);
  EXPECT_NE(answers.role, ROLE_SYSTEM_LINK);  // whatever the system says, not ours
  proxy->set_role(ROLE_SYSTEM_LINK);
  EXPECT_EQ(Ask(button).role, ROLE_SYSTEM_LINK);
  proxy.reset();
  // Unhooked: the button still works and answers as before.
  EXPECT_NE(Ask(button).role, ROLE_SYSTEM_LINK);
}

TEST_F(ControlsTest, LicenceTextLinkPartsActAsOneNamedLink) {
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  MultiPartTextStyle style;
  style.font = font;
  style.line_spacing = 1;
  style.plain_id = 222;
  style.link_id = 223;
  const RECT rect = {10, 10, 210, 200};
  auto text = MultiPartText::Create(host_, rect,
                                    L"By using Tolvar Browser, you agree to the terms and "
                                    L"conditions of the ((License Agreement)).",
                                    style, L"By using Tolvar Browser, you agree to the terms and "
                                           L"conditions of the License Agreement.");
  ASSERT_GE(text->windows().size(), 3u);
  EXPECT_GE(text->line_count(), 2);
  const std::vector<HWND> links = text->LinkWindows();
  ASSERT_FALSE(links.empty());
  const Answers answers = Ask(links[0]);
  EXPECT_EQ(answers.role, ROLE_SYSTEM_LINK);
  EXPECT_EQ(answers.name, L"By using Tolvar Browser, you agree to the terms and conditions of "
                          L"the License Agreement.");
  for (HWND window : text->windows()) {
    RECT part;
    GetWindowRect(window, &part);
    MapWindowPoints(HWND_DESKTOP, host_, reinterpret_cast<POINT*>(&part), 2);
    EXPECT_GE(part.left, rect.left);
    EXPECT_LE(part.right, rect.right + 12);  // a final full stop may stand out
  }
}

// A white off-screen picture to draw on, and the bounds of what was drawn.
class InkCanvas {
 public:
  InkCanvas(int width, int height)
      : rect_{0, 0, width, height},
        dc_(CreateCompatibleDC(screen_.get())),
        bitmap_(CreateCompatibleBitmap(screen_.get(), width, height)),
        select_(dc_.get(), bitmap_.get()) {
    FillRect(dc_.get(), &rect_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  HDC dc() const { return dc_.get(); }
  const RECT& rect() const { return rect_; }
  // The smallest rectangle holding every pixel that is not white, right of
  // |left|; empty when there is none.
  RECT Ink(int left = 0) const {
    RECT ink = {rect_.right, rect_.bottom, 0, 0};
    for (int y = 0; y < rect_.bottom; ++y) {
      for (int x = left; x < rect_.right; ++x) {
        if (GetPixel(dc_.get(), x, y) == RGB(255, 255, 255)) continue;
        ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
               std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
      }
    }
    return ink;
  }

 private:
  RECT rect_;
  ScopedScreenDc screen_;
  ScopedMemoryDc dc_;
  ScopedBitmap bitmap_;
  ScopedSelectObject select_;
};

ScopedFont Font(const wchar_t* face, int size, bool underline) {
  return ScopedFont(CreateFontW(-size, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

// A piece of a multi-part text gets a window as wide as its measured width:
// all of its ink must lie inside that width. Wine places the characters of
// some faces wider apart than it measures them, which cut off the last
// letter of a link.
TEST(TextPieceTest, InkStaysWithinTheMeasuredWidth) {
  struct Case {
    const wchar_t* face;
    int size;
    bool underline;
    std::wstring_view text;
  };
  const Case cases[] = {
      {L"Liberation Sans", 12, true, L"shartnomasi"},
      {L"Liberation Sans", 12, false, L"Tolvar Browser\u2019dan foydalanib, siz"},
      {L"Liberation Sans", 18, true, L"Lizenzvereinbarung"},
      {L"Liberation Sans", 11, true,
       L"\u041B\u0438\u0446\u0435\u043D\u0437\u0438\u043E\u043D\u043D\u043E\u0433\u043E"},
      {L"DejaVu Sans", 13, false, L"Lisans S\u00F6zle\u015Fmesi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    const ScopedFont font = Font(c.face, c.size, c.underline);
    const int width = GdiTextMeasurer(font.get()).Width(ToU16(c.text));
    // Room to the right, so that nothing drawn there is clipped.
    InkCanvas canvas(width + 2 * c.size, 2 * c.size);
    DrawTextWithOpacity(canvas.dc(), canvas.rect(), c.text, font.get(), RGB(0, 0, 0), 255,
                        DT_SINGLELINE | DT_NOPREFIX);
    const RECT ink = canvas.Ink();
    EXPECT_GT(ink.right, width / 2);
    EXPECT_LE(ink.right, width);
  }
}

TEST_F(ControlsTest, CheckBoxWithoutVisualStylesKeepsItsOwnState) {
  const HWND window = Child(L"Button", L"Send statistics", BS_AUTOCHECKBOX | WS_TABSTOP, 110);
  CheckBoxStyle style;
  style.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  CheckBox box(window, ResourceBitmap(), style, BackgroundCopy(), /*checked=*/true,
               /*owner_drawn=*/true);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  int draws = 0;
  HostHandler() = [&](UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (message == WM_COMMAND && LOWORD(wparam) == 110 && HIWORD(wparam) == BN_CLICKED) {
      box.OnClicked();
      return true;
    }
    if (message == WM_DRAWITEM && wparam == 110) {
      box.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      ++draws;
      *result = TRUE;
      return true;
    }
    return false;
  };
  EXPECT_TRUE(box.IsChecked());
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_FALSE(box.IsChecked());
  // Another process asks the control, not the wrapper.
  EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_TRUE(box.IsChecked());
  EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_CHECKED);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(draws, 0);
  EXPECT_GE(box.MeasureHeight(120), 8);
}

// A label of several lines beside a picture taller than one line starts
// lower, to centre its first line on the picture: the height the box
// measures for itself must hold that too, or the last line loses its
// descenders.
TEST_F(ControlsTest, CheckBoxLabelFitsTheMeasuredHeight) {
  const HWND window = Child(L"Button",
                            L"Brauzerdan foydalanish statistikasini Tolvar\u2019ga yuborib, "
                            L"Tolvar xizmatlarini yaxshilashga yordam bermoqchiman",
                            BS_AUTOCHECKBOX, 110);
  const ScopedFont font = Font(L"Liberation Sans", 18, false);
  // Six frames 24 wide and 30 high, drawn left of where the label is read.
  const ScopedScreenDc screen;
  const ScopedBitmap strip(CreateCompatibleBitmap(screen.get(), 6 * 24, 30));
  CheckBoxStyle style;
  style.padding = {3, 3, 3, 3};
  style.label_gap = 8;
  style.font = font.get();
  CheckBox box(window, ResourceBitmap::FromHBITMAP(strip.get()), style, BackgroundCopy(),
               /*checked=*/false, /*owner_drawn=*/true);
  const int width = 300;
  const int height = box.MeasureHeight(width);
  // Drawn with room below, so that nothing drawn there is clipped.
  InkCanvas canvas(width, height + 40);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = 110;
  draw.hwndItem = window;
  draw.hDC = canvas.dc();
  draw.rcItem = canvas.rect();
  box.OnDrawItem(draw);
  const RECT label = canvas.Ink(style.padding.left + 24 + style.label_gap);
  EXPECT_GT(label.bottom, 3 * 18);  // three lines or more
  EXPECT_LE(label.bottom, height);
}

TEST_F(ControlsTest, ThemedCheckBoxFollowsTheControl) {
  const HWND window = Child(L"Button", L"Default", BS_AUTOCHECKBOX, 109);
  CheckBox box(window, ResourceBitmap(), CheckBoxStyle(), BackgroundCopy(), /*checked=*/true,
               /*owner_drawn=*/false);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_TRUE(box.IsChecked());
  SendMessageW(window, BM_CLICK, 0, 0);
  box.OnClicked();  // the owner passes every click on; only an owner-drawn box flips itself
  EXPECT_FALSE(box.IsChecked());
}

TEST_F(ControlsTest, TabOrderFollowsTheGivenIds) {
  for (int id : {213, 110, 1, 223}) Child(L"Button", L"", BS_PUSHBUTTON | WS_TABSTOP, id);
  ApplyTabOrder(host_, {1, 223, 218, 110, 213});  // 218 does not exist
  std::vector<int> order;
  for (HWND child = GetWindow(host_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(order, (std::vector<int>{1, 223, 110, 213}));
}

}  // namespace
}  // namespace lite
