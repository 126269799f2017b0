/* Checks that the 32-bit bed hands faults to Windows programs as Windows
 * would: each fault below is raised for real, caught by a vectored handler
 * and compared with the exception code and access details it must carry.
 * Prints one line per case and ends with exit code 600 when all match, so
 * that the runner's whole exit code (above one byte) is checked too. */
#include <windows.h>

#include <stdio.h>

typedef struct {
  DWORD code;
  ULONG_PTR access; /* ExceptionInformation[0] of an access violation */
  ULONG_PTR address; /* ExceptionInformation[1] */
  int seen;
} Caught;

static Caught caught;

/* Each case faults at an instruction of known length, which the handler
 * steps over; a call to address 0 returns to its caller instead. */
static LONG CALLBACK Catch(EXCEPTION_POINTERS *pointers) {
  const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
  CONTEXT *context = pointers->ContextRecord;
  caught.code = record->ExceptionCode;
  caught.seen = 1;
  if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
    caught.access = record->ExceptionInformation[0];
    caught.address = record->ExceptionInformation[1];
  }
  if (context->Eip == 0) {
    context->Eip = *(DWORD *)context->Esp;
    context->Esp += 4;
  } else if (record->ExceptionCode == EXCEPTION_BREAKPOINT) {
    context->Eip = (DWORD)record->ExceptionAddress + 1;
  } else {
    context->Eip += 2;
  }
  return EXCEPTION_CONTINUE_EXECUTION;
}

static void ReadNull(void) {
  __asm__ volatile("xorl %%eax, %%eax\n\t.byte 0x8b, 0x00" ::: "eax", "memory");  /* mov (%eax),%eax */
}
static void WriteToCode(void) {
  /* The code section is mapped read-only: a write to it is a protection
   * fault on a present page. */
  __asm__ volatile("movl %0, %%ecx\n\t.byte 0x89, 0x01" ::"r"((DWORD)ReadNull) : "ecx", "memory");
}
static void DivideByZero(void) {
  __asm__ volatile("xorl %%ecx, %%ecx\n\txorl %%edx, %%edx\n\tmovl $1, %%eax\n\t.byte 0xf7, 0xf1"
                   ::: "eax", "ecx", "edx");  /* div %ecx */
}
static void Breakpoint(void) { __asm__ volatile("int3"); }
static void CallNull(void) {
  __asm__ volatile("xorl %%eax, %%eax\n\tcall *%%eax" ::: "eax", "ecx", "edx", "memory");
}

typedef struct {
  const char *name;
  void (*fault)(void);
  DWORD code;
  int check_access;
  ULONG_PTR access;
  ULONG_PTR address; /* 1 means the code section's address */
} Case;

int main(void) {
  const Case cases[] = {
      {"read at address 0", ReadNull, EXCEPTION_ACCESS_VIOLATION, 1, 0, 0},
      {"write into code", WriteToCode, EXCEPTION_ACCESS_VIOLATION, 1, 1, (ULONG_PTR)ReadNull},
      {"execute at address 0", CallNull, EXCEPTION_ACCESS_VIOLATION, 1, 8, 0},
      {"integer divide by zero", DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, 0},
      {"breakpoint", Breakpoint, EXCEPTION_BREAKPOINT, 0, 0, 0},
  };
  PVOID handler = AddVectoredExceptionHandler(1, Catch);
  if (!handler) {
    printf("could not add a vectored handler\n");
    return 1;
  }
  int failures = 0;
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const Case *c = &cases[i];
    ZeroMemory(&caught, sizeof caught);
    c->fault();
    int ok = caught.seen && caught.code == c->code;
    if (ok && c->check_access) ok = caught.access == c->access && caught.address == c->address;
    printf("%s: %s (code 0x%08lX, access %lu, address 0x%08lX)\n", ok ? "ok" : "FAILED", c->name,
           caught.code, (unsigned long)caught.access, (unsigned long)caught.address);
    failures += !ok;
  }
  RemoveVectoredExceptionHandler(handler);
  fflush(stdout);
  return failures ? 1 : 600;
}
