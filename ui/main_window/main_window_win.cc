#include "ui/main_window/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/file_util_win.h"
#include "base/string_table_win.h"
#include "base/utf.h"
#include "base/windows_version_win.h"
#include "default_browser/interface_probe_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/admin_rights_win.h"
#include "crash/crash_handler_win.h"
#include "installer/elevation/elevation_mode.h"
#include "installer/engine/installer_win.h"
#include "installer/run/installed_browser_win.h"
#include "logging/file_logger_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "proxy/proxy_prompt_win.h"
#include "stats/installation_event_params.h"
#include "stats/landing_url.h"
#include "ui/controls/control_ids.h"
#include "ui/dialogs/installer_dialog_win.h"
#include "ui/main_window/install_progress.h"
#include "ui/main_window/welcome_choices.h"

namespace lite {
namespace {

// The engine's reports that act on the window are carried over to the
// window's thread: the worker never waits for the window, and the window
// never runs a dialog on the worker's thread.
constexpr UINT WM_ENGINE_ERROR = WM_APP + 101;
constexpr UINT WM_ENGINE_FINISHED = WM_APP + 102;
constexpr UINT WM_REMOVE_CANCEL_BUTTON = WM_APP + 103;
// The elevation thread's outcome (wParam 1: the elevated copy started).
constexpr UINT WM_ELEVATION_DONE = WM_APP + 104;
// A transfer waits for the proxy-credentials prompt.
constexpr UINT WM_PROXY_PROMPT = WM_APP + 105;
// Its message comes once no paint is pending: the welcome screen is on the
// screen by then.
constexpr UINT_PTR kFirstPaintTimerId = 101;

std::optional<std::string> SwitchValue(const InstallerCommandLine& command_line,
                                       const char* name) {
  if (!command_line.HasSwitch(name)) return std::nullopt;
  return command_line.GetSwitchValueASCII(name);
}

std::optional<std::string> ParamValue(const DistribInfoParams& params, const char* name) {
  std::string value;
  if (!params.GetParam(name, &value)) return std::nullopt;
  return value;
}

PinStateSources PinSources(const BrandInfo& brand, const DistribInfoParams& params,
                           const InstallerCommandLine& command_line, WindowDesign design) {
  PinStateSources sources;
  sources.design = design;
  sources.brand_pin = brand.pin();
  sources.brand_state = brand.tlpin_trial_state();
  sources.switch_state = SwitchValue(command_line, switches::kTlPinState);
  sources.param_state = ParamValue(params, "tlpin");
  return sources;
}

DialogContext MakeDialogContext(double scale_factor, WindowsRelease windows,
                                DialogActions* actions) {
  DialogContext context;
  context.scale_factor = scale_factor;
  context.windows = windows;
  context.actions = actions;
  context.log_path = GetInstallerLogPath();
  return context;
}

bool ProbeInterface(uint32_t* status) {
  win10_default_browser::InterfaceProbeStatus probe_status = 0;
  const bool available = win10_default_browser::IsInterfaceAvailable(
      GetWindowsVersion(), GetExecutablePath(), &probe_status);
  *status = probe_status;
  return available;
}

}  // namespace

MainWindow::MainWindow(const MainWindowInputs& inputs)
    : brand_(inputs.brand),
      params_(inputs.params),
      command_line_(inputs.command_line),
      scale_factor_(inputs.scale_factor),
      windows_(inputs.windows),
      design_(ChooseWindowDesign(inputs.brand)),
      with_engine_(inputs.with_engine),
      elevation_mode_(GetElevationMode(&inputs.brand, &inputs.params.params(), command_line_)),
      pin_state_(GetTlpinTrialState(
          PinSources(inputs.brand, inputs.params, command_line_, design_))),
      setup_messages_(inputs.elevated),
      dialog_actions_(ConfiguredUrlOpenPolicy(brand_.license_url(), brand_.conf_policy_url())),
      proxy_prompt_(WM_PROXY_PROMPT) {
  dialog_factory_ = std::make_unique<DialogFactory>(
      brand_, params_.params(), MakeDialogContext(scale_factor_, windows_, &dialog_actions_),
      command_line_.HasSwitch(switches::kDisableErrorDialogDownloadButton));
  first_screen_skipped_ = ShouldSkipFirstScreen(brand_.IsFirstScreenOff(), params_.params());
  if (!with_engine_) return;
  // Registered before the engine exists: its download may meet the proxy
  // before the window is made, and the question then waits for it.
  SetProxyCredentialsPrompt(&proxy_prompt_);
  engine_ = std::make_unique<Installer>(command_line_, this, &brand_, &params_, true);
  engine_->set_device_scale_factor(scale_factor_);
  // The make-default offer needs the default-browser interface; the
  // elevation mode that never restarts leaves the choice to the browser.
  make_default_possible_ =
      elevation_mode_ != kNeverElevate && engine_->CheckInterfaceAvailability(&ProbeInterface);
}

MainWindow::~MainWindow() {
  // A window that was never made has not retired its prompt.
  RetireProxyPrompt();
  // The engine goes first: its worker may still report to this window. A
  // restart under way still calls the engine.
  elevation_.Join();
  engine_.reset();
}

void MainWindow::StopEngine() {
  RetireProxyPrompt();
  elevation_.Join();
  engine_.reset();
}

void MainWindow::StartEngine() {
  if (!engine_) return;
  // Its worker's start (statistics, the data files, the download) takes the
  // machine's time from the window's creation.
  if (!first_screen_skipped_ && elevation_mode_ != kElevateOnStart && !after_first_paint_) {
    engine_start_deferred_ = true;
    return;
  }
  engine_start_deferred_ = false;
  engine_->SetBrowserPresent(GetBrowserPresentText());
  engine_->InstallAsync();
}

bool MainWindow::SetupStarted() const { return engine_ && engine_->setup_started(); }

std::u16string MainWindow::LoadText(int id) const {
  return LoadStringInLanguage(module(), static_cast<uint16_t>(brand_.language_id()),
                              static_cast<uint32_t>(id));
}

// --- InstallerDelegate, on the engine's thread --------------------------

void MainWindow::OnDownloadProgress(float fraction) {
  SetProgress(DownloadProgressPercent(fraction));
}

void MainWindow::CloseIfInstallStarted(bool install_started) {
  if (const HWND window = window_.load()) {
    PostMessageW(window, WM_ENGINE_FINISHED, install_started, 0);
  }
}

void MainWindow::OnInstallError(int install_result) {
  // Kept until the window has taken it: an error may come before the
  // window exists.
  reported_error_.store(install_result);
  if (const HWND window = window_.load()) PostMessageW(window, WM_ENGINE_ERROR, 0, 0);
}

void MainWindow::SetProgress(int percent) {
  if (const HWND window = window_.load()) PostMessageW(window, WM_SET_PROGRESS, percent, 0);
}

void MainWindow::RemoveCancelButton() {
  if (const HWND window = window_.load()) PostMessageW(window, WM_REMOVE_CANCEL_BUTTON, 0, 0);
}

// --- Messages ------------------------------------------------------------

bool MainWindow::ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      if (!IsIconic(window)) {
        RECT client;
        GetClientRect(window, &client);
        Paint(dc, client);
      }
      EndPaint(window, &paint);
      return true;
    }
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_DRAWITEM:
      if (!DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return false;
      *result = TRUE;
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
      const std::optional<LRESULT> answer =
          CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lparam));
      if (!answer) return false;
      // A dialog's answer to a notification goes through DWLP_MSGRESULT.
      SetWindowLongPtrW(window, DWLP_MSGRESULT, *answer);
      *result = *answer;
      return true;
    }
    case WM_NCACTIVATE:
      if (wparam) OnActivated();
      return false;
    case WM_INITDIALOG:
      OnInitDialog(window);
      *result = 1;
      return true;
    case WM_CTLCOLORDLG:
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    case WM_SETCURSOR:
      if (!OnSetCursor(reinterpret_cast<HWND>(wparam))) return false;
      SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      *result = TRUE;
      return true;
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_RESTORE:
          ReportButton(StatButton::kRestore);
          ShowWindow(window, SW_SHOWNORMAL);
          return true;
        case SC_CLOSE:
          EndWindow(kWindowClosedBySystem);
          return true;
        default:
          return false;
      }
    case WM_SET_PROGRESS:
      OnSetProgress(static_cast<int>(wparam));
      return true;
    case WM_TIMER:
      if (wparam == kFirstPaintTimerId) {
        FinishAfterFirstPaint();
        return true;
      }
      if (wparam != kSlideTimerId) return false;
      OnTimerTick();
      return true;
    case WM_COMMAND:
      OnCommand(wparam);
      return true;
    case WM_ENGINE_ERROR:
      if (const int code = reported_error_.exchange(0)) ShowInstallError(code);
      return true;
    case WM_ENGINE_FINISHED:
      if (install_clicked_) EndWindow(kWindowEndedNormally);
      return true;
    case WM_REMOVE_CANCEL_BUTTON:
      DestroyCancelButton();
      return true;
    case WM_ELEVATION_DONE:
      OnElevationDone(wparam != 0);
      return true;
    case WM_PROXY_PROMPT:
      proxy_prompt_.AnswerWaiting();
      return true;
    case WM_DESTROY:
      RetireProxyPrompt();
      KillTimer(window, kSlideTimerId);
      KillTimer(window, kFirstPaintTimerId);
      window_.store(nullptr);
      return false;
    default:
      break;
  }
  if (message == move_window_message()) {
    MoveShadowWindow();
    return true;
  }
  const std::optional<SetupMessage> setup = setup_messages_.Find(message);
  if (!setup) return false;
  if (!setup_messages_.Admit(*setup, SetupStarted())) return true;
  switch (*setup) {
    case SetupMessage::kSetInstallProgress:
      OnInstallProgress(wparam);
      break;
    case SetupMessage::kSetImportProgress:
      OnImportProgress(static_cast<int>(wparam));
      break;
    case SetupMessage::kCloseWindow:
      OnCloseWindow();
      break;
    case SetupMessage::kHigherVersion:
      OnNewerVersion(DialogKind::kNewerVersionInstalled);
      break;
    case SetupMessage::kCorporateHigherVersion:
      OnNewerVersion(DialogKind::kCorporateNewerVersion);
      break;
    case SetupMessage::kCorporateBrowserExists:
      *result = OnCorporateUpdateQuestion();
      // Setup sends this one and reads the answer.
      SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
      break;
  }
  return true;
}

void MainWindow::OnInitDialog(HWND window) {
  window_.store(window);
  proxy_prompt_.AttachWindow(window);
  setup_messages_.OpenFilter(window, move_window_message());
  if (engine_ && elevation_mode_ == kElevateOnStart && NeedStartThisProcessAsAdmin(command_line_)) {
    StartElevation();
  }
  CreateControls(first_screen_skipped_);
  if (first_screen_skipped_) {
    if (!LayoutProgressDialog()) return;
    FinishInit();
  } else {
    // The gallery, which has no engine, captures the window as soon as it
    // shows: it needs the shadow's pictures from the start.
    finish_init_deferred_ = with_engine_;
    if (!finish_init_deferred_) FinishInit();
    SetTimer(window, kFirstPaintTimerId, USER_TIMER_MINIMUM, nullptr);
  }
  // An error the engine reported before the window existed.
  if (reported_error_.load() != 0) PostMessageW(window, WM_ENGINE_ERROR, 0, 0);
}

void MainWindow::OnCommand(WPARAM command) {
  switch (command) {
    case kInstallButtonId:  // also Enter
      OnInstallClicked();
      break;
    case IDCANCEL:  // Esc
      ReportButton(StatButton::kCancel);
      break;
    case kCloseButtonId:
      OnCloseButton();
      break;
    case kCancelButtonId:
      OnCancelButton();
      break;
    case kMinimizeButtonId:
      HideShadow();
      ShowWindow(hwnd(), SW_SHOWMINIMIZED);
      ReportButton(StatButton::kMinimize);
      break;
    case kPrivacyLinkId:
      OpenDocument(brand_.conf_policy_url());
      break;
    case kLicenceLinkId:
    case kProgressLicenceLinkId:
      OpenDocument(brand_.license_url());
      break;
    case kDefaultCheckBoxId:
    case kStatisticsCheckBoxId:
    case kPinCheckBoxId: {
      OnCheckBoxClicked(static_cast<int>(command));
      const StatCheckBox box = command == kDefaultCheckBoxId      ? StatCheckBox::kDefault
                               : command == kStatisticsCheckBoxId ? StatCheckBox::kSendStat
                                                                  : StatCheckBox::kPinTrial;
      if (engine_) engine_->events().ReportCheckBox(box);
      break;
    }
    default:
      break;
  }
}

void MainWindow::OnInstallClicked() {
  if (install_clicked_) return;
  if (first_screen_skipped_) {
    // Only Enter gets here: the Install button is gone.
    install_clicked_ = true;
    return;
  }
  install_clicked_ = true;
  if (engine_) engine_->RecordInstallClickTime();
  ReportButton(StatButton::kInstall);
  const uint8_t statistics =
      StatisticsChoice(params_.params(), CheckBoxState(kStatisticsCheckBoxId));
  const bool make_default = MakeDefaultChoice(params_.params(), CheckBoxState(kDefaultCheckBoxId));
  if (engine_) engine_->events().ReportInstallButton(make_default, statistics);
  if (LayoutProgressDialog()) OnProgressScreenShown();
}

void MainWindow::FinishAfterFirstPaint() {
  KillTimer(hwnd(), kFirstPaintTimerId);
  if (after_first_paint_) return;
  after_first_paint_ = true;
  if (finish_init_deferred_) {
    finish_init_deferred_ = false;
    FinishInit();
    // The shadow shows with the window's next paint.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  if (engine_start_deferred_) StartEngine();
}

bool MainWindow::LayoutProgressDialog() {
  FinishAfterFirstPaint();
  if (engine_) {
    engine_->SetMakeBrowserDefault(
        MakeDefaultChoice(params_.params(), CheckBoxState(kDefaultCheckBoxId)));
    engine_->set_send_statistics(
        StatisticsChoice(params_.params(), CheckBoxState(kStatisticsCheckBoxId)) != 0);
    SetCrashUploadAllowed(engine_->send_statistics());
    engine_->set_install_pin(PinChoice(pin_state_, CheckBoxState(kPinCheckBoxId)));
    if (elevation_mode_ == kElevateOnInstall && NeedStartThisProcessAsAdmin(command_line_)) {
      StartElevation();
    }
  }
  HideShadow();
  SetFocus(hwnd());
  CreateProgressScreenObjects();
  if (pending_error_ != 0) {
    ShowInstallError(pending_error_);
    return false;
  }
  ShowProgressScreen();
  SetFocus(GetDlgItem(hwnd(), kProgressBarId));
  ReleaseInstallWhenElevated();
  progress_mode_ = true;
  return true;
}

void MainWindow::StartElevation() {
  elevation_pending_ = true;
  Installer* engine = engine_.get();
  elevation_.Start(hwnd(), WM_ELEVATION_DONE, [engine] { return engine->StartElevated(); });
}

void MainWindow::OnElevationDone(bool started) {
  elevation_.Join();
  elevation_pending_ = false;
  // Named after the step that asked for the restart, whichever thread ran it.
  if (!started) {
    LOG_FROM(INFO, elevation_mode_ == kElevateOnStart ? "OnInitDialog" : "LayoutProgressDialog")
        << "Declined running the installer as admin";
  }
  if (release_wanted_) ReleaseInstallWhenElevated();
}

void MainWindow::ReleaseInstallWhenElevated() {
  release_wanted_ = true;
  if (!engine_ || elevation_pending_) return;
  engine_->ReleaseInstall();
}

void MainWindow::OnSetProgress(int percent) {
  if (!progress_mode_ || percent == ProgressPosition()) return;
  ShowProgress(percent);
}

void MainWindow::OnInstallProgress(uintptr_t stage) {
  const int percent = InstallStageProgressPercent(stage);
  LOG(INFO) << "--> Installer > MainWindow::OnInstallProgress: " << percent;
  if (percent != 0) SetProgress(percent);
}

void MainWindow::OnImportProgress(int import_percent) {
  LOG(INFO) << "--> Installer > MainWindow::OnImportProgress: " << import_percent;
  SetProgress(ImportProgressPercent(import_percent));
}

void MainWindow::OnCloseWindow() {
  HideShadow();
  ShowWindow(hwnd(), SW_HIDE);
  LOG(INFO) << "--> Installer > MainWindow::OnCloseWindow";
  if (engine_ && !engine_->WaitForInstallAsync()) {
    PLOG(ERROR) << "--> Installer > MainWindow::OnCloseWindow: WaitForInstallAsync timeout";
  }
  if (confirmation_ && confirmation_->hwnd()) EndDialog(confirmation_->hwnd(), 0);
  EndWindow(kWindowEndedNormally);
  KillTimer(hwnd(), kSlideTimerId);
}

void MainWindow::OnNewerVersion(DialogKind kind) {
  HideShadow();
  ShowWindow(hwnd(), SW_HIDE);
  if (std::unique_ptr<InstallerDialog> dialog = dialog_factory_->CreateNoticeDialog(kind)) {
    dialog->RunModal(hwnd());
  }
  EndWindow(kWindowEndedNormally);
}

LRESULT MainWindow::OnCorporateUpdateQuestion() {
  std::unique_ptr<InstallerDialog> dialog =
      dialog_factory_->CreateNoticeDialog(DialogKind::kCorporateUpdate);
  if (!dialog) return 1;
  const INT_PTR answer = dialog->RunModal(hwnd());
  return answer == kDialogResultButton2 || answer == kDialogResultClose ? 0 : 1;
}

void MainWindow::ShowInstallError(int install_result) {
  pending_error_ = install_result;
  if (!install_clicked_) return;  // shown once the user presses Install
  HideShadow();
  ShowWindow(hwnd(), SW_HIDE);
  if (std::unique_ptr<InstallerDialog> dialog =
          dialog_factory_->CreateErrorDialogProvider().CreateForError(install_result)) {
    dialog->RunModal(hwnd());
  }
  EndWindow(kWindowEndedNormally);
}

void MainWindow::OnCloseButton() {
  if (progress_mode_ && design_ != WindowDesign::kOrigin) {
    if (!ConfirmInterrupt()) return;
    if (engine_) engine_->IncrementCancelCount();
    ReportButton(StatButton::kCancel);
  } else {
    ReportButton(StatButton::kClose);
  }
  HideShadow();
  EndWindow(kCloseButtonId);
}

void MainWindow::OnCancelButton() {
  if (!ConfirmInterrupt()) return;
  if (engine_) engine_->IncrementCancelCount();
  EndWindow(kCancelButtonId);
}

bool MainWindow::ConfirmInterrupt() {
  std::unique_ptr<InstallerDialog> dialog = dialog_factory_->CreateInterruptDialog();
  if (!dialog) return true;
  confirmation_ = dialog.get();
  const INT_PTR answer = dialog->RunModal(hwnd());
  confirmation_ = nullptr;
  return answer == kDialogResultButton2 || answer == kDialogResultClose;
}

void MainWindow::OpenDocument(const std::string& address) {
  const std::string url = AppendLanguageQuery(address, brand_.interface_language());
  dialog_actions_.OpenUrl(url);
  if (engine_) engine_->events().ReportLink(UTF8ToUTF16(url));
}

void MainWindow::EndWindow(int result) {
  // A window closed before its engine started still reports the run, as
  // one closed later does.
  if (engine_start_deferred_) {
    after_first_paint_ = true;
    StartEngine();
  }
  if (const HWND window = hwnd()) EndDialog(window, result);
}

void MainWindow::ReportButton(StatButton button) {
  if (engine_) engine_->events().ReportButton(button);
}

void MainWindow::RetireProxyPrompt() {
  if (GetProxyCredentialsPrompt() == &proxy_prompt_) SetProxyCredentialsPrompt(nullptr);
  proxy_prompt_.Close();
}

}  // namespace lite
