// Drives a Windows dialog program from outside, as a user would, and tells
// what it saw. Every mode starts PROGRAM with the driver's own environment
// (a test CDN, the fake setup's variables) and works its window through
// Win32 messages.
//
//   installer_driver demo --shots DIR [--proxy-credentials USER:PASSWORD]
//                         -- PROGRAM [ARGS...]
//       An interactive installation to its end: the welcome screen, Install,
//       the progress screen, the end; screenshots of each (PNG of the
//       window's screen rectangle), then the exit code. With
//       --proxy-credentials the proxy's credentials prompt, which comes up
//       over the window once the download meets the proxy, is captured with
//       the window under it and answered with USER and PASSWORD.
//   installer_driver first-paint [--runs N] --reference OTHER -- PROGRAM [ARGS...]
//       Time from process start to the first paint of the program's dialog,
//       against OTHER started the same way, in alternating runs.
//   installer_driver answer-time -- PROGRAM [ARGS...]
//       Presses Install at once and times the window's answer to a sent
//       message (SendMessageTimeout, WM_NULL) until the installer ends, by
//       phase of the installation.
//   installer_driver starts [--runs N] [--window-timeout-ms MS]
//                           [--hold-hung-ms MS] [--log NAME] -- PROGRAM [ARGS...]
//       Starts PROGRAM N times, each time waiting at most MS (8000) for its
//       window and closing it once painted: the starts that showed no window
//       (with the last line of NAME, lite_installer.log, in the temporary
//       folder; held MS before they are ended, for a debugger) and the
//       median first paint.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line_words.h"
#include "base/file_path.h"
#include "base/file_util_win.h"
#include "base/process_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/exit_code.h"
#include "tests/ui/dialog_kinds_win.h"
#include "tests/ui/installer_window_win.h"
#include "tests/ui/proxy_credentials_dialog_win.h"
#include "tests/ui/screen_pixels_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {
namespace {

constexpr int kInstall = 1;
constexpr int kClose = 213;
constexpr int kProgressBar = 215;

struct Options {
  std::string mode;
  std::u16string shots;
  std::u16string reference;
  int runs = 5;
  DWORD window_timeout_ms = 8000;
  DWORD hold_hung_ms = 0;
  std::u16string log_name = u"lite_installer.log";
  std::optional<std::u16string> proxy_credentials;  // "user:password"
  std::vector<std::u16string> program;  // the program and its arguments
};

std::optional<Options> ParseOptions(int argc, wchar_t** argv) {
  if (argc < 2) return std::nullopt;
  Options options;
  options.mode = UTF16ToUTF8(FromWide(argv[1]));
  int i = 2;
  for (; i < argc; ++i) {
    const std::u16string word = FromWide(argv[i]);
    if (word == u"--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return std::nullopt;
    const std::u16string value = FromWide(argv[++i]);
    if (word == u"--shots") {
      options.shots = value;
    } else if (word == u"--reference") {
      options.reference = value;
    } else if (word == u"--runs") {
      options.runs = std::max(1, std::stoi(UTF16ToUTF8(value)));
    } else if (word == u"--window-timeout-ms") {
      options.window_timeout_ms = static_cast<DWORD>(std::max(1, std::stoi(UTF16ToUTF8(value))));
    } else if (word == u"--hold-hung-ms") {
      options.hold_hung_ms = static_cast<DWORD>(std::max(0, std::stoi(UTF16ToUTF8(value))));
    } else if (word == u"--log") {
      options.log_name = value;
    } else if (word == u"--proxy-credentials") {
      if (value.find(u':') == std::u16string::npos) return std::nullopt;
      options.proxy_credentials = value;
    } else {
      return std::nullopt;
    }
  }
  for (; i < argc; ++i) options.program.push_back(FromWide(argv[i]));
  if (options.program.empty()) return std::nullopt;
  return options;
}

std::u16string CommandLine(const std::vector<std::u16string>& words) {
  std::u16string line;
  for (const std::u16string& word : words) {
    if (!line.empty()) line.push_back(u' ');
    line += word.empty() ? u"\"\"" : QuoteForCommandLine(word);
  }
  return line;
}

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

bool SaveShot(const std::optional<ScreenPixels>& picture, const Options& options,
              const char* name) {
  const std::u16string path = FilePath(options.shots).Append(UTF8ToUTF16(name)).value();
  if (!picture || !SavePng(*picture, path)) {
    std::printf("   (no screenshot of the %s)\n", name);
    return false;
  }
  std::printf("== screenshot: %s\n", UTF16ToUTF8(path).c_str());
  return true;
}

// Shows and ends one of the installer's dialogs that stands in the way.
void ReportDialog(HWND dialog, const InstallerStrings& strings, const Options& options) {
  const InstallerDialog texts = ReadInstallerDialog(dialog);
  std::printf("== the installer shows a dialog: %s\n   \"%s\" [%s]\n",
              SeenDialogName(strings.Recognize(texts)), UTF16ToUTF8(texts.title).c_str(),
              UTF16ToUTF8(texts.button1).c_str());
  SaveShot(InstallerWindow(dialog).SettledPicture(), options, "dialog.png");
  InstallerWindow(dialog).Click(kClose);
}

std::optional<HWND> OtherDialog(DWORD process_id, HWND main) {
  for (HWND dialog : VisibleDialogsOf(process_id)) {
    if (dialog != main) return dialog;
  }
  return std::nullopt;
}

// Waits up to |timeout_ms| for the proxy's credentials prompt, captures it
// with the window it sits over and answers it with the demo's credentials;
// whether one was answered.
bool AnswerProxyPrompt(DWORD process_id, const Options& options, DWORD timeout_ms) {
  std::vector<ProxyCredentialsDialog> prompts;
  WaitUntil([&] { return !(prompts = ProxyCredentialsDialogsOf(process_id)).empty(); },
            timeout_ms, 100);
  if (prompts.empty()) return false;
  const ProxyCredentialsDialog& prompt = prompts.front();
  std::printf("== the proxy asks for credentials: \"%s\", proxy %s, realm \"%s\"\n",
              UTF16ToUTF8(prompt.caption).c_str(), UTF16ToUTF8(prompt.proxy).c_str(),
              UTF16ToUTF8(prompt.realm).c_str());
  SaveShot(SettledCapture(DialogWithOwnerRect(prompt)), options, "proxy-prompt.png");
  const std::u16string& credentials = *options.proxy_credentials;
  const size_t colon = credentials.find(u':');
  const bool answered = AnswerProxyCredentialsDialog(prompt, credentials.substr(0, colon),
                                                     credentials.substr(colon + 1));
  std::printf(answered ? "   answered with the user name and password\n"
                       : "   (the prompt did not take the credentials)\n");
  return answered;
}

int Demo(const Options& options) {
  CreateDirectoryW(AsWide(options.shots), nullptr);
  const InstallerStrings strings{FilePath(options.program[0])};
  const Process process = LaunchProcess(CommandLine(options.program));
  if (!process.is_valid()) {
    std::printf("could not start %s\n", UTF16ToUTF8(options.program[0]).c_str());
    return 2;
  }
  std::optional<InstallerWindow> window =
      InstallerWindow::WaitFor(process.id(), strings.Get(400), kWindowTimeoutMs);
  int exit_code = 0;
  if (!window) {
    std::printf("== no installer window appeared\n");
  } else {
    std::printf("== the installer window is up: welcome screen\n");
    SaveShot(window->SettledPicture(), options, "welcome.png");
    // The download starts behind the welcome screen: the proxy's prompt
    // comes up over it.
    if (options.proxy_credentials && !AnswerProxyPrompt(process.id(), options, kWindowTimeoutMs)) {
      std::printf("== no proxy credentials prompt came up\n");
    }
    std::printf("== pressing Install\n");
    WaitUntil([&] { return IsWindowEnabled(window->hwnd()) != FALSE; }, kWindowTimeoutMs);
    window->Click(kInstall);
    // Mid-way: setup's install stages (the fake setup holds them a while).
    std::optional<HWND> dialog;
    WaitUntil(
        [&] {
          dialog = OtherDialog(process.id(), window->hwnd());
          return dialog || !window->Exists() || window->ProgressPosition().value_or(0) >= 75;
        },
        kRunTimeoutMs);
    if (dialog) {
      ReportDialog(*dialog, strings, options);
    } else if (window->Exists()) {
      std::optional<ScreenPixels> picture = window->SettledPicture();
      std::printf("== progress screen at %d %%: \"%s\"\n", window->ProgressPosition().value_or(-1),
                  UTF16ToUTF8(window->Text(224)).c_str());
      SaveShot(picture, options, "progress.png");
      // The end: the import done, before setup closes the window.
      WaitUntil([&] { return !window->Exists() || window->ProgressPosition().value_or(0) == 100; },
                kRunTimeoutMs, 20);
      if (window->Exists()) {
        std::optional<ScreenPixels> end = window->SettledPicture(100);
        std::printf("== the end at %d %%: \"%s\"\n", window->ProgressPosition().value_or(-1),
                    UTF16ToUTF8(window->Text(224)).c_str());
        SaveShot(end, options, "end.png");
      } else {
        std::printf("   (the window closed before the end could be captured)\n");
      }
    }
  }
  if (!process.WaitForExit(kRunTimeoutMs, &exit_code)) {
    std::printf("== the installer did not end; terminating it\n");
    process.Terminate(1);
    return 1;
  }
  std::printf("exit code: %s\n", DescribeExitCode(exit_code).c_str());
  return 0;
}

// One start of a dialog program, as far as its window's first paint.
struct Start {
  bool valid = false;               // the process was made
  bool window_seen = false;         // a visible dialog of it appeared
  bool ended_before_window = false;
  bool ended_when_closed = false;   // it ended within the wait after the close
  std::optional<double> first_paint_ms;
  double visible_ms = 0;
};

// One start of |program|: milliseconds from CreateProcess to the first
// frame on screen that shows the dialog as it finally settles; also when
// the dialog was first seen visible. No dialog within |window_timeout_ms|
// is a start that hung; |on_no_window| then sees the process before it is
// terminated. The dialog is closed as a user closes it and the process
// given |exit_timeout_ms| to end.
Start TimeToFirstPaint(const std::vector<std::u16string>& program, DWORD window_timeout_ms,
                       DWORD exit_timeout_ms,
                       const std::function<void(const Process&)>& on_no_window = {}) {
  struct Frame {
    LONGLONG at;
    ScreenPixels pixels;
  };
  Start outcome;
  const LONGLONG start = Now();
  const Process process = LaunchProcess(CommandLine(program));
  if (!process.is_valid()) return outcome;
  outcome.valid = true;
  std::vector<Frame> frames;
  HWND window = nullptr;
  LONGLONG found_at = 0;
  int code = 0;
  WaitUntil(
      [&] {
        if (!window) {
          const std::vector<HWND> dialogs = VisibleDialogsOf(process.id());
          if (dialogs.empty()) {
            outcome.ended_before_window = process.WaitForExit(0, &code);
            return outcome.ended_before_window ||
                   Milliseconds(Now() - start) >= window_timeout_ms;
          }
          window = dialogs.front();
          found_at = Now();
          outcome.window_seen = true;
          outcome.visible_ms = Milliseconds(found_at - start);
        }
        RECT rect;
        GetWindowRect(window, &rect);
        std::optional<ScreenPixels> pixels = CaptureScreen(rect);
        if (pixels) frames.push_back({Now(), pixels->Sampled(2)});
        // Settled: two seconds up, the last half second unchanged.
        if (Milliseconds(Now() - found_at) < 2000 || frames.size() < 2) return false;
        for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
          if (it->pixels.SameShare(frames.back().pixels) != 1.0) return false;
          if (Milliseconds(frames.back().at - it->at) >= 500) return true;
        }
        return false;
      },
      window_timeout_ms + 10000, 10);
  // Polled every 10 ms: busier polling would take the machine's time from
  // the program it measures.
  for (const Frame& frame : frames) {
    if (frame.pixels.SameShare(frames.back().pixels) >= 0.98) {
      outcome.first_paint_ms = Milliseconds(frame.at - start);
      break;
    }
  }
  if (!window && !outcome.ended_before_window && on_no_window) on_no_window(process);
  if (window) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  outcome.ended_when_closed = window && process.WaitForExit(exit_timeout_ms, &code);
  if (!outcome.ended_before_window && !outcome.ended_when_closed) {
    process.Terminate(1);
    process.WaitForExit(exit_timeout_ms, &code);
  }
  return outcome;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int FirstPaint(const Options& options) {
  if (options.reference.empty()) return 2;
  std::vector<double> reference_ms;
  std::vector<double> program_ms;
  std::vector<double> program_visible_ms;
  std::printf("%-4s %16s %16s %7s %20s\n", "run", "reference (ms)", "program (ms)", "ratio",
              "program visible (ms)");
  for (int run = 1; run <= options.runs; ++run) {
    // Alternating which goes first keeps what one start leaves behind (a
    // busy wineserver, a window still being torn down) off one side.
    Start reference_start;
    Start program_start;
    if (run % 2) {
      reference_start = TimeToFirstPaint({options.reference}, kWindowTimeoutMs, 30000);
      program_start = TimeToFirstPaint(options.program, kWindowTimeoutMs, 30000);
    } else {
      program_start = TimeToFirstPaint(options.program, kWindowTimeoutMs, 30000);
      reference_start = TimeToFirstPaint({options.reference}, kWindowTimeoutMs, 30000);
    }
    const std::optional<double> reference = reference_start.first_paint_ms;
    const std::optional<double> program = program_start.first_paint_ms;
    const double program_visible = program_start.visible_ms;
    if (!reference || !program) {
      std::printf("%-4d no paint seen (%s)\n", run, reference ? "program" : "reference");
      continue;
    }
    reference_ms.push_back(*reference);
    program_ms.push_back(*program);
    program_visible_ms.push_back(program_visible);
    std::printf("%-4d %16.0f %16.0f %7.2f %20.0f\n", run, *reference, *program,
                *program / *reference, program_visible);
  }
  if (reference_ms.empty()) return 1;
  const double ratio = Median(program_ms) / Median(reference_ms);
  std::printf("median %14.0f %16.0f %7.2f %20.0f  (goal: ratio at most 1.5)\n",
              Median(reference_ms), Median(program_ms), ratio, Median(program_visible_ms));
  return 0;
}

// The last line the program wrote to its log in the temporary folder.
std::string LastLogLine(const std::u16string& log_name) {
  const std::string text =
      ReadFileWithLimit(GetUserTempDir().Append(log_name), 1 << 24).value_or("");
  size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) return "(no log)";
  const size_t begin = text.find_last_of('\n', end);
  return text.substr(begin == std::string::npos ? 0 : begin + 1, end + 1 -
                     (begin == std::string::npos ? 0 : begin + 1));
}

// Starts the program again and again, each time waiting a bounded time for
// its window, timing its first paint and closing it: how many starts never
// showed their window, and where each one's log stopped.
int Starts(const Options& options) {
  std::vector<double> paint_ms;
  int hung = 0;
  int ended_early = 0;
  int unpainted = 0;
  int not_ended = 0;
  const LONGLONG began = Now();
  for (int run = 1; run <= options.runs; ++run) {
    std::string hung_at;
    const Start start = TimeToFirstPaint(
        options.program, options.window_timeout_ms, 10000, [&](const Process& process) {
          hung_at = LastLogLine(options.log_name);
          std::printf("start %d: no window within %lu ms (process %lu); its log stopped at: %s\n",
                      run, static_cast<unsigned long>(options.window_timeout_ms),
                      static_cast<unsigned long>(process.id()), hung_at.c_str());
          std::fflush(stdout);
          if (options.hold_hung_ms) Sleep(options.hold_hung_ms);
        });
    if (!start.valid) {
      std::printf("start %d: could not start the program\n", run);
      return 2;
    }
    if (start.ended_before_window) {
      ++ended_early;
      std::printf("start %d: ended before showing a window; its log stopped at: %s\n", run,
                  LastLogLine(options.log_name).c_str());
    } else if (!start.window_seen) {
      ++hung;
    } else {
      if (start.first_paint_ms) {
        paint_ms.push_back(*start.first_paint_ms);
      } else {
        ++unpainted;
        std::printf("start %d: window seen after %.0f ms but no settled paint\n", run,
                    start.visible_ms);
      }
      if (!start.ended_when_closed) {
        ++not_ended;
        std::printf("start %d: did not end within 10 s of its close; its log stopped at: %s\n",
                    run, LastLogLine(options.log_name).c_str());
      }
    }
    if (run % 50 == 0) {
      std::printf("... %d starts, %d hung, %.0f s\n", run, hung,
                  Milliseconds(Now() - began) / 1000);
    }
    std::fflush(stdout);
  }
  std::printf("starts: %d  hung (no window within %lu ms): %d  ended before a window: %d  "
              "no settled paint: %d  not ended after close: %d\n",
              options.runs, static_cast<unsigned long>(options.window_timeout_ms), hung,
              ended_early, unpainted, not_ended);
  if (!paint_ms.empty()) {
    std::printf("first paint median: %.0f ms over %zu starts (min %.0f, max %.0f)\n",
                Median(paint_ms), paint_ms.size(),
                *std::min_element(paint_ms.begin(), paint_ms.end()),
                *std::max_element(paint_ms.begin(), paint_ms.end()));
  }
  std::printf("%.1f s in all\n", Milliseconds(Now() - began) / 1000);
  return hung || ended_early || unpainted || not_ended ? 1 : 0;
}

// The installation's phase as the progress bar tells it.
const char* Phase(int progress) {
  if (progress < 0) return "Install pressed, welcome screen";
  if (progress < 40) return "download";
  if (progress == 40) return "verification and setup start";
  return "setup";
}

int AnswerTime(const Options& options) {
  const InstallerStrings strings{FilePath(options.program[0])};
  const Process process = LaunchProcess(CommandLine(options.program));
  if (!process.is_valid()) return 2;
  std::optional<InstallerWindow> window =
      InstallerWindow::WaitFor(process.id(), strings.Get(400), kWindowTimeoutMs);
  if (!window) {
    std::printf("no installer window appeared\n");
    process.Terminate(1);
    return 1;
  }
  // The download runs from the start; the window is timed once it has
  // painted its welcome screen, from the Install press on.
  window->SettledPicture(200, 10000);
  window->Click(kInstall);
  struct Phase {
    int samples = 0;
    int over_100ms = 0;
    double max_ms = 0;
    std::vector<double> all;
  };
  std::map<std::string, Phase> phases;
  int timeouts = 0;
  const LONGLONG start = Now();
  int code = 0;
  while (!process.WaitForExit(10, &code) && window->Exists()) {
    const int progress = window->IsControlVisible(kProgressBar)
                             ? window->ProgressPosition().value_or(-1)
                             : -1;
    const LONGLONG sent = Now();
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window->hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 5000,
                                              &result) != 0;
    const double ms = Milliseconds(Now() - sent);
    if (!answered) {
      if (!window->Exists()) break;
      ++timeouts;
    }
    Phase& phase = phases[::lite::testing::Phase(progress)];
    ++phase.samples;
    phase.over_100ms += ms > 100;
    phase.max_ms = std::max(phase.max_ms, ms);
    phase.all.push_back(ms);
  }
  process.WaitForExit(kRunTimeoutMs, &code);
  std::printf("%-30s %8s %10s %10s %10s\n", "phase", "samples", "median ms", "max ms",
              "> 100 ms");
  for (const auto& [name, phase] : phases) {
    std::printf("%-30s %8d %10.1f %10.1f %10d\n", name.c_str(), phase.samples, Median(phase.all),
                phase.max_ms, phase.over_100ms);
  }
  std::printf("unanswered within 5 s: %d; %.1f s in all; exit code: %s\n", timeouts,
              Milliseconds(Now() - start) / 1000, DescribeExitCode(code).c_str());
  return 0;
}

}  // namespace
}  // namespace testing
}  // namespace lite

int wmain(int argc, wchar_t** argv) {
  using namespace lite::testing;
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (options && options->mode == "demo" && !options->shots.empty()) return Demo(*options);
  if (options && options->mode == "first-paint") return FirstPaint(*options);
  if (options && options->mode == "answer-time") return AnswerTime(*options);
  if (options && options->mode == "starts") return Starts(*options);
  std::fprintf(stderr,
               "usage: installer_driver demo --shots DIR [--proxy-credentials USER:PASSWORD] -- "
               "PROGRAM [ARGS...]\n"
               "       installer_driver first-paint [--runs N] --reference OTHER -- PROGRAM "
               "[ARGS...]\n"
               "       installer_driver answer-time -- PROGRAM [ARGS...]\n"
               "       installer_driver starts [--runs N] [--window-timeout-ms MS] "
               "[--hold-hung-ms MS] [--log NAME] -- PROGRAM [ARGS...]\n");
  return 2;
}
