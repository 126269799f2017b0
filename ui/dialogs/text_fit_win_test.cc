// Every text of the dialogs and of the welcome screen, in every interface
// language and design, at 100 % and 150 %, measured with the fonts the
// window draws it with, fits the place it is drawn in.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/string_table_win.h"
#include "installer/run/ui_runtime_win.h"
#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/controls/inline_link_label.h"
#include "ui/controls/multi_part_text_layout.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/dialogs/modal_dialog_driver_for_testing_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/layout/font_resources_win.h"
#include "ui/layout/installation_window_layout.h"
#include "ui/layout/installation_window_theme.h"
#include "ui/layout/installation_window_theme_win.h"

namespace lite {
namespace {

class UiRuntimeEnvironment : public testing::Environment {
 public:
  void SetUp() override { runtime_ = std::make_unique<ScopedUiRuntime>(); }
  void TearDown() override { runtime_.reset(); }

 private:
  std::unique_ptr<ScopedUiRuntime> runtime_;
};
testing::Environment* const kUiRuntime =
    testing::AddGlobalTestEnvironment(new UiRuntimeEnvironment);

constexpr uint16_t kLanguages[] = {1033, 1049, 1058, 1055, 1031, 3082, 1036, 1040,
                                   1041, 1087, 1091, 1029, 2070, 1046, 2052, 1028};
constexpr double kScales[] = {1.0, 1.5};

std::wstring Text(uint16_t language, int id) {
  const std::u16string text = LoadStringInLanguage(GetModuleHandleW(nullptr), language, id);
  return std::wstring(text.begin(), text.end());
}

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

// The size DrawTextW needs for |text| in |font| within |width|.
SIZE Needed(const std::wstring& text, HFONT font, UINT format, int width) {
  return GdiTextMeasurer(font).Measure(text, format, width);
}

void ExpectFits(const std::wstring& what, const std::wstring& text, HFONT font, UINT format,
                int width, int height) {
  const SIZE needed = Needed(text, font, format, width);
  EXPECT_LE(needed.cx, width) << what;
  EXPECT_LE(needed.cy, height) << what;
}

class TextFitTest : public testing::TestWithParam<uint16_t> {};

TEST_P(TextFitTest, DialogTexts) {
  const uint16_t language = GetParam();
  const char* const names[] = {"0",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
                               "10", "11", "12", "classic-0", "classic-3", "classic-4",
                               "disk-space", "resume"};
  for (double scale : kScales) {
    for (const char* name : names) {
      SCOPED_TRACE(std::string(name) + " at " + std::to_string(scale));
      DialogContext context;
      context.language_id = language;
      context.scale_factor = scale;
      context.log_path = FilePath(u"C:\\users\\someone\\AppData\\Local\\Temp\\lite_installer.log");
      std::unique_ptr<InstallerDialog> dialog = CreateDialogByName(name, context);
      ASSERT_NE(dialog, nullptr);
      RunDialogAndInspect(*dialog, [&](HWND window) {
        RECT client;
        GetClientRect(window, &client);
        for (HWND child = GetWindow(window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
          if (!IsWindowVisible(child)) continue;
          const std::wstring text = WindowText(child);
          const int id = GetDlgCtrlID(child);
          RECT rect;
          GetWindowRect(child, &rect);
          MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
          const std::wstring what = L"control " + std::to_wstring(id) + L" \"" + text + L"\"";
          EXPECT_GE(rect.left, client.left) << what;
          EXPECT_GE(rect.top, client.top) << what;
          EXPECT_LE(rect.right, client.right) << what;
          EXPECT_LE(rect.bottom, client.bottom) << what;
          if (id == 213) continue;  // the Close picture has no text
          EXPECT_FALSE(text.empty()) << what;
          const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
          const bool button = id == 1 || id == 212;
          ExpectFits(what, text, font,
                     button ? DT_SINGLELINE : DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS,
                     rect.right - rect.left, rect.bottom - rect.top);
        }
        return false;
      });
    }
  }
}

struct DesignCase {
  WindowDesign design;
  bool less_contrasty;
};

// A check box's place: from its top down to the next box, or to the end of
// the column.
struct Box {
  const char* what;
  Rect rect;
  std::wstring label;
  bool with_link;
};

TEST_P(TextFitTest, WelcomeScreenTexts) {
  const uint16_t language = GetParam();
  const HMODULE module = GetModuleHandleW(nullptr);
  const DesignCase designs[] = {{WindowDesign::kNewIdentity, false},
                                {WindowDesign::kFacetune, false},
                                {WindowDesign::kFacetune, true},
                                {WindowDesign::kOrigin, false}};
  for (const DesignCase& d : designs) {
    const ThemeSpec theme = GetThemeSpec(d.design, WindowsRelease::kWin10, d.less_contrasty,
                                         language);
    const FontResources fonts(module, theme.font_resources);
    const bool redesigned = d.design != WindowDesign::kOrigin;
    for (double scale : kScales) {
      SCOPED_TRACE("design " + std::to_string(static_cast<int>(d.design)) +
                   (d.less_contrasty ? " less contrasty" : "") + " at " + std::to_string(scale));
      const InstallationWindowLayout layout(
          d.design, WindowsRelease::kWin10, d.less_contrasty,
          kMakeDefaultBoxShown | kStatisticsBoxShown | (redesigned ? 0u : uint32_t{kPinBoxShown}));
      const Rect window = ScaleRect(scale, layout.ClientRect());

      // Title.
      const ScopedFont title_font = CreateThemeFont(theme.title_font, scale);
      const Rect title = ScaleRect(scale, layout.TitleRect());
      ExpectFits(L"title", Text(language, theme.title_string_id), title_font.get(),
                 DT_WORDBREAK | DT_NOPREFIX, title.width(), title.height());

      // Install button: its text on one frame of its picture.
      const ResourceBitmap install = ResourceBitmap::Load(
          theme.install_button_strip.id_1x, theme.install_button_strip.id_2x, scale);
      const ScopedFont install_font = CreateThemeFont(theme.install_button_font, scale);
      ExpectFits(L"Install", Text(language, 415), install_font.get(), DT_SINGLELINE,
                 install.Width() / 3 - 2 * Scale(scale, 8), install.Height());

      // Licence text, laid out in parts as the window does.
      const std::wstring licence = ToWide(LicenceTextForWindow(
          ToU16(Text(language, theme.short_license_text ? 463 : 462)), redesigned));
      const ScopedFont body_font = CreateThemeFont(theme.body_font, scale);
      const Rect licence_rect = ScaleRect(scale, layout.LicenseRect());
      {
        const GdiTextMeasurer measurer(body_font.get());
        const ScopedFont link_font = CreateThemeFont(theme.link_font, scale);
        const std::vector<TextPart> parts =
            LayOutParts(SplitIntoRuns(ToU16(licence)), measurer, GdiTextMeasurer(link_font.get()),
                        licence_rect.width(), false);
        ASSERT_FALSE(parts.empty());
        for (const TextPart& part : parts) {
          EXPECT_LE(part.x + part.width, licence_rect.width()) << "licence part " << part.line;
        }
        const int lines = parts.back().line + 1;
        EXPECT_LE(lines * (measurer.LineHeight() + theme.line_spacing), licence_rect.height())
            << "licence text lines";
      }

      // Check boxes, each from its top to the next one's.
      const ResourceBitmap strip =
          ResourceBitmap::Load(theme.check_box_strip.id_1x, theme.check_box_strip.id_2x, scale);
      const int frame_width = strip.Width() / 6;
      const int frame_height = strip.Height();
      const int gap = Scale(scale, layout.CheckBoxLabelGap());
      const ScopedFont label_font = CreateThemeFont(theme.check_box_font, scale);
      const ScopedFont link_font = CreateThemeFont(theme.privacy_link_font, scale);
      std::vector<Box> boxes = {
          {"make-default", ScaleRect(scale, layout.MakeDefaultCheckBoxRect()),
           Text(language, theme.make_default_string_id), false},
          {"statistics", ScaleRect(scale, layout.StatisticsCheckBoxRect()),
           redesigned ? ToWide(LabelWithInlineLink(ToU16(Text(language, 427)),
                                                   ToU16(Text(language, 431))))
                      : Text(language, 427),
           redesigned},
      };
      if (!redesigned) {
        boxes.push_back({"pin", ScaleRect(scale, layout.PinCheckBoxRect()), Text(language, 429),
                         false});
      }
      std::sort(boxes.begin(), boxes.end(),
                [](const Box& a, const Box& b) { return a.rect.top < b.rect.top; });
      // The column ends above the Install button in the redesigned windows.
      const int column_end = redesigned ? Scale(scale, layout.InstallButtonOrigin().y)
                                        : boxes.back().rect.bottom;
      for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& box = boxes[i];
        const int label_width = box.rect.width() - frame_width - gap;
        int height;
        if (box.with_link) {
          const GdiTextMeasurer measurer(label_font.get());
          const std::vector<TextPart> parts =
              LayOutParts(SplitIntoRuns(ToU16(box.label)), measurer, label_width, false);
          for (const TextPart& part : parts) {
            EXPECT_LE(part.x + part.width, label_width) << box.what << " part " << part.line;
          }
          height = (parts.back().line + 1) * (measurer.LineHeight() + theme.line_spacing);
        } else {
          const SIZE needed = Needed(box.label, label_font.get(), DT_WORDBREAK, label_width);
          EXPECT_LE(needed.cx, label_width) << box.what;
          height = needed.cy;
        }
        // The label starts lower when the picture is taller than a line.
        const int line_height = GdiTextMeasurer(label_font.get()).LineHeight();
        height = std::max(frame_height, std::max(0, (frame_height - line_height) / 2) + height);
        if (!redesigned && std::string(box.what) == "statistics") {
          // The privacy link goes right under the statistics box.
          height += Needed(Text(language, 431), link_font.get(), DT_SINGLELINE, 0).cy;
          const SIZE link = Needed(Text(language, 431), link_font.get(), DT_SINGLELINE, 0);
          EXPECT_LE(link.cx, ScaleRect(scale, layout.PrivacyLinkColumn()).width()) << "privacy";
        }
        const int limit = i + 1 < boxes.size() ? boxes[i + 1].rect.top : column_end;
        EXPECT_LE(box.rect.top + height, limit) << box.what << " label";
        EXPECT_LE(box.rect.top + height, window.bottom) << box.what;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, TextFitTest, testing::ValuesIn(kLanguages),
                         [](const testing::TestParamInfo<uint16_t>& info) {
                           return std::to_string(info.param);
                         });

}  // namespace
}  // namespace lite
