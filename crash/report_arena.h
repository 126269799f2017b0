// A bump allocator over memory reserved when crash capture starts, so that
// the report of a crash never asks the process heap for anything. Nothing
// is freed one by one: a mark taken before a report is released after it.
#ifndef CRASH_REPORT_ARENA_H_
#define CRASH_REPORT_ARENA_H_

#include <cstddef>
#include <new>
#include <utility>

namespace lite {

class ReportArena {
 public:
  ReportArena() = default;
  ReportArena(void* memory, size_t size) : base_(static_cast<char*>(memory)), size_(size) {}

  // |size| bytes aligned to |align| (a power of two); null when the arena
  // is exhausted.
  void* Allocate(size_t size, size_t align = alignof(std::max_align_t));

  // A T built in the arena; null when it does not fit.
  template <typename T, typename... Args>
  T* New(Args&&... args) {
    void* memory = Allocate(sizeof(T), alignof(T));
    return memory ? new (memory) T(std::forward<Args>(args)...) : nullptr;
  }

  size_t used() const { return used_; }
  size_t capacity() const { return size_; }
  // Everything allocated after |mark| (a value of used()) is given back.
  void Release(size_t mark) {
    if (mark <= used_) used_ = mark;
  }

 private:
  char* base_ = nullptr;
  size_t size_ = 0;
  size_t used_ = 0;
};

}  // namespace lite

#endif  // CRASH_REPORT_ARENA_H_
