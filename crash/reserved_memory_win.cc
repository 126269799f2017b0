#include "crash/reserved_memory_win.h"

namespace lite {

// Committed at once: a report must not fail for want of commit charge.
ReservedMemory::ReservedMemory(size_t size)
    : data_(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)), size_(size) {}

ReservedMemory::~ReservedMemory() {
  if (data_) VirtualFree(data_, 0, MEM_RELEASE);
}

}  // namespace lite
