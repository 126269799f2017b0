#include "crash/crash_handler_win.h"

#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "base/crypto_random.h"
#include "base/debug_log.h"
#include "base/endpoints.h"
#include "base/proc_address_win.h"
#include "base/system_library_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "crash/multipart_body.h"
#include "crash/report_id.h"
#include "crash/report_space_win.h"
#include "crash/winhttp_upload_win.h"
#include "logging/log_message.h"
#include "proxy/internet_settings_win.h"
#include "proxy/proxy_resolver_win.h"
#include "proxy/proxy_server_for_url.h"

namespace lite {
namespace {

// Process-wide: Windows calls the filter with nothing but the exception.
CrashHandler* g_handler = nullptr;

// How long a second failing thread waits for the first one's report: the
// dump and the upload's deadline, with room; a report that hangs beyond
// that must not keep the process alive.
constexpr DWORD kReportWaitMs = 3 * 60 * 1000;

constexpr char kReservedKey[] = "upload_file_minidump";

Guid FromWindowsGuid(const GUID& raw) {
  Guid guid;
  guid.data1 = raw.Data1;
  guid.data2 = raw.Data2;
  guid.data3 = raw.Data3;
  std::memcpy(guid.data4, raw.Data4, sizeof(guid.data4));
  return guid;
}

bool IsZero(const Guid& guid) {
  static constexpr Guid kZero;
  return std::memcmp(&guid, &kZero, sizeof(Guid)) == 0;
}

// The client id: the identifier as a GUID, all zeros when there is none.
Guid ParseClientId(std::string user_id) {
  if (!user_id.empty() && user_id.front() != '{') user_id = "{" + user_id + "}";
  std::u16string wide = UTF8ToUTF16(user_id);
  GUID raw;
  if (user_id.empty() || FAILED(CLSIDFromString(AsWide(wide.data()), &raw))) {
    LOG_FROM(WARNING, "Impl") << "uid not found, use empty";
    return Guid();
  }
  return FromWindowsGuid(raw);
}

// A new random GUID; when none can be made, one of the time, the process
// and the performance counter, so that the dump's name is still this
// process's own.
Guid MakeReportId(const std::function<std::optional<Guid>()>& create_guid) {
  const std::optional<Guid> random = create_guid ? create_guid() : CreateGuid();
  if (random && !IsZero(*random)) return *random;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  DLOG(WARNING) << "No random report id; one of the time and the process is used";
  return FallbackReportId((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime,
                          GetCurrentProcessId(), static_cast<uint64_t>(counter.QuadPart));
}

std::string GuidText(const Guid& guid) { return StripGuidBraces(GuidToString(guid)); }

}  // namespace

CrashHandler::CrashHandler(const CrashHandlerSettings& settings)
    : memory_(sizeof(ReportSpace) + kReportScratchSize),
      client_id_(ParseClientId(settings.user_id)),
      report_id_(MakeReportId(settings.create_guid)),
      report_done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  ReportArena whole(memory_.data(), memory_.size());
  space_ = whole.New<ReportSpace>();
  if (space_) {
    scratch_ = ReportArena(static_cast<char*>(memory_.data()) + whole.used(),
                           memory_.size() - whole.used());
  } else {
    DLOG(ERROR) << "No memory could be reserved for crash reports";
  }

  const std::string report_id = GuidText(report_id_);
  SetCrashKey("uid", GuidText(client_id_));
  SetCrashKey("report_id", report_id);
  SetCrashKey("ver", settings.version);
  SetCrashKey("plat", "Win32");
  SetCrashKey("prod", "Tolvar");
  SetCrashKey("gzip_enabled", gzip_enabled_ ? "true" : "false");

  if (space_) {
    space_->report_name.Set(UTF8ToUTF16(report_id));
    space_->boundary.Set(MakeMultipartBoundary(CryptoRandomBelow));
    space_->submit_url.Set(RouteRequestUrl(settings.upload_host + "/submit"));
  }
  if (settings.temp_dir) SetDumpDirectory(*settings.temp_dir);

  if (settings.capture_crashes && space_) {
    space_->user_agent.Set(UTF8ToUTF16(CrashUploadUserAgent()));
    ChooseUploadRoute();
    dbghelp_.reset(LoadSystemLibrary(L"dbghelp.dll"));
    dump_function_ =
        GetProcAddressAs<MiniDumpWriteDumpFunction>(dbghelp_.get(), "MiniDumpWriteDump");
    set_symbol_options_ =
        GetProcAddressAs<SymSetOptionsFunction>(dbghelp_.get(), "SymSetOptions");
    initialize_symbols_ =
        GetProcAddressAs<SymInitializeFunction>(dbghelp_.get(), "SymInitializeW");
    if (dump_function_) previous_filter_ = SetUnhandledExceptionFilter(&CrashHandler::Filter);
  }
  g_handler = this;
}

CrashHandler::~CrashHandler() {
  // The choice writes into this object. A proxy script's fetch is bounded
  // in time, so this wait is too.
  route_thread_.Join();
  if (dump_function_) SetUnhandledExceptionFilter(previous_filter_);
  if (g_handler == this) g_handler = nullptr;
  if (space_) space_->~ReportSpace();
}

CrashHandler* CrashHandler::Current() { return g_handler; }

void CrashHandler::ChooseUploadRoute() {
  const std::u16string url = UTF8ToUTF16(std::string(space_->submit_url.view()));
  const InternetSettings settings = ReadInternetSettings();
  // A script (or auto-detection, on by default in many installations) is
  // fetched over the network: the run's start does not wait for it.
  if (!settings.script_url.empty() || settings.auto_detect) {
    upload_route_chosen_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (upload_route_chosen_.is_valid() && route_thread_.Start([this, url] {
          route_thread_id_.store(GetCurrentThreadId());
          KeepUploadRoute(url);
          SetEvent(upload_route_chosen_.get());
        })) {
      return;
    }
    DLOG(WARNING) << "No thread for the crash upload's proxy choice; it is made now";
  }
  KeepUploadRoute(url);
}

void CrashHandler::KeepUploadRoute(const std::u16string& url) {
  const std::u16string proxy = ProxyServerForUrl(ChooseProxyForUrl(url), url);
  if (proxy.empty()) {
    upload_route_.store(UploadRoute::kDirect);
    return;
  }
  if (proxy.size() >= ARRAYSIZE(upload_proxy_)) {
    DLOG(ERROR) << "The crash upload's proxy has too long a name: " << UTF16ToUTF8(proxy);
    upload_route_.store(UploadRoute::kUnusable);
    return;
  }
  std::wmemcpy(upload_proxy_, AsWide(proxy), proxy.size() + 1);
  upload_route_.store(UploadRoute::kProxy);
}

bool CrashHandler::UploadProxy(const wchar_t** proxy, ReportLog* log) {
  // The choosing thread itself may be the one that failed: it would wait
  // for itself.
  if (upload_route_.load() == UploadRoute::kChoosing && upload_route_chosen_.is_valid() &&
      route_thread_id_.load() != GetCurrentThreadId()) {
    WaitForSingleObject(upload_route_chosen_.get(), kUploadRouteWaitMs);
  }
  switch (upload_route_.load()) {
    case UploadRoute::kDirect:
      *proxy = nullptr;
      return true;
    case UploadRoute::kProxy:
      *proxy = upload_proxy_;
      return true;
    case UploadRoute::kChoosing:
      *log << "The proxy script had not chosen the collector's proxy within "
           << static_cast<int64_t>(kUploadRouteWaitMs) << " ms: the report is not sent";
      break;
    case UploadRoute::kUnusable:
      *log << "The collector's proxy has too long a name: the report is not sent";
      break;
  }
  log->EndLine();
  return false;
}

void CrashHandler::SetCrashKey(const std::string& name, const std::string& value) {
  if (name.empty() || value.empty() || !space_) return;
  switch (space_->keys.Set(name, value)) {
    case CrashKeyTable::SetResult::kStored:
      break;
    case CrashKeyTable::SetResult::kValueCut:
      DLOG(WARNING) << "Crash key " << name << " cut to "
                    << static_cast<long long>(kMaxCrashKeyValueLength) << " bytes";
      break;
    case CrashKeyTable::SetResult::kNameTooLong:
      DLOG(ERROR) << "Crash key name too long, not kept: " << name;
      break;
    case CrashKeyTable::SetResult::kFull:
      DLOG(ERROR) << "No room for crash key " << name;
      break;
  }
}

CrashAnnotations CrashHandler::annotations() const {
  return space_ ? space_->keys.ToAnnotations() : CrashAnnotations();
}

void CrashHandler::SetDumpDirectory(const FilePath& directory) {
  if (!space_) return;
  const std::u16string name = space_->report_name.text() + u".dmp";
  dump_path_ = directory.Append(name);
  space_->has_dump_directory = space_->dump_directory.Set(directory.value());
  if (!space_->has_dump_directory) {
    DLOG(ERROR) << "The dump folder's path is too long; no dump will be written";
    dump_path_ = FilePath();
  }
}

void CrashHandler::ClearDumpDirectory() {
  if (space_) space_->has_dump_directory = false;
  dump_path_ = FilePath();
}

const CrashKeyList& CrashHandler::ReportKeys() {
  if (!report_keys_) report_keys_ = scratch_.New<CrashKeyList>(space_->keys.Sorted());
  // Without room for a copy the report goes on without keys.
  static const CrashKeyList kNoKeys;
  return report_keys_ ? *report_keys_ : kNoKeys;
}

void CrashHandler::ReportOnce(EXCEPTION_POINTERS* exception) {
  DWORD no_report = 0;
  const DWORD thread = GetCurrentThreadId();
  if (!reporting_thread_.compare_exchange_strong(no_report, thread)) {
    if (no_report == thread) {
      // A failure inside the report itself: the report ends here, and
      // whoever waits for it goes on.
      if (report_done_.is_valid()) SetEvent(report_done_.get());
    } else if (report_done_.is_valid()) {
      WaitForSingleObject(report_done_.get(), kReportWaitMs);
    }
    return;
  }
  if (WriteMinidump(exception) && upload_after_dump_) {
    if (upload_allowed_.load()) {
      SendReport();
    } else {
      space_->log << "The user chose not to send statistics: the dump is not sent";
      space_->log.EndLine();
    }
  }
  dump_file_.reset();
  if (report_done_.is_valid()) SetEvent(report_done_.get());
  crash_code_ = exception && exception->ExceptionRecord
                    ? exception->ExceptionRecord->ExceptionCode
                    : EXCEPTION_NONCONTINUABLE_EXCEPTION;
  WriteReportDiagnostics();
}

void CrashHandler::EndWithCrashCode() {
  const CrashHandler* handler = g_handler;
  TerminateProcess(GetCurrentProcess(),
                   handler ? handler->crash_code_ : EXCEPTION_NONCONTINUABLE_EXCEPTION);
}

void CrashHandler::WriteReportDiagnostics() {
  // An exception thrown here cannot be caught: this runs inside the
  // exception's dispatch. An allocation that fails ends the process, as the
  // crash would have ended it a moment later.
  std::set_new_handler(&CrashHandler::EndWithCrashCode);
  space_->log.ForEachLine([](std::string_view line) { DLOG(ERROR) << std::string(line); });
  if (report_keys_ && sent_fields_) {
    if (const std::string_view* value = report_keys_->Find(kReservedKey)) {
      LOG_FROM(WARNING, "SendReport")
          << "reserved key " << kReservedKey << ", discarding value " << std::string(*value);
    }
  }
}

LONG WINAPI CrashHandler::Filter(EXCEPTION_POINTERS* exception) {
  CrashHandler* handler = g_handler;
  if (!handler) return EXCEPTION_CONTINUE_SEARCH;
  handler->ReportOnce(exception);
  if (handler->previous_filter_) return handler->previous_filter_(exception);
  return EXCEPTION_CONTINUE_SEARCH;
}

void CrashHandler::TerminateWithReport(uint32_t code) {
  CONTEXT context = {};
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
#if defined(_WIN64)
  record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
#else
  record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
#endif
  EXCEPTION_POINTERS pointers = {&record, &context};
  if (dump_function_) ReportOnce(&pointers);
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);  // TerminateProcess of the own process does not return
}

void SetCrashKey(const std::string& name, const std::string& value) {
  if (CrashHandler* handler = CrashHandler::Current()) handler->SetCrashKey(name, value);
}

void SetCrashDumpDirectory(const FilePath& directory) {
  if (CrashHandler* handler = CrashHandler::Current()) handler->SetDumpDirectory(directory);
}

void ClearCrashDumpDirectory() {
  if (CrashHandler* handler = CrashHandler::Current()) handler->ClearDumpDirectory();
}

void SetCrashUploadAllowed(bool allowed) {
  if (CrashHandler* handler = CrashHandler::Current()) handler->SetUploadAllowed(allowed);
}

void TerminateThroughCrashHandler(uint32_t code) {
  if (CrashHandler* handler = CrashHandler::Current()) handler->TerminateWithReport(code);
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);
}

}  // namespace lite
