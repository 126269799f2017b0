// Owners for Windows handles: each closes what it holds when destroyed.
#ifndef BASE_SCOPED_HANDLE_WIN_H_
#define BASE_SCOPED_HANDLE_WIN_H_

#include <windows.h>

#include <utility>

namespace lite {

// Traits: static T Invalid(); static bool IsValid(T); static void Close(T).
template <typename Traits>
class ScopedGeneric {
 public:
  using Type = decltype(Traits::Invalid());

  ScopedGeneric() = default;
  explicit ScopedGeneric(Type value) : value_(value) {}
  ScopedGeneric(ScopedGeneric&& other) noexcept : value_(other.release()) {}
  ScopedGeneric& operator=(ScopedGeneric&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ScopedGeneric(const ScopedGeneric&) = delete;
  ScopedGeneric& operator=(const ScopedGeneric&) = delete;
  ~ScopedGeneric() { reset(); }

  Type get() const { return value_; }
  bool is_valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return is_valid(); }

  void reset(Type value = Traits::Invalid()) {
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }
  Type release() { return std::exchange(value_, Traits::Invalid()); }

 private:
  Type value_ = Traits::Invalid();
};

// Kernel objects: both null and INVALID_HANDLE_VALUE mean "none".
struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
using ScopedHandle = ScopedGeneric<HandleTraits>;

struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static bool IsValid(HKEY k) { return k != nullptr; }
  static void Close(HKEY k) { RegCloseKey(k); }
};
using ScopedRegKey = ScopedGeneric<RegKeyTraits>;

struct LocalMemoryTraits {
  static HLOCAL Invalid() { return nullptr; }
  static bool IsValid(HLOCAL m) { return m != nullptr; }
  static void Close(HLOCAL m) { LocalFree(m); }
};
using ScopedLocalMemory = ScopedGeneric<LocalMemoryTraits>;

struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static bool IsValid(HMODULE m) { return m != nullptr; }
  static void Close(HMODULE m) { FreeLibrary(m); }
};
using ScopedLibrary = ScopedGeneric<LibraryTraits>;

// A view of a file mapping.
struct MappedViewTraits {
  static const void* Invalid() { return nullptr; }
  static bool IsValid(const void* view) { return view != nullptr; }
  static void Close(const void* view) { UnmapViewOfFile(view); }
};
using ScopedMappedView = ScopedGeneric<MappedViewTraits>;

struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
using ScopedFindHandle = ScopedGeneric<FindTraits>;

// Releases a mutex acquired by a wait, on every path out of a scope.
class ScopedMutexRelease {
 public:
  ScopedMutexRelease() = default;
  explicit ScopedMutexRelease(HANDLE mutex) : mutex_(mutex) {}
  ScopedMutexRelease(const ScopedMutexRelease&) = delete;
  ScopedMutexRelease& operator=(const ScopedMutexRelease&) = delete;
  ~ScopedMutexRelease() {
    if (mutex_) ReleaseMutex(mutex_);
  }

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace lite

#endif  // BASE_SCOPED_HANDLE_WIN_H_
