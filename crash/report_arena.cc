#include "crash/report_arena.h"

#include <cstdint>

namespace lite {

void* ReportArena::Allocate(size_t size, size_t align) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(base_) + used_;
  const uintptr_t aligned = (start + (align - 1)) & ~static_cast<uintptr_t>(align - 1);
  const size_t padding = aligned - start;
  if (!base_ || padding > size_ - used_ || size > size_ - used_ - padding) return nullptr;
  used_ += padding + size;
  return reinterpret_cast<void*>(aligned);
}

}  // namespace lite
