#include "ui/main_window/taskbar_progress_win.h"

#include <objbase.h>

#include "logging/log_message.h"

namespace lite {
namespace {

// The SDK's constants live in libuuid as data; these are the same GUIDs.
constexpr CLSID kTaskbarListClsid = {
    0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
constexpr IID kTaskbarList3Iid = {
    0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

}  // namespace

std::unique_ptr<TaskbarProgress> TaskbarProgress::Create() {
  void* taskbar = nullptr;
  const HRESULT result =
      CoCreateInstance(kTaskbarListClsid, nullptr, CLSCTX_ALL, kTaskbarList3Iid, &taskbar);
  if (FAILED(result) || !taskbar) {
    LOG(INFO) << "No taskbar progress: CoCreateInstance answered "
              << static_cast<long>(result);
    return nullptr;
  }
  std::unique_ptr<TaskbarProgress> progress(
      new TaskbarProgress(static_cast<ITaskbarList3*>(taskbar)));
  // The taskbar list takes no other call before it is initialised.
  const HRESULT initialised = progress->taskbar_->HrInit();
  if (FAILED(initialised)) {
    LOG(INFO) << "No taskbar progress: HrInit answered " << static_cast<long>(initialised);
    return nullptr;
  }
  return progress;
}

TaskbarProgress::~TaskbarProgress() { taskbar_->Release(); }

void TaskbarProgress::SetValue(HWND window, int percent) {
  taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(percent), 100);
}

}  // namespace lite
