#include "base/structured_exception_guard_win.h"

#include <windows.h>
#include <delayimp.h>

#include <cstring>

namespace lite {
namespace {

#if defined(_M_IX86) || defined(__i386__)
// A frame-based handler as the x86 chain at fs:[0] holds it.
struct FrameRegistration {
  FrameRegistration* next;
  void* handler;
};
#endif

// One active guard on a thread; guards of nested calls form a chain.
struct RecoveryPoint {
  void* jump_buffer[5];  // the layout __builtin_setjmp expects
  RecoveryPoint* outer = nullptr;
  bool handling = false;
  StructuredException raised;
#if defined(_M_IX86) || defined(__i386__)
  // This guard's handler on the thread's chain, and the chain's head before
  // it: frames of |body| that registered handlers are abandoned, so the
  // chain is put back.
  FrameRegistration registration = {};
  FrameRegistration* outer_registration = nullptr;
#endif
};

// Win32 TLS rather than thread_local: the exception handler reads it and must
// not allocate.
DWORD RecoverySlot() {
  static const DWORD slot = TlsAlloc();
  return slot;
}

RecoveryPoint* CurrentRecoveryPoint() {
  return static_cast<RecoveryPoint*>(TlsGetValue(RecoverySlot()));
}

bool IsCaught(DWORD code) { return (code & 0xE0000000u) == 0xC0000000u; }

std::string CopyName(const char* name) {
  return name ? std::string(name, strnlen(name, 512)) : std::string();
}

void DescribeDelayLoadFailure(const EXCEPTION_RECORD& record, StructuredException* out) {
  if (record.NumberParameters < 1 || record.ExceptionInformation[0] == 0) return;
  const auto* info = reinterpret_cast<const DelayLoadInfo*>(record.ExceptionInformation[0]);
  out->failed_module = CopyName(info->szDll);
  if (info->dlp.fImportByName) out->failed_function = CopyName(info->dlp.szProcName);
}

#if defined(_M_IX86) || defined(__i386__)
FrameRegistration* ChainHead() {
  FrameRegistration* head;
  __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
  return head;
}
void SetChainHead(FrameRegistration* head) {
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}
#endif

// Where the faulting thread continues, in an ordinary context outside the
// exception dispatcher: it jumps back into RunWithExceptionGuard.
__attribute__((noinline, noreturn)) void JumpToRecoveryPoint() {
  RecoveryPoint* point = CurrentRecoveryPoint();
#if defined(_M_IX86) || defined(__i386__)
  SetChainHead(&point->registration);
#endif
  __builtin_longjmp(point->jump_buffer, 1);
}

}  // namespace

// The handler of the guarded frame. The system calls it only for an
// exception that no frame inside |body| has handled, as an __except block
// would see it: faults that the code in |body| catches itself stay its own.
extern "C" EXCEPTION_DISPOSITION lite_StructuredExceptionGuardHandler(
    EXCEPTION_RECORD* record, void* /*establisher_frame*/, CONTEXT* context,
    void* /*dispatcher_context*/) {
  constexpr DWORD kUnwinding = EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND;
  RecoveryPoint* point = CurrentRecoveryPoint();
  if (!point || point->handling || (record->ExceptionFlags & kUnwinding) ||
      !IsCaught(record->ExceptionCode)) {
    return ExceptionContinueSearch;
  }
  point->handling = true;
  point->raised.code = record->ExceptionCode;
  if (record->ExceptionCode == kDelayLoadModuleNotFound) {
    DescribeDelayLoadFailure(*record, &point->raised);
  }
  // The thread does not return to the faulting code, so whether it could
  // have does not matter.
  record->ExceptionFlags &= ~static_cast<DWORD>(EXCEPTION_NONCONTINUABLE);
  // Resume as though the faulting code had called JumpToRecoveryPoint, on
  // the stack a little below the fault, aligned as at a function entry.
#if defined(_M_X64) || defined(__x86_64__)
  context->Rsp = ((context->Rsp - 512) & ~static_cast<DWORD64>(15)) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&JumpToRecoveryPoint);
#elif defined(_M_IX86) || defined(__i386__)
  context->Esp = ((context->Esp - 512) & ~static_cast<DWORD>(15)) - 4;
  context->Eip = reinterpret_cast<DWORD>(&JumpToRecoveryPoint);
#else
#error "unsupported processor"
#endif
  return ExceptionContinueExecution;
}

namespace {

// Makes |point| the thread's innermost guard until the scope ends, however
// it ends (a C++ exception may leave |body|).
class ScopedRecoveryPoint {
 public:
  explicit ScopedRecoveryPoint(RecoveryPoint* point) : point_(point) {
    point->outer = CurrentRecoveryPoint();
    TlsSetValue(RecoverySlot(), point);
#if defined(_M_IX86) || defined(__i386__)
    point->outer_registration = ChainHead();
    point->registration.next = point->outer_registration;
    point->registration.handler = reinterpret_cast<void*>(&lite_StructuredExceptionGuardHandler);
    SetChainHead(&point->registration);
#endif
  }
  ScopedRecoveryPoint(const ScopedRecoveryPoint&) = delete;
  ScopedRecoveryPoint& operator=(const ScopedRecoveryPoint&) = delete;
  ~ScopedRecoveryPoint() {
#if defined(_M_IX86) || defined(__i386__)
    SetChainHead(point_->outer_registration);
#endif
    TlsSetValue(RecoverySlot(), point_->outer);
  }

 private:
  RecoveryPoint* point_;
};

// Kept out of line so that the jump target has a frame of its own, which
// __builtin_setjmp needs; |point| lives in the caller's frame. On x64 the
// guard's handler belongs to this function's unwind data.
__attribute__((noinline)) bool RunGuarded(const std::function<void()>& body,
                                          RecoveryPoint* point) {
#if defined(_M_X64) || defined(__x86_64__)
  __asm__ __volatile__(".seh_handler lite_StructuredExceptionGuardHandler, @except");
#endif
  if (__builtin_setjmp(point->jump_buffer) != 0) return false;
  body();
  return true;
}

}  // namespace

bool RunWithExceptionGuard(const std::function<void()>& body, StructuredException* exception) {
  RecoveryPoint point;
  bool returned = false;
  {
    ScopedRecoveryPoint active(&point);
    returned = RunGuarded(body, &point);
  }
  if (exception) *exception = returned ? StructuredException() : point.raised;
  return returned;
}

}  // namespace lite
