// The progress shown on the window's taskbar button (ITaskbarList3).
#ifndef UI_MAIN_WINDOW_TASKBAR_PROGRESS_WIN_H_
#define UI_MAIN_WINDOW_TASKBAR_PROGRESS_WIN_H_

#include <windows.h>
#include <shobjidl.h>

#include <memory>

namespace lite {

class TaskbarProgress {
 public:
  // None when the system has no taskbar interface (before Windows 7, or
  // COM not started): the taskbar is then simply not updated.
  static std::unique_ptr<TaskbarProgress> Create();
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;
  ~TaskbarProgress();

  void SetValue(HWND window, int percent);

 private:
  explicit TaskbarProgress(ITaskbarList3* taskbar) : taskbar_(taskbar) {}

  ITaskbarList3* taskbar_;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_TASKBAR_PROGRESS_WIN_H_
