// Memory taken from the system when crash capture starts, outside every
// heap, so that a crash report does not depend on the state of the heap it
// crashed with.
#ifndef CRASH_RESERVED_MEMORY_WIN_H_
#define CRASH_RESERVED_MEMORY_WIN_H_

#include <windows.h>

#include <cstddef>

namespace lite {

class ReservedMemory {
 public:
  // Reserves and commits |size| bytes; data() is null when that failed.
  explicit ReservedMemory(size_t size);
  ~ReservedMemory();
  ReservedMemory(const ReservedMemory&) = delete;
  ReservedMemory& operator=(const ReservedMemory&) = delete;

  void* data() const { return data_; }
  size_t size() const { return data_ ? size_ : 0; }

 private:
  void* data_;
  size_t size_;
};

}  // namespace lite

#endif  // CRASH_RESERVED_MEMORY_WIN_H_
