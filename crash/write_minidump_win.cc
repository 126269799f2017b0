// CrashHandler::WriteMinidump: the dump file with the annotation stream,
// whose offsets are made absolute in the file once the dump writer has
// placed it. The file stays open: the upload reads it, and deletes it,
// through the same handle, so nothing can be put in its place by name.
#include <windows.h>
#include <dbghelp.h>

#include "crash/crash_handler_win.h"
#include "crash/report_space_win.h"

namespace lite {
namespace {

// Names tried after "<id>.dmp" is taken: "<id>-1.dmp" ... "<id>-9.dmp".
constexpr int kOtherNames = 9;

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

// |directory|\|name|[-attempt].dmp, zero-terminated, into |out|; false when
// it does not fit.
bool DumpFileName(std::u16string_view directory, std::u16string_view name, int attempt,
                  char16_t* out, size_t capacity) {
  size_t at = 0;
  auto put = [&](std::u16string_view text) {
    if (text.size() >= capacity - at) return false;
    for (char16_t c : text) out[at++] = c;
    return true;
  };
  const bool separated =
      directory.empty() || directory.back() == u'\\' || directory.back() == u'/';
  const char16_t suffix[3] = {u'-', static_cast<char16_t>(u'0' + attempt), 0};
  if (!put(directory) || !put(separated ? u"" : u"\\") || !put(name) ||
      !put(attempt > 0 ? std::u16string_view(suffix, 2) : u"") || !put(u".dmp")) {
    return false;
  }
  out[at] = 0;
  return true;
}

}  // namespace

bool CrashHandler::WriteMinidump(EXCEPTION_POINTERS* exception) {
  if (!dump_function_ || !space_) return false;
  ReportLog& log = space_->log;
  if (!space_->has_dump_directory) {
    log << "No folder for the dump";
    log.EndLine();
    return false;
  }
  constexpr size_t kPathCapacity = 1100;
  auto* path = static_cast<char16_t*>(scratch_.Allocate(kPathCapacity * sizeof(char16_t)));
  if (!path) return false;
  // A name that is taken (an earlier dump, or a file put there) is left
  // alone, and the next one tried.
  dump_file_.reset();
  for (int attempt = 0; attempt <= kOtherNames && !dump_file_.is_valid(); ++attempt) {
    if (!DumpFileName(space_->dump_directory.view(), space_->report_name.view(), attempt, path,
                      kPathCapacity)) {
      break;
    }
    dump_file_.reset(CreateFileW(reinterpret_cast<const wchar_t*>(path),
                                 GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!dump_file_.is_valid() && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  if (!dump_file_.is_valid()) {
    log << "CreateFile of the dump failed: " << static_cast<int64_t>(GetLastError());
    log.EndLine();
    return false;
  }

  // A snapshot: other threads may still set keys while the dump is written.
  const CrashKeyList& keys = ReportKeys();
  const size_t stream_size = CrashpadInfoStreamSize(keys);
  char* stream = static_cast<char*>(scratch_.Allocate(stream_size));
  if (!stream) {
    log << "No memory for the annotation stream";
    log.EndLine();
    return false;
  }
  FixedWriter stream_writer(stream, stream_size);
  if (!WriteCrashpadInfoStream(report_id_, client_id_, keys, &stream_writer)) return false;

  // A dump needs no symbols. Some dbghelp implementations (Wine's) read
  // every module's debug information while writing one unless told to
  // defer it, which takes many seconds.
  if (set_symbol_options_) set_symbol_options_(SYMOPT_DEFERRED_LOADS);
  // Nor does it need the module list read for symbols. Wine's dump writer,
  // finding no symbol handler, makes one that reads it, and that one fails
  // (87) wherever Wine cannot find its own loader's debug information, as
  // under an emulator: then no dump is written. A handler that reads no
  // modules is made anywhere; the dump writer lists the modules itself.
  if (initialize_symbols_ && !initialize_symbols_(GetCurrentProcess(), nullptr, FALSE)) {
    log << "SymInitialize failed: " << static_cast<int64_t>(GetLastError());
    log.EndLine();
  }

  MINIDUMP_EXCEPTION_INFORMATION exception_information = {};
  exception_information.ThreadId = GetCurrentThreadId();
  exception_information.ExceptionPointers = exception;
  exception_information.ClientPointers = FALSE;
  MINIDUMP_USER_STREAM user_stream = {};
  user_stream.Type = kCrashpadInfoStreamType;
  user_stream.BufferSize = static_cast<ULONG>(stream_writer.size());
  user_stream.Buffer = stream;
  MINIDUMP_USER_STREAM_INFORMATION user_streams = {1, &user_stream};
  if (!dump_function_(GetCurrentProcess(), GetCurrentProcessId(), dump_file_.get(),
                      MiniDumpWithIndirectlyReferencedMemory, &exception_information,
                      &user_streams, nullptr)) {
    log << "MiniDumpWriteDump failed: " << static_cast<int64_t>(GetLastError());
    log.EndLine();
    return false;
  }

  FileDumpBytes bytes(dump_file_.get());
  const FixUpResult fixed = FixUpCrashpadInfoOffsets(bytes, static_cast<uint32_t>(keys.size()));
  if (fixed != FixUpResult::kFixed) {
    log << "The annotation stream could not be fixed up: " << static_cast<int64_t>(fixed);
    log.EndLine();
    return false;
  }
  return true;
}

}  // namespace lite
