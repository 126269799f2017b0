#ifndef BASE_PROC_ADDRESS_WIN_H_
#define BASE_PROC_ADDRESS_WIN_H_

#include <windows.h>

namespace lite {

// GetProcAddress typed as |Function|; null when |module| or the export is
// missing. The detour through a generic function pointer is the documented
// way to convert between function pointer types.
template <typename Function>
Function GetProcAddressAs(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace lite

#endif  // BASE_PROC_ADDRESS_WIN_H_
