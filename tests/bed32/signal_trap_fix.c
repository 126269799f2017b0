/* Preloaded into every process of the 32-bit bed (/etc/ld.so.preload).
 *
 * The user-mode emulator delivers SIGSEGV, SIGBUS, SIGFPE and SIGTRAP with
 * the trap number in the signal frame left at -1. Wine's i386 fault handler
 * decides from that number what kind of exception to raise, so every access
 * violation reached the program as an illegal instruction and structured
 * exception handlers, guard pages and vectored handlers saw the wrong code.
 * This library wraps sigaction: a handler installed for one of those signals
 * is called through a wrapper that first writes the trap number (and, for
 * page faults, the present bit of the error code) the kernel would have
 * written, derived from the signal and its siginfo code. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <ucontext.h>

enum {
  kTrapDivide = 0,
  kTrapDebug = 1,
  kTrapBreakpoint = 3,
  kTrapOverflow = 4,
  kTrapProtection = 13,
  kTrapPageFault = 14,
  kTrapFpu = 16,
  kTrapAlignment = 17,
};
enum { kErrorPresent = 1, kErrorInstructionFetch = 16 };

typedef int (*SigactionFunction)(int, const struct sigaction *, struct sigaction *);
typedef void (*SiginfoHandler)(int, siginfo_t *, void *);

/* Signal dispositions are process-wide, so the handlers wrapped are too. */
static SiginfoHandler wrapped_handlers[NSIG];

static int IsMended(int signal_number) {
  return signal_number == SIGSEGV || signal_number == SIGBUS || signal_number == SIGFPE ||
         signal_number == SIGTRAP;
}

static int TrapNumber(int signal_number, const siginfo_t *info) {
  switch (signal_number) {
    case SIGSEGV:
      /* A general protection fault comes from the kernel with no address. */
      return info->si_code == SI_KERNEL ? kTrapProtection : kTrapPageFault;
    case SIGBUS:
      return info->si_code == BUS_ADRALN ? kTrapAlignment : kTrapPageFault;
    case SIGFPE:
      if (info->si_code == FPE_INTDIV) return kTrapDivide;
      if (info->si_code == FPE_INTOVF) return kTrapOverflow;
      return kTrapFpu;
    default: /* SIGTRAP */
      return info->si_code == TRAP_TRACE ? kTrapDebug : kTrapBreakpoint;
  }
}

static void MendThenHandle(int signal_number, siginfo_t *info, void *context) {
  greg_t *registers = ((ucontext_t *)context)->uc_mcontext.gregs;
  /* A frame from a real kernel (or a later emulator) already says. */
  if (registers[REG_TRAPNO] < 0 || registers[REG_TRAPNO] > 31) {
    const int trap = TrapNumber(signal_number, info);
    registers[REG_TRAPNO] = trap;
    if (trap == kTrapPageFault) {
      /* Keep the write bit the emulator sets; the present bit follows the
       * siginfo code, and a fault at the instruction pointer is a fetch. */
      greg_t error = registers[REG_ERR] & ~(greg_t)(kErrorPresent | kErrorInstructionFetch);
      if (info->si_code == SEGV_ACCERR) error |= kErrorPresent;
      if ((greg_t)(size_t)info->si_addr == registers[REG_EIP]) error |= kErrorInstructionFetch;
      registers[REG_ERR] = error;
    } else if (trap != kTrapProtection) {
      registers[REG_ERR] = 0;
    }
  }
  wrapped_handlers[signal_number](signal_number, info, context);
}

int sigaction(int signal_number, const struct sigaction *action, struct sigaction *old_action) {
  static SigactionFunction real_sigaction;
  if (!real_sigaction) real_sigaction = (SigactionFunction)dlsym(RTLD_NEXT, "sigaction");
  if (signal_number <= 0 || signal_number >= NSIG || !IsMended(signal_number))
    return real_sigaction(signal_number, action, old_action);

  const SiginfoHandler previous = wrapped_handlers[signal_number];
  struct sigaction installed;
  const struct sigaction *to_install = action;
  if (action && (action->sa_flags & SA_SIGINFO) && action->sa_sigaction) {
    installed = *action;
    installed.sa_sigaction = MendThenHandle;
    to_install = &installed;
  }
  const int result = real_sigaction(signal_number, to_install, old_action);
  if (result != 0) return result;
  /* The caller sees its own handler, not the wrapper. */
  if (old_action && (old_action->sa_flags & SA_SIGINFO) &&
      old_action->sa_sigaction == MendThenHandle)
    old_action->sa_sigaction = previous;
  if (to_install == &installed) wrapped_handlers[signal_number] = action->sa_sigaction;
  return 0;
}
