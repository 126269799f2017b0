#include <windows.h>

#include <atomic>
#include <mutex>

#include "base/debug_log.h"
#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"

namespace lite {
namespace {

constexpr uint64_t kMaxDebugLogSize = 1073741824;  // 1 GiB

// Process-wide by nature: the file is one per process, chosen once.
std::atomic<bool> g_disabled{false};

// Chosen on first use: beside the executable, else the current directory,
// else nowhere (empty).
FilePath ChooseDebugLogPath() {
  const FilePath beside = GetExecutablePath().DirName().Append(u"debug.log");
  const FilePath current(u"debug.log");
  for (const FilePath& candidate : {beside, current}) {
    const std::optional<uint64_t> size = GetFileSize(candidate);
    if (size && *size > kMaxDebugLogSize) DeleteFileIfExists(candidate);
    if (OpenFileForAppend(candidate)) return candidate;
  }
  return FilePath();
}

}  // namespace

void DisableDebugLog() { g_disabled = true; }

void WriteDebugLog(DebugLogSeverity severity, const char* file, int line,
                   const std::string& message) {
  // Checked before the path is chosen: choosing it already deletes and
  // creates files.
  if (g_disabled) return;
  static const FilePath path = ChooseDebugLogPath();
  if (path.empty()) return;
  SYSTEMTIME local;
  GetLocalTime(&local);
  const CivilTime t = {local.wYear,   local.wMonth,  local.wDay,         local.wHour,
                       local.wMinute, local.wSecond, local.wMilliseconds};
  const std::string text = FormatDebugLogLine(t, severity, file, line, message);
  static std::mutex lock;  // one write at a time within the process
  std::lock_guard<std::mutex> hold(lock);
  ScopedHandle out = OpenFileForAppend(path);
  DWORD written = 0;
  if (out) WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace lite
