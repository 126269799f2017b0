#ifndef INSTALLER_RUN_UI_RUNTIME_WIN_H_
#define INSTALLER_RUN_UI_RUNTIME_WIN_H_

#include <cstdint>

namespace lite {

// COM, the common controls and GDI+ for the installation path, started in
// that order and ended in reverse.
//
// Start it while no other thread of the process loads libraries. Its first
// window call runs the window system's one-time start for the process,
// which loads the display driver and then takes the loader lock again; a
// thread that meanwhile holds the loader lock in the DllMain of a library
// that registers window classes (the common controls do) waits for that
// one-time start, and neither goes on.
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
