// A structured-exception guard for code that may raise a Windows exception
// (a failed delay load, an access violation) where the compiler offers no
// __try/__except.
#ifndef BASE_STRUCTURED_EXCEPTION_GUARD_WIN_H_
#define BASE_STRUCTURED_EXCEPTION_GUARD_WIN_H_

#include <cstdint>
#include <functional>
#include <string>

#include "base/delay_load_codes.h"

namespace lite {

struct StructuredException {
  uint32_t code = 0;               // 0: none was raised
  std::string failed_module;       // only for the delay-load code 0xC06D007E
  std::string failed_function;     // likewise; empty for an import by ordinal
};

// Runs |body| on the calling thread. Returns true when it returned normally;
// false when it raised a structured exception that no handler inside |body|
// took (as an __except around the call would see it), which is then
// described by |*exception| and the stack is unwound to this call.
//
// Only error-severity system exceptions (codes 0xC0000000-0xDFFFFFFF) are
// caught: informational ones (debug output), application codes such as C++
// exceptions and RPC errors pass on to the handlers that expect them.
// Frames of |body| are abandoned like those left by longjmp: their
// destructors do not run, so |body| should own nothing but what it hands
// out before it can fault. Guards nest; each thread has its own.
bool RunWithExceptionGuard(const std::function<void()>& body, StructuredException* exception);

}  // namespace lite

#endif  // BASE_STRUCTURED_EXCEPTION_GUARD_WIN_H_
