#include "installer/elevation/process_window_delegate_win.h"

#include "base/debug_log.h"

namespace lite {
namespace {

// The elevated copy only launches setup; any other report is a bug.
void ReportUnexpectedCall(const char* operation) {
  DLOG(ERROR) << "Programming error: the elevated installer's delegate got " << operation;
}

}  // namespace

void ProcessWindowDelegate::OnDownloadProgress(float) {
  ReportUnexpectedCall("OnDownloadProgress");
}
void ProcessWindowDelegate::OnSlowDownload() { ReportUnexpectedCall("OnSlowDownload"); }
void ProcessWindowDelegate::OnTimeRemaining(int, int) { ReportUnexpectedCall("OnTimeRemaining"); }
void ProcessWindowDelegate::CloseIfInstallStarted(bool) {
  ReportUnexpectedCall("CloseIfInstallStarted");
}
void ProcessWindowDelegate::OnInstallError(int) { ReportUnexpectedCall("OnInstallError"); }

void ProcessWindowDelegate::SetProgress(int percent) {
  // A null window would make PostMessageW post to this thread's own queue.
  if (window_) PostMessageW(window_, kSetProgressMessage, static_cast<WPARAM>(percent), 0);
}

void ProcessWindowDelegate::RemoveCancelButton() {
  ShowWindow(GetDlgItem(window_, kCancelButtonId), SW_HIDE);
}

}  // namespace lite
