// Crash capture inside the crashing process: an unhandled-exception filter
// that writes a minidump with the run's crash keys in its annotation stream
// and uploads it at once; a dump that could not be uploaded stays where it
// was written. One handler per process, reachable by the filter through a
// process-wide pointer.
//
// The report is made in a process that may have crashed because its heap
// was corrupted or used up, so it does not use the heap: the keys live in a
// fixed table and the dump's annotation stream, the upload's body and its
// compression are made in memory reserved when the handler is made. What
// the report notes for the diagnostics file is written only once the report
// is out.
#ifndef CRASH_CRASH_HANDLER_WIN_H_
#define CRASH_CRASH_HANDLER_WIN_H_

#include <windows.h>
#include <dbghelp.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "base/guid.h"
#include "base/scoped_handle_win.h"
#include "base/thread_win.h"
#include "crash/crash_key_table.h"
#include "crash/crashpad_info.h"
#include "crash/report_arena.h"
#include "crash/report_log.h"
#include "crash/reserved_memory_win.h"

namespace lite {

// A dump larger than this is not uploaded (it stays where it was written).
inline constexpr uint64_t kMaxUploadedDumpSize = 32u << 20;
// The upload's body, compressed, must fit into this much reserved memory.
inline constexpr size_t kMaxUploadBodySize = 8u << 20;
// How long a report waits for the proxy choice of a proxy script that is
// still running when the process fails.
inline constexpr DWORD kUploadRouteWaitMs = 20000;

struct CrashHandlerSettings {
  // The per-user identifier, with or without braces; empty when there is none.
  std::string user_id;
  // Where the dump is written; empty means the current directory. None: no
  // dump is written until SetDumpDirectory names a folder.
  std::optional<FilePath> temp_dir;
  // The "ver" crash key: the installer's own version.
  std::string version;
  // Scheme and host of the crash-report collector.
  std::string upload_host;
  // False in a process that is about to end without doing any work of its
  // own: dbghelp.dll is not loaded then, and no filter is installed.
  bool capture_crashes = true;
  // Where the report id comes from; CoCreateGuid when empty.
  std::function<std::optional<Guid>()> create_guid;
};

class CrashHandler {
 public:
  // Installs the filter when dbghelp.dll and MiniDumpWriteDump are there
  // and the report's memory could be reserved, and publishes the handler in
  // the process-wide pointer.
  explicit CrashHandler(const CrashHandlerSettings& settings);
  // Restores the previous filter and clears the process-wide pointer.
  ~CrashHandler();
  CrashHandler(const CrashHandler&) = delete;
  CrashHandler& operator=(const CrashHandler&) = delete;

  // The handler of this process, or null.
  static CrashHandler* Current();

  // Ignored when |name| or |value| is empty; replaces an earlier value.
  void SetCrashKey(const std::string& name, const std::string& value);
  CrashAnnotations annotations() const;
  // Where the dump is written when that name is free; empty while there is
  // no folder for dumps.
  const FilePath& dump_path() const { return dump_path_; }
  bool filter_installed() const { return dump_function_ != nullptr; }

  // Later dumps go into |directory|; after ClearDumpDirectory, nowhere.
  void SetDumpDirectory(const FilePath& directory);
  void ClearDumpDirectory();
  // Whether a dump may be sent: the user's choice about statistics. A dump
  // that may not be sent is still written.
  void SetUploadAllowed(bool allowed) { upload_allowed_.store(allowed); }

  // Writes the dump file with the annotations of this moment and keeps it
  // open for SendReport.
  bool WriteMinidump(EXCEPTION_POINTERS* exception);
  // Uploads the dump written last; deletes it through its handle when the
  // collector answered 200.
  bool SendReport();

  // Reports an exception with |code| raised at the caller, as the filter
  // would, and ends the process with |code|. For failures that must end
  // the process without unwinding through code that cannot go on.
  [[noreturn]] void TerminateWithReport(uint32_t code);

 private:
  using MiniDumpWriteDumpFunction = decltype(&::MiniDumpWriteDump);
  using SymSetOptionsFunction = decltype(&::SymSetOptions);
  using SymInitializeFunction = decltype(&::SymInitializeW);
  struct ReportSpace;
  // Where the upload goes, known before any crash.
  enum class UploadRoute { kChoosing, kDirect, kProxy, kUnusable };

  static LONG WINAPI Filter(EXCEPTION_POINTERS* exception);
  // Dump and upload, at most once per process. Another thread that fails
  // meanwhile waits until the report is out before it goes on to end the
  // process.
  void ReportOnce(EXCEPTION_POINTERS* exception);
  // The keys of the report being made, taken once per report.
  const CrashKeyList& ReportKeys();
  bool ReadDumpInto(ByteSink* body, ReportLog* log);
  // Writes what the report noted, once it is out. This is the one part of
  // a report that uses the heap.
  void WriteReportDiagnostics();
  // The new-handler while the diagnostics are written.
  static void EndWithCrashCode();
  // Chooses the proxy of the collector's URL as the user's Internet
  // settings say: at once when that costs no more than reading them, on
  // route_thread_ when a proxy script must be fetched and run.
  void ChooseUploadRoute();
  void KeepUploadRoute(const std::u16string& url);
  // The proxy the report goes through (null: direct); false, noted, when
  // it is not known.
  bool UploadProxy(const wchar_t** proxy, ReportLog* log);

  ReservedMemory memory_;
  ReportSpace* space_ = nullptr;  // in memory_
  ReportArena scratch_;           // the rest of memory_, for one report
  Guid client_id_;
  Guid report_id_;
  FilePath dump_path_;
  bool upload_after_dump_ = true;
  bool gzip_enabled_ = true;
  std::atomic<bool> upload_allowed_{true};
  ScopedLibrary dbghelp_;
  MiniDumpWriteDumpFunction dump_function_ = nullptr;
  SymSetOptionsFunction set_symbol_options_ = nullptr;
  SymInitializeFunction initialize_symbols_ = nullptr;
  LPTOP_LEVEL_EXCEPTION_FILTER previous_filter_ = nullptr;
  std::atomic<DWORD> reporting_thread_{0};
  ScopedHandle report_done_;
  // The dump being reported, open with delete access.
  ScopedHandle dump_file_;
  CrashKeyList* report_keys_ = nullptr;
  // SendReport got as far as the form fields.
  bool sent_fields_ = false;
  // The exception code of the crash being reported.
  DWORD crash_code_ = 0;
  // "host:port" of the proxy when upload_route_ is kProxy; written before
  // upload_route_ leaves kChoosing, never after.
  wchar_t upload_proxy_[256] = {};
  std::atomic<UploadRoute> upload_route_{UploadRoute::kChoosing};
  // Set once a choice made on route_thread_ is kept.
  ScopedHandle upload_route_chosen_;
  std::atomic<DWORD> route_thread_id_{0};
  Thread route_thread_;
};

// The process-wide handler's SetCrashKey; nothing without a handler.
void SetCrashKey(const std::string& name, const std::string& value);

// The process-wide handler's SetDumpDirectory, ClearDumpDirectory and
// SetUploadAllowed; nothing without a handler.
void SetCrashDumpDirectory(const FilePath& directory);
void ClearCrashDumpDirectory();
void SetCrashUploadAllowed(bool allowed);

// The process-wide handler's TerminateWithReport; without a handler the
// process just ends with |code|.
[[noreturn]] void TerminateThroughCrashHandler(uint32_t code);

}  // namespace lite

#endif  // CRASH_CRASH_HANDLER_WIN_H_
