#ifndef INSTALLER_RUN_SINGLE_INSTANCE_LOCK_WIN_H_
#define INSTALLER_RUN_SINGLE_INSTANCE_LOCK_WIN_H_

#include <windows.h>

#include "base/scoped_handle_win.h"

namespace lite {

// One installer at a time per logon session: a named mutex in the session's
// local namespace.
class SingleInstanceLock {
 public:
  SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
  ~SingleInstanceLock();

  // True when this process now owns the lock. A mutex left abandoned by a
  // crashed installer counts as taken.
  bool TryLock();
  bool owned() const { return owned_; }

 private:
  ScopedHandle mutex_;
  bool owned_ = false;
};

inline constexpr wchar_t kSingleInstanceMutexName[] =
    L"Local\\TolvarBrowserLiteInstallerMutex-3F6A2C71-8D4B-4E19-A5C2-7B90D1E4F368";

}  // namespace lite

#endif  // INSTALLER_RUN_SINGLE_INSTANCE_LOCK_WIN_H_
