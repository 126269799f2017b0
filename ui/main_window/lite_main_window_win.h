// The installation window as users see it: the welcome screen and the
// progress screen of the brand's design, drawn from the design's layout,
// theme and pictures with the toolkit's owner-drawn controls.
#ifndef UI_MAIN_WINDOW_LITE_MAIN_WINDOW_WIN_H_
#define UI_MAIN_WINDOW_LITE_MAIN_WINDOW_WIN_H_

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/thread_win.h"
#include "ui/controls/check_box_win.h"
#include "ui/controls/custom_progress_bar_win.h"
#include "ui/controls/link_label_win.h"
#include "ui/controls/multi_part_text_win.h"
#include "ui/controls/picture_button_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/images/shadow_win.h"
#include "ui/images/slideshow_win.h"
#include "ui/layout/installation_window_layout.h"
#include "ui/layout/installation_window_theme_win.h"
#include "ui/layout/scoped_gdi_object_win.h"
#include "ui/main_window/main_window_win.h"
#include "ui/main_window/taskbar_progress_win.h"
#include "ui/main_window/welcome_pictures_win.h"

namespace lite {

class LiteMainWindow : public MainWindow {
 public:
  // With |inputs.with_engine| the engine starts at once: it downloads while
  // the welcome screen shows.
  explicit LiteMainWindow(const MainWindowInputs& inputs);
  ~LiteMainWindow() override;

  // For the gallery: the shadow around the window as a picture.
  POINT PaintShadow(Gdiplus::Graphics* g, SIZE window) const;

 protected:
  void CreateControls(bool skip_first_screen) override;
  void FinishInit() override;
  void CreateProgressScreenObjects() override;
  void ShowProgressScreen() override;
  void Paint(HDC dc, const RECT& client) override;
  bool DrawItem(const DRAWITEMSTRUCT& draw) override;
  std::optional<LRESULT> CustomDraw(const NMCUSTOMDRAW& draw) override;
  void OnActivated() override;
  void ShowProgress(int percent) override;
  int ProgressPosition() const override;
  void OnTimerTick() override;
  std::optional<bool> CheckBoxState(int id) const override;
  void OnCheckBoxClicked(int id) override;
  void HideShadow() override;
  void MoveShadowWindow() override;
  void OnProgressScreenShown() override;
  bool OnSetCursor(HWND control) override;
  void DestroyCancelButton() override;

 private:
  struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
  };
  using ScopedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  Rect Scaled(const Rect& r) const { return ScaleRect(scale_factor(), r); }
  BackgroundCopy CopyUnder(HWND control, const ResourceBitmap& picture) const;
  void SetIcons();
  void CreateButtons(const WelcomePictures& pictures);
  void CreateCheckBoxes(const ResourceBitmap& strip);
  void CreateLicenceText();
  void PlaceTitle();
  void PlaceWelcomeScreen();
  void PlaceCheckBoxes();
  // Places |box| at |rect| (logical) with the height its label needs;
  // returns its rectangle in screen pixels.
  RECT PlaceCheckBox(CheckBox* box, const Rect& rect);
  // Around the statistics label's privacy link.
  POINT LinkMargins() const;
  void PlaceButton(PictureButton* button, Point origin);
  // Control 224's text for |percent|, drawn anew.
  void SetProgressText(int percent);
  void DrawOwnerDrawnText(const DRAWITEMSTRUCT& draw, const ResourceBitmap& picture,
                          HFONT font, uint32_t colour, uint8_t opacity, UINT format);
  void PaintWelcome(HDC dc);
  void PaintProgress(HDC dc, const RECT& client);
  MainShadowParams ShadowParams() const;
  void BuildShadow(const ResourceBitmap& picture);
  // The picture the window shows behind its controls now.
  const ResourceBitmap& CurrentBackground() const;

  // The welcome screen's own controls, let go of before its windows are
  // destroyed.
  struct WelcomeControls {
    std::unique_ptr<PictureButton> install_button;
    // By control id; a box that is not offered is not here.
    std::map<int, std::unique_ptr<CheckBox>> check_boxes;
    // The statistics box of the designs whose label carries the privacy link.
    CheckBoxWithLink* linked_statistics_box = nullptr;
    std::wstring statistics_label;
    std::unique_ptr<LinkLabel> privacy_link;
    std::unique_ptr<MultiPartText> licence;
  };
  // What the progress screen adds.
  struct ProgressControls {
    std::unique_ptr<CustomProgressBar> bar;
    std::unique_ptr<TaskbarProgress> taskbar;
    std::unique_ptr<Slideshow> slideshow;
    // The licence text over the first slide (Origin, first screen skipped).
    std::unique_ptr<MultiPartText> licence;
  };
  // A text's colour and the opacity it is blended with.
  struct TextColour {
    uint32_t colour;
    uint8_t opacity;
  };

  void StartBuildingProgressBackground();
  // The progress background for a client area of |size|, built by now or here.
  void FinishProgressBackground(SIZE size);
  CheckBox* FindCheckBox(int id) const;
  // The first slide of a skipped welcome screen is the window background.
  bool OverWindowBackground() const;
  // The progress screen's texts over the slide shown now.
  TextColour ProgressTextColour() const;

  std::shared_ptr<const InstallationWindowLayout> layout_;
  std::unique_ptr<InstallationWindowTheme> theme_;
  ThemeFonts fonts_;
  ScopedIcon big_icon_;
  ScopedIcon small_icon_;

  // From construction until the controls are made.
  std::unique_ptr<WelcomePictureLoader> welcome_pictures_;

  ResourceBitmap background_;
  ResourceBitmap logo_;
  ResourceBitmap minimize_glyph_;
  ResourceBitmap progress_background_;
  // Builds |progress_background_| while the welcome screen shows: decoding
  // it at Install held the window for a tenth of a second. Destroyed (joined)
  // before the picture it writes.
  Thread progress_background_builder_;
  // Cancel's own picture is drawn for the progress pictures; Close's for the
  // window background.
  ResourceBitmap cancel_strip_;
  ResourceBitmap close_strip_;
  ShadowPictures shadow_pictures_;
  HWND shadow_ = nullptr;  // owned by the window, destroyed with it

  // Buttons that outlive the welcome screen.
  std::unique_ptr<PictureButton> close_button_;
  std::unique_ptr<PictureButton> cancel_button_;
  std::unique_ptr<PictureButton> minimize_button_;
  WelcomeControls welcome_;
  ProgressControls progress_;

  std::u16string title_text_;
  // The title shows the progress screen's start text (first screen skipped).
  bool title_shows_start_text_ = false;
  bool hook_installed_ = false;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_LITE_MAIN_WINDOW_WIN_H_
