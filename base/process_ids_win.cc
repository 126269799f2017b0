#include <windows.h>

#include "base/process_ids.h"

namespace lite {

uint32_t CurrentProcessId() { return GetCurrentProcessId(); }
uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace lite
