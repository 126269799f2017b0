#include <sys/syscall.h>
#include <unistd.h>

#include "base/process_ids.h"

namespace lite {

uint32_t CurrentProcessId() { return static_cast<uint32_t>(getpid()); }
uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

}  // namespace lite
