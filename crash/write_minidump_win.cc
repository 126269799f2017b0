// CrashHandler::WriteMinidump: the dump file with the annotation stream,
// whose offsets are made absolute in the file once the dump writer has
// placed it.
#include <windows.h>
#include <dbghelp.h>

#include "base/debug_log.h"
#include "base/wide_string_win.h"
#include "crash/crash_handler_win.h"

namespace lite {
namespace {

class FileDumpBytes : public DumpBytes {
 public:
  explicit FileDumpBytes(HANDLE file) : file_(file) {}

  bool ReadAt(uint64_t offset, void* data, size_t size) override {
    DWORD done = 0;
    return Seek(offset) && ReadFile(file_, data, static_cast<DWORD>(size), &done, nullptr) &&
           done == size;
  }
  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    DWORD done = 0;
    return Seek(offset) && WriteFile(file_, data, static_cast<DWORD>(size), &done, nullptr) &&
           done == size;
  }

 private:
  bool Seek(uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN);
  }

  HANDLE file_;
};

}  // namespace

bool CrashHandler::WriteMinidump(EXCEPTION_POINTERS* exception) {
  if (!dump_function_) return false;
  ScopedHandle file(CreateFileW(AsWide(dump_path_.value()), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) {
    DLOG(ERROR) << "CreateFile of the dump failed: " << static_cast<long long>(GetLastError());
    return false;
  }
  // A snapshot: other threads may still set keys while the dump is written.
  const CrashAnnotations annotations = annotations_;
  std::string stream = BuildCrashpadInfoStream(report_id_, client_id_, annotations);

  // A dump needs no symbols. Some dbghelp implementations (Wine's) read
  // every module's debug information while writing one unless told to
  // defer it, which takes many seconds.
  if (set_symbol_options_) set_symbol_options_(SYMOPT_DEFERRED_LOADS);

  MINIDUMP_EXCEPTION_INFORMATION exception_information = {};
  exception_information.ThreadId = GetCurrentThreadId();
  exception_information.ExceptionPointers = exception;
  exception_information.ClientPointers = FALSE;
  MINIDUMP_USER_STREAM user_stream = {};
  user_stream.Type = kCrashpadInfoStreamType;
  user_stream.BufferSize = static_cast<ULONG>(stream.size());
  user_stream.Buffer = stream.data();
  MINIDUMP_USER_STREAM_INFORMATION user_streams = {1, &user_stream};
  if (!dump_function_(GetCurrentProcess(), GetCurrentProcessId(), file.get(),
                      MiniDumpWithIndirectlyReferencedMemory, &exception_information,
                      &user_streams, nullptr)) {
    DLOG(ERROR) << "MiniDumpWriteDump failed: " << static_cast<long long>(GetLastError());
    return false;
  }

  FileDumpBytes bytes(file.get());
  const FixUpResult fixed =
      FixUpCrashpadInfoOffsets(bytes, static_cast<uint32_t>(annotations.size()));
  if (fixed != FixUpResult::kFixed) {
    DLOG(ERROR) << "The annotation stream could not be fixed up: "
                << static_cast<long long>(fixed);
    return false;
  }
  return true;
}

}  // namespace lite
