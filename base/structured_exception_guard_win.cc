#include "base/structured_exception_guard_win.h"

#include <windows.h>
#include <delayimp.h>

#include <cstring>

namespace lite {
namespace {

// One active guard on a thread; guards of nested calls form a chain.
struct RecoveryPoint {
  void* jump_buffer[5];  // the layout __builtin_setjmp expects
  RecoveryPoint* outer = nullptr;
  bool handling = false;
  StructuredException raised;
#if defined(_M_IX86) || defined(__i386__)
  // The frame-based handler chain at guard entry: frames of |body| that
  // registered handlers are abandoned, so the chain is put back.
  void* exception_list = nullptr;
#endif
};

// Win32 TLS rather than thread_local: the exception handler reads it and must
// not allocate on a thread that never used a guard.
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

// Where the faulting thread continues, in an ordinary context outside the
// exception dispatcher: it jumps back into RunWithExceptionGuard.
__attribute__((noinline, noreturn)) void JumpToRecoveryPoint() {
  RecoveryPoint* point = CurrentRecoveryPoint();
#if defined(_M_IX86) || defined(__i386__)
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(point->exception_list) : "memory");
#endif
  __builtin_longjmp(point->jump_buffer, 1);
}

LONG CALLBACK GuardExceptionHandler(EXCEPTION_POINTERS* pointers) {
  RecoveryPoint* point = CurrentRecoveryPoint();
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (!point || point->handling || !IsCaught(record.ExceptionCode)) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  point->handling = true;
  point->raised.code = record.ExceptionCode;
  if (record.ExceptionCode == kDelayLoadModuleNotFound) {
    DescribeDelayLoadFailure(record, &point->raised);
  }
  // Resume as though the faulting code had called JumpToRecoveryPoint, on
  // the stack a little below the fault, aligned as at a function entry.
  CONTEXT* context = pointers->ContextRecord;
#if defined(_M_X64) || defined(__x86_64__)
  context->Rsp = ((context->Rsp - 512) & ~static_cast<DWORD64>(15)) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&JumpToRecoveryPoint);
#elif defined(_M_IX86) || defined(__i386__)
  context->Esp = ((context->Esp - 512) & ~static_cast<DWORD>(15)) - 4;
  context->Eip = reinterpret_cast<DWORD>(&JumpToRecoveryPoint);
#else
#error "unsupported processor"
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

void InstallHandlerOnce() {
  // Process-wide by nature: one handler serves every thread's guards.
  static PVOID const handler = AddVectoredExceptionHandler(1, &GuardExceptionHandler);
  (void)handler;
}

// Kept out of line so that the jump target has a frame of its own, which
// __builtin_setjmp needs; |point| lives in the caller's frame.
__attribute__((noinline)) bool RunGuarded(const std::function<void()>& body,
                                          RecoveryPoint* point) {
  if (__builtin_setjmp(point->jump_buffer) != 0) return false;
  body();
  return true;
}

}  // namespace

bool RunWithExceptionGuard(const std::function<void()>& body, StructuredException* exception) {
  InstallHandlerOnce();
  RecoveryPoint point;
  point.outer = CurrentRecoveryPoint();
#if defined(_M_IX86) || defined(__i386__)
  // fs:[0] is the head of the thread's handler chain.
  __asm__ __volatile__("movl %%fs:0, %0" : "=r"(point.exception_list));
#endif
  TlsSetValue(RecoverySlot(), &point);
  const bool returned = RunGuarded(body, &point);
  TlsSetValue(RecoverySlot(), point.outer);
  if (exception) *exception = returned ? StructuredException() : point.raised;
  return returned;
}

}  // namespace lite
