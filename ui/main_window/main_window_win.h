// The installation window's behaviour, whatever it looks like: it owns the
// engine for the interactive run, takes its reports (InstallerDelegate) and
// setup's registered messages, answers the user's commands, and ends with
// the result the entry sequence turns into the exit code. What the screens
// look like is LiteMainWindow's.
#ifndef UI_MAIN_WINDOW_MAIN_WINDOW_WIN_H_
#define UI_MAIN_WINDOW_MAIN_WINDOW_WIN_H_

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "installer/command_line/installer_command_line.h"
#include "installer/elevation/admin_rights_win.h"
#include "installer/elevation/elevation_thread_win.h"
#include "installer/installer_delegate.h"
#include "stats/installation_event_params.h"
#include "ui/dialog_window_win.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/dialogs/shell_dialog_actions_win.h"
#include "ui/layout/window_design.h"
#include "ui/main_window/setup_messages_win.h"
#include "ui/main_window/window_proxy_prompt_win.h"

namespace lite {

class BrandInfo;
class DistribInfoParams;
class InstallerDialog;
class Installer;

// The engine's progress, posted to the window (wParam = percent).
inline constexpr UINT WM_SET_PROGRESS = WM_APP + 100;

// The progress screen's slide timer.
inline constexpr UINT_PTR kSlideTimerId = 100;

// Results the window ends with.
inline constexpr int kWindowEndedNormally = 1;  // the exit code is the engine's
inline constexpr int kWindowClosedBySystem = 2;

// The window's inputs, fixed for its life.
struct MainWindowInputs {
  const BrandInfo& brand;
  const DistribInfoParams& params;
  // The installer's own: the engine's switches, the elevation mode,
  // "tlpin-state" and "disable-error-dialog-download-button".
  const InstallerCommandLine& command_line;
  double scale_factor = 1.0;
  WindowsRelease windows = WindowsRelease::kWin10;
  // False for a window without an installation (the gallery).
  bool with_engine = true;
  // Whether the window's process runs elevated: only then is its message
  // filter opened to setup's messages.
  bool elevated = IsProcessElevated(GetCurrentProcess());
};

class MainWindow : public DialogWindow, public InstallerDelegate {
 public:
  ~MainWindow() override;

  // The interactive run's engine; null without one.
  Installer* engine() const { return engine_.get(); }

  // Called by the engine's worker thread.
  void OnDownloadProgress(float fraction) override;
  void OnSlowDownload() override {}
  void OnTimeRemaining(int seconds, int state) override {}
  void CloseIfInstallStarted(bool install_started) override;
  void OnInstallError(int install_result) override;
  HWND GetWindowHandle() override { return window_.load(); }
  void SetProgress(int percent) override;
  void RemoveCancelButton() override;

 protected:
  explicit MainWindow(const MainWindowInputs& inputs);

  // Starts the engine; the derived window calls it once its own objects
  // exist, since the engine may report at once. Behind a welcome screen the
  // start waits until the screen has been painted.
  void StartEngine();
  // Stops the engine and waits for its worker; the derived window calls it
  // first on its way out.
  void StopEngine();

  int GetDialogTemplateId() const override { return 901; }
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            LRESULT* result) override;

  // The screens, drawn by the derived window.
  // Caption, pictures, icons, fonts, size, licence text and the controls;
  // the welcome screen's controls are placed unless |skip_first_screen|.
  virtual void CreateControls(bool skip_first_screen) = 0;
  // Shadow, tab order and the keyboard hook, once the first screen shows.
  virtual void FinishInit() = 0;
  // The taskbar interface, the progress bar, the slideshow; 212 and 214
  // shown.
  virtual void CreateProgressScreenObjects() = 0;
  // Swaps the welcome screen's controls for the progress screen's.
  virtual void ShowProgressScreen() = 0;
  virtual void Paint(HDC dc, const RECT& client) = 0;
  virtual bool DrawItem(const DRAWITEMSTRUCT& draw) = 0;
  // NM_CUSTOMDRAW of a button or check box; nothing when it is not ours.
  virtual std::optional<LRESULT> CustomDraw(const NMCUSTOMDRAW& draw) = 0;
  virtual void OnActivated() = 0;
  // The bar, the text and the taskbar at |percent|.
  virtual void ShowProgress(int percent) = 0;
  virtual int ProgressPosition() const = 0;
  virtual void OnTimerTick() = 0;
  // The check box's state; nothing when it does not exist.
  virtual std::optional<bool> CheckBoxState(int id) const = 0;
  virtual void OnCheckBoxClicked(int id) = 0;
  virtual void HideShadow() = 0;
  virtual void MoveShadowWindow() = 0;
  // After Install: the whole window repainted, the shadow rebuilt for the
  // progress background.
  virtual void OnProgressScreenShown() = 0;
  virtual bool OnSetCursor(HWND control) = 0;
  // The engine no longer lets the run be cancelled.
  virtual void DestroyCancelButton() = 0;

  const BrandInfo& brand() const { return brand_; }
  const DistribInfoParams& params() const { return params_; }
  double scale_factor() const { return scale_factor_; }
  WindowsRelease windows() const { return windows_; }
  WindowDesign design() const { return design_; }
  int pin_state() const { return pin_state_; }
  bool make_default_possible() const { return make_default_possible_; }
  bool first_screen_skipped() const { return first_screen_skipped_; }
  bool progress_mode() const { return progress_mode_; }
  const DialogFactory& dialog_factory() const { return *dialog_factory_; }
  // Whether the engine has started setup; until then the window ignores
  // setup's messages.
  virtual bool SetupStarted() const;
  std::u16string LoadText(int id) const;

 private:
  void OnInitDialog(HWND window);
  void OnCommand(WPARAM command);
  void OnInstallClicked();
  // The elevated restart runs on a thread of its own; setup may start only
  // once it has ended, whatever its outcome.
  void StartElevation();
  void OnElevationDone(bool started);
  void ReleaseInstallWhenElevated();
  // What the welcome screen's first paint does not need: the engine's
  // start, the shadow, tab order and keyboard hook. Runs once, after that
  // paint or at Install, whichever comes first.
  void FinishAfterFirstPaint();
  // False when a pending error was shown instead of the progress screen.
  bool LayoutProgressDialog();
  void OnSetProgress(int percent);
  void OnInstallProgress(uintptr_t stage);
  void OnImportProgress(int import_percent);
  void OnCloseWindow();
  void OnNewerVersion(DialogKind kind);
  LRESULT OnCorporateUpdateQuestion();
  void ShowInstallError(int install_result);
  void OnCloseButton();
  void OnCancelButton();
  // Runs the interrupt question; true when the user chose to stop.
  bool ConfirmInterrupt();
  void OpenDocument(const std::string& address);
  void EndWindow(int result);
  void ReportButton(StatButton button);
  // The proxy prompt is the window's while it lives; once it goes, a
  // transfer that meets a 407 fails as in a silent run.
  void RetireProxyPrompt();

  const BrandInfo& brand_;
  const DistribInfoParams& params_;
  const InstallerCommandLine command_line_;
  const double scale_factor_;
  const WindowsRelease windows_;
  const WindowDesign design_;
  const bool with_engine_;
  const int elevation_mode_;
  const int pin_state_;
  bool make_default_possible_ = true;
  bool first_screen_skipped_ = false;

  const SetupMessages setup_messages_;

  std::atomic<HWND> window_{nullptr};
  // An engine error not yet taken by the window thread.
  std::atomic<int> reported_error_{0};
  int pending_error_ = 0;
  bool install_clicked_ = false;
  bool progress_mode_ = false;
  // The interrupt question while it shows, so that setup's end can close it.
  InstallerDialog* confirmation_ = nullptr;

  ShellDialogActions dialog_actions_;
  std::unique_ptr<DialogFactory> dialog_factory_;
  // Outlives the engine, whose download may be asking it.
  WindowProxyPrompt proxy_prompt_;
  std::unique_ptr<Installer> engine_;
  ElevationThread elevation_;
  bool elevation_pending_ = false;
  bool release_wanted_ = false;
  bool after_first_paint_ = false;
  bool engine_start_deferred_ = false;
  bool finish_init_deferred_ = false;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_MAIN_WINDOW_WIN_H_
