// The driver itself, on the minimal dialog program: when a UI case fails,
// this tells whether the driver or the installer's window is at fault.
#include <gtest/gtest.h>

#include <set>

#include "base/file_util_win.h"
#include "base/process_win.h"
#include "tests/support/child_process_win.h"
#include "tests/ui/installer_window_win.h"
#include "tests/ui/interactive_installation_win.h"
#include "tests/ui/screen_pixels_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {
namespace {

TEST(WindowDriverTest, FindsReadsCapturesAndClicksAnotherProcessesDialog) {
  const Process program =
      LaunchProcess(JoinCommandLine({BuildDir().Append(u"minimal_dialog.exe").value()}));
  ASSERT_TRUE(program.is_valid());
  const std::optional<InstallerWindow> window =
      InstallerWindow::WaitFor(program.id(), u"Minimal", kWindowTimeoutMs);
  ASSERT_TRUE(window) << "no window of minimal_dialog.exe within " << kWindowTimeoutMs << " ms";
  EXPECT_EQ(window->Text(IDOK), u"OK");
  EXPECT_FALSE(window->IsChecked(IDOK).value_or(true));
  EXPECT_FALSE(window->ProgressPosition()) << "a dialog without control 215";

  // Painted: the text and the button stand out from the dialog's face.
  std::optional<ScreenPixels> shot;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shot = CaptureScreen(window->ScreenRect());
        return shot && std::set<uint32_t>(shot->pixels.begin(), shot->pixels.end()).size() > 2;
      },
      kWindowTimeoutMs))
      << "no painted picture of the dialog within " << kWindowTimeoutMs << " ms";
  EXPECT_EQ(shot->SameShare(*shot), 1.0);
  EXPECT_EQ(shot->Sampled(2).width, (shot->width + 1) / 2);
  const FilePath scratch = MakeScratchDir();
  const FilePath png = scratch.Append(u"shot.png");
  ASSERT_TRUE(SavePng(*shot, png.value()));
  EXPECT_EQ(ReadFileWithLimit(png, 1 << 22).value_or("").substr(0, 8), "\x89PNG\r\n\x1a\n");
  DeletePathRecursively(scratch);

  ASSERT_TRUE(window->Click(IDOK));
  int code = 0;
  ASSERT_TRUE(program.WaitForExit(kWindowTimeoutMs, &code))
      << "minimal_dialog.exe did not end within " << kWindowTimeoutMs << " ms of OK";
  EXPECT_EQ(code, IDOK);
  EXPECT_FALSE(InstallerWindow::WaitFor(program.id(), u"Minimal", 0));
}

}  // namespace
}  // namespace testing
}  // namespace lite
