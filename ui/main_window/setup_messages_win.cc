#include "ui/main_window/setup_messages_win.h"

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

constexpr const wchar_t* kSetupMessageNames[] = {
    L"tolvar.lite.set_install_progress",      L"tolvar.lite.set_import_progress",
    L"tolvar.lite.close_window",              L"tolvar.higher_version_exist",
    L"tolvar.corp.user_higher_version_exist", L"tolvar.corp.user_browser_exists",
};

std::vector<UINT> RegisterSetupMessages() {
  std::vector<UINT> ids;
  for (const wchar_t* name : kSetupMessageNames) ids.push_back(RegisterWindowMessageW(name));
  return ids;
}

}  // namespace

SetupMessages::SetupMessages(bool window_elevated, FilterChange change)
    : window_elevated_(window_elevated), change_(change), ids_(RegisterSetupMessages()) {}

void SetupMessages::OpenFilter(HWND window, UINT own_message) const {
  if (!window_elevated_) {
    LOG(INFO) << "Message filter left unchanged: the window does not run elevated";
    return;
  }
  for (UINT message : ids_) change_(window, message);
  change_(window, own_message);
}

std::optional<SetupMessage> SetupMessages::Find(UINT message) const {
  for (size_t i = 0; i < ids_.size(); ++i) {
    if (ids_[i] != 0 && ids_[i] == message) return static_cast<SetupMessage>(i);
  }
  return std::nullopt;
}

bool SetupMessages::Admit(SetupMessage message, bool setup_started) const {
  if (setup_started) return true;
  LOG(WARNING) << "Ignored "
               << UTF16ToUTF8(FromWide(kSetupMessageNames[static_cast<size_t>(message)]))
               << ": setup has not been started";
  return false;
}

}  // namespace lite
