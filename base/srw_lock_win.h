// A slim reader/writer lock used exclusively, and its scoped holder.
#ifndef BASE_SRW_LOCK_WIN_H_
#define BASE_SRW_LOCK_WIN_H_

#include <windows.h>

namespace lite {

class SrwLock {
 public:
  SrwLock() = default;
  SrwLock(const SrwLock&) = delete;
  SrwLock& operator=(const SrwLock&) = delete;

  void Acquire() { AcquireSRWLockExclusive(&lock_); }
  void Release() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class SrwAutoLock {
 public:
  explicit SrwAutoLock(SrwLock& lock) : lock_(lock) { lock_.Acquire(); }
  SrwAutoLock(const SrwAutoLock&) = delete;
  SrwAutoLock& operator=(const SrwAutoLock&) = delete;
  ~SrwAutoLock() { lock_.Release(); }

 private:
  SrwLock& lock_;
};

}  // namespace lite

#endif  // BASE_SRW_LOCK_WIN_H_
