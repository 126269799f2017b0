#include "installer/run/single_instance_lock_win.h"

#include <gtest/gtest.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "installer/run/master_process_id_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

// Takes the lock as the entry sequence does, then holds it until told.
int HoldLock(const std::vector<std::u16string>& args) {
  SingleInstanceLock lock;
  if (!lock.TryLock()) return 1;
  SetMasterProcessId(GetCurrentProcessId());
  WaitableEvent(WaitableEvent::Reset::kManual, false, args.at(0)).Signal();
  WaitableEvent(WaitableEvent::Reset::kManual, false, args.at(1)).Wait(60000);
  return 0;
}
TL_CHILD_PROCESS("hold-lock", HoldLock);

// Exit code: the cell's value when the lock is taken elsewhere, else -1.
int TryLockAndReadCell(const std::vector<std::u16string>&) {
  SingleInstanceLock lock;
  return lock.TryLock() ? -1 : static_cast<int>(GetMasterProcessId());
}
TL_CHILD_PROCESS("try-lock", TryLockAndReadCell);

// Takes the lock and dies without releasing it.
int AbandonLock(const std::vector<std::u16string>&) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName);
  WaitForSingleObject(mutex, INFINITE);
  TerminateProcess(GetCurrentProcess(), 3);
  return 0;
}
TL_CHILD_PROCESS("abandon-lock", AbandonLock);

class SingleInstanceTest : public ::testing::Test {
 protected:
  void StartHolder() {
    holder_ = testing::StartChild("hold-lock", {ready_name_, release_name_});
    ASSERT_TRUE(holder_.is_valid());
    ASSERT_TRUE(ready_.Wait(30000));
  }
  void TearDown() override {
    release_.Signal();
    int code = -1;
    if (holder_.is_valid()) {
      EXPECT_TRUE(holder_.WaitForExit(30000, &code));
    }
  }

  const std::u16string ready_name_ = u"Local\\tl-lock-ready-" + UTF8ToUTF16(std::to_string(GetCurrentProcessId()));
  const std::u16string release_name_ = u"Local\\tl-lock-release-" + UTF8ToUTF16(std::to_string(GetCurrentProcessId()));
  WaitableEvent ready_{WaitableEvent::Reset::kManual, false, ready_name_};
  WaitableEvent release_{WaitableEvent::Reset::kManual, false, release_name_};
  Process holder_;
};

TEST_F(SingleInstanceTest, SecondProcessOfTheSameFileSeesTheOwnersId) {
  StartHolder();
  EXPECT_EQ(GetMasterProcessId(), holder_.id());  // shared with this process too
  SingleInstanceLock lock;
  EXPECT_FALSE(lock.TryLock());
  EXPECT_EQ(testing::RunChild("try-lock", {}), static_cast<int>(holder_.id()));
}

TEST_F(SingleInstanceTest, CopyOfTheFileElsewhereHasItsOwnCell) {
  StartHolder();
  const FilePath dir = testing::MakeScratchDir();
  const FilePath copy = dir.Append(u"copy_of_tests.exe");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(copy.value()), FALSE));
  Process child = LaunchProcess(testing::JoinCommandLine({copy.value(), u"--child=try-lock"}));
  ASSERT_TRUE(child.is_valid());
  int code = -1;
  ASSERT_TRUE(child.WaitForExit(30000, &code));
  EXPECT_EQ(code, 0);  // the lock is taken, and this file's cell is still 0
  DeletePathRecursively(dir);
}

TEST_F(SingleInstanceTest, LockIsFreeAgainAfterTheOwnerEnds) {
  StartHolder();
  release_.Signal();
  int code = -1;
  ASSERT_TRUE(holder_.WaitForExit(30000, &code));
  EXPECT_EQ(code, 0);
  SingleInstanceLock lock;
  EXPECT_TRUE(lock.TryLock());
  EXPECT_TRUE(lock.owned());
}

TEST(SingleInstanceAbandonedTest, AbandonedLockCountsAsTaken) {
  // Keep the mutex object alive across the crash so that it is abandoned
  // rather than destroyed.
  ScopedHandle keep(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName));
  EXPECT_EQ(testing::RunChild("abandon-lock", {}), 3);
  SingleInstanceLock lock;
  EXPECT_FALSE(lock.TryLock());
}

}  // namespace
}  // namespace lite
