// A stop request that reaches a transfer blocked inside WinINet (a stalled
// server, a connection that is never answered): the stopping thread sets the
// stop event and closes the transfer's open handles itself, which is how
// WinINet lets another thread cancel a synchronous call. (Wine's WinINet
// only invalidates a closed handle and lets the blocked call wait on.)
#ifndef NET_TRANSFER_STOP_WIN_H_
#define NET_TRANSFER_STOP_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "base/scoped_handle_win.h"
#include "base/srw_lock_win.h"

namespace lite {

class TransferStop {
 public:
  TransferStop();
  TransferStop(const TransferStop&) = delete;
  TransferStop& operator=(const TransferStop&) = delete;

  // The manual-reset stop event; null when it could not be created.
  HANDLE event() const { return event_.get(); }
  // Sets the event and closes the handles of the transfer under way.
  void Request();
  // Clears the event for another run.
  void Reset();

  // For the downloader. Puts |handle| in the stop's care; false when a stop
  // came first (the handle is then closed here).
  bool Watch(HINTERNET handle);
  // Takes |handle| back: true when it is still open and so the caller's to
  // close, false when a stop has closed it.
  bool Unwatch(HINTERNET handle);

 private:
  ScopedHandle event_;
  SrwLock lock_;  // guards |watched_| and orders it with the event
  std::vector<HINTERNET> watched_;
};

}  // namespace lite

#endif  // NET_TRANSFER_STOP_WIN_H_
