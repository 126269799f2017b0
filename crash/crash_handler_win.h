// Crash capture inside the crashing process: an unhandled-exception filter
// that writes a minidump with the run's crash keys in its annotation stream
// and uploads it at once; a dump that could not be uploaded stays in the
// temporary directory. One handler per process, reachable by the filter
// through a process-wide pointer.
#ifndef CRASH_CRASH_HANDLER_WIN_H_
#define CRASH_CRASH_HANDLER_WIN_H_

#include <windows.h>
#include <dbghelp.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "base/file_path.h"
#include "base/guid.h"
#include "base/scoped_handle_win.h"
#include "crash/crashpad_info.h"

namespace lite {

struct CrashHandlerSettings {
  // The per-user identifier, with or without braces; empty when there is none.
  std::string user_id;
  // Where the dump is written; empty means the current directory.
  FilePath temp_dir;
  // The "ver" crash key: the installer's own version.
  std::string version;
  // Scheme and host of the crash-report collector.
  std::string upload_host;
};

class CrashHandler {
 public:
  // Installs the filter when dbghelp.dll and MiniDumpWriteDump are there,
  // and publishes the handler in the process-wide pointer.
  explicit CrashHandler(const CrashHandlerSettings& settings);
  // Restores the previous filter and clears the process-wide pointer.
  ~CrashHandler();
  CrashHandler(const CrashHandler&) = delete;
  CrashHandler& operator=(const CrashHandler&) = delete;

  // The handler of this process, or null.
  static CrashHandler* Current();

  // Ignored when |name| or |value| is empty; replaces an earlier value.
  void SetCrashKey(const std::string& name, const std::string& value);
  const CrashAnnotations& annotations() const { return annotations_; }
  const FilePath& dump_path() const { return dump_path_; }
  bool filter_installed() const { return dump_function_ != nullptr; }

  // Writes the dump file with the annotations of this moment.
  bool WriteMinidump(EXCEPTION_POINTERS* exception);
  // Uploads the dump file; deletes it when the collector answered 200.
  bool SendReport();

  // Reports an exception with |code| raised at the caller, as the filter
  // would, and ends the process with |code|. For failures that must end
  // the process without unwinding through code that cannot go on.
  [[noreturn]] void TerminateWithReport(uint32_t code);

 private:
  using MiniDumpWriteDumpFunction = decltype(&::MiniDumpWriteDump);
  using SymSetOptionsFunction = decltype(&::SymSetOptions);

  static LONG WINAPI Filter(EXCEPTION_POINTERS* exception);
  // Dump and upload, at most once per process. Another thread that fails
  // meanwhile waits until the report is out before it goes on to end the
  // process.
  void ReportOnce(EXCEPTION_POINTERS* exception);

  Guid client_id_;
  Guid report_id_;
  FilePath dump_path_;
  std::string upload_host_;
  bool upload_after_dump_ = true;
  bool gzip_enabled_ = true;
  CrashAnnotations annotations_;
  ScopedLibrary dbghelp_;
  MiniDumpWriteDumpFunction dump_function_ = nullptr;
  SymSetOptionsFunction set_symbol_options_ = nullptr;
  LPTOP_LEVEL_EXCEPTION_FILTER previous_filter_ = nullptr;
  std::atomic<DWORD> reporting_thread_{0};
  ScopedHandle report_done_;
};

// The process-wide handler's SetCrashKey; nothing without a handler.
void SetCrashKey(const std::string& name, const std::string& value);

// The process-wide handler's TerminateWithReport; without a handler the
// process just ends with |code|.
[[noreturn]] void TerminateThroughCrashHandler(uint32_t code);

}  // namespace lite

#endif  // CRASH_CRASH_HANDLER_WIN_H_
