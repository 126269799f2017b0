#include "net/transfer_stop_win.h"

#include <algorithm>

#include "base/waitable_event_win.h"
#include "logging/log_message.h"

namespace lite {

TransferStop::TransferStop() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void TransferStop::Request() {
  std::vector<HINTERNET> open;
  {
    SrwAutoLock hold(lock_);
    SetEvent(event_.get());
    open.swap(watched_);
  }
  if (open.empty()) return;
  LOG(INFO) << "Closing the transfer under way to stop it";
  // The request before its session.
  for (auto it = open.rbegin(); it != open.rend(); ++it) InternetCloseHandle(*it);
}

void TransferStop::Reset() { ResetEvent(event_.get()); }

bool TransferStop::Watch(HINTERNET handle) {
  {
    SrwAutoLock hold(lock_);
    if (!IsEventSignaled(event_.get())) {
      watched_.push_back(handle);
      return true;
    }
  }
  InternetCloseHandle(handle);
  return false;
}

bool TransferStop::Unwatch(HINTERNET handle) {
  SrwAutoLock hold(lock_);
  const auto it = std::find(watched_.begin(), watched_.end(), handle);
  if (it == watched_.end()) return false;
  watched_.erase(it);
  return true;
}

}  // namespace lite
