#include "crash/crash_handler_win.h"

#include <objbase.h>

#include <cstring>

#include "base/proc_address_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

// Process-wide: Windows calls the filter with nothing but the exception.
CrashHandler* g_handler = nullptr;

// How long a second failing thread waits for the first one's report: the
// upload's own time-outs, with room; a report that hangs beyond that must not
// keep the process alive.
constexpr DWORD kReportWaitMs = 3 * 60 * 1000;

Guid FromWindowsGuid(const GUID& raw) {
  Guid guid;
  guid.data1 = raw.Data1;
  guid.data2 = raw.Data2;
  guid.data3 = raw.Data3;
  std::memcpy(guid.data4, raw.Data4, sizeof(guid.data4));
  return guid;
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

std::string GuidText(const Guid& guid) { return StripGuidBraces(GuidToString(guid)); }

}  // namespace

CrashHandler::CrashHandler(const CrashHandlerSettings& settings)
    : client_id_(ParseClientId(settings.user_id)),
      report_id_(CreateGuid().value_or(Guid())),
      upload_host_(settings.upload_host),
      report_done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  annotations_["uid"] = GuidText(client_id_);
  annotations_["report_id"] = GuidText(report_id_);
  annotations_["ver"] = settings.version;
  annotations_["plat"] = "Win32";
  annotations_["prod"] = "Tolvar";
  annotations_["gzip_enabled"] = gzip_enabled_ ? "true" : "false";
  dump_path_ = settings.temp_dir.Append(UTF8ToUTF16(annotations_["report_id"] + ".dmp"));

  dbghelp_.reset(LoadLibraryW(L"dbghelp.dll"));
  dump_function_ =
      GetProcAddressAs<MiniDumpWriteDumpFunction>(dbghelp_.get(), "MiniDumpWriteDump");
  set_symbol_options_ = GetProcAddressAs<SymSetOptionsFunction>(dbghelp_.get(), "SymSetOptions");
  if (dump_function_) previous_filter_ = SetUnhandledExceptionFilter(&CrashHandler::Filter);
  g_handler = this;
}

CrashHandler::~CrashHandler() {
  if (dump_function_) SetUnhandledExceptionFilter(previous_filter_);
  if (g_handler == this) g_handler = nullptr;
}

CrashHandler* CrashHandler::Current() { return g_handler; }

void CrashHandler::SetCrashKey(const std::string& name, const std::string& value) {
  if (name.empty() || value.empty()) return;
  annotations_[name] = value;
}

void CrashHandler::ReportOnce(EXCEPTION_POINTERS* exception) {
  DWORD no_report = 0;
  const DWORD thread = GetCurrentThreadId();
  if (!reporting_thread_.compare_exchange_strong(no_report, thread)) {
    // A failure inside the report itself goes on at once.
    if (no_report != thread && report_done_.is_valid()) {
      WaitForSingleObject(report_done_.get(), kReportWaitMs);
    }
    return;
  }
  if (WriteMinidump(exception) && upload_after_dump_) SendReport();
  if (report_done_.is_valid()) SetEvent(report_done_.get());
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

void TerminateThroughCrashHandler(uint32_t code) {
  if (CrashHandler* handler = CrashHandler::Current()) handler->TerminateWithReport(code);
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);
}

}  // namespace lite
