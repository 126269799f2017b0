#include "installer/run/single_instance_lock_win.h"

namespace lite {

SingleInstanceLock::SingleInstanceLock()
    : mutex_(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName)) {}

SingleInstanceLock::~SingleInstanceLock() {
  if (owned_) ReleaseMutex(mutex_.get());
}

bool SingleInstanceLock::TryLock() {
  if (!mutex_) return false;
  owned_ = WaitForSingleObject(mutex_.get(), 0) == WAIT_OBJECT_0;
  return owned_;
}

}  // namespace lite
