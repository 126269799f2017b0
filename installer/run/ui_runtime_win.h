#ifndef INSTALLER_RUN_UI_RUNTIME_WIN_H_
#define INSTALLER_RUN_UI_RUNTIME_WIN_H_

#include <cstdint>

namespace lite {

// COM, the common controls and GDI+ for the installation path, started in
// that order and ended in reverse.
class ScopedUiRuntime {
 public:
  ScopedUiRuntime();
  ScopedUiRuntime(const ScopedUiRuntime&) = delete;
  ScopedUiRuntime& operator=(const ScopedUiRuntime&) = delete;
  ~ScopedUiRuntime();

 private:
  bool com_initialized_ = false;
  uintptr_t gdiplus_token_ = 0;
};

}  // namespace lite

#endif  // INSTALLER_RUN_UI_RUNTIME_WIN_H_
