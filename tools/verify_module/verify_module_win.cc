// Runs the installer's whole trust check on one file and prints the verdict,
// the time it took and the check's log lines, for measuring it against
// other verifiers of the same file.
//   verify_module.exe FILE
// With --flip-each, checks one copy of FILE per offset listed in
// OFFSETS_FILE (decimal, one a line), each with the byte at that offset
// inverted, all in this one process, and prints "OFFSET accepted" or
// "OFFSET rejected: " and the check's first error line.
//   verify_module.exe --flip-each OFFSETS_FILE FILE
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <sstream>
#include <string>

#include "base/file_path.h"
#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_severity.h"
#include "logging/logger.h"
#include "trust/module_trust_win.h"

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

class ConsoleLogger : public lite::Logger {
 public:
  void Emit(const lite::LogRecord& record) override {
    fprintf(stderr, "%s: %s (%s)\n", lite::LogSeverityName(record.severity),
            record.message.c_str(), record.function);
  }
};

// Keeps the first error line of each check, which names the step that
// refused the file, instead of printing them all.
class FirstErrorLogger : public lite::Logger {
 public:
  void Emit(const lite::LogRecord& record) override {
    if (record.severity == lite::LOGSEV_ERROR && first_error.empty()) {
      first_error = record.message;
    }
  }
  std::string first_error;
};

int FlipEach(const wchar_t* offsets_path, const wchar_t* module_path) {
  const lite::FilePath module(lite::FromWide(module_path));
  const std::string original = lite::ReadFileWithLimit(module, 1 << 30).value_or("");
  std::istringstream offsets(
      lite::ReadFileWithLimit(lite::FilePath(lite::FromWide(offsets_path)), 1 << 24).value_or(""));
  if (original.empty() || offsets.str().empty()) {
    fprintf(stderr, "cannot read the module or the offsets\n");
    return 2;
  }
  auto owned = std::make_unique<FirstErrorLogger>();
  FirstErrorLogger* logger = owned.get();
  lite::SetGlobalLogger(std::move(owned));
  const std::u16string copy_base = module.value() + u".flipped";
  int checked = 0;
  for (unsigned long long offset; offsets >> offset; ++checked) {
    if (offset >= original.size()) {
      printf("%llu outside the file\n", offset);
      continue;
    }
    std::string bytes = original;
    bytes[offset] = static_cast<char>(~bytes[offset]);
    // A new name for every copy: nothing of an earlier check can apply.
    const lite::FilePath copy(copy_base + lite::UTF8ToUTF16(std::to_string(checked)) + u".exe");
    if (!lite::WriteWholeFile(copy, bytes)) {
      printf("%llu cannot write the copy\n", offset);
      continue;
    }
    logger->first_error.clear();
    const bool accepted = lite::VerifyDownloadedModule(copy);
    lite::DeleteFileIfExists(copy);
    if (accepted) {
      printf("%llu accepted\n", offset);
    } else {
      printf("%llu rejected: %s\n", offset, logger->first_error.c_str());
    }
    fflush(stdout);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && wcscmp(argv[1], L"--flip-each") == 0) return FlipEach(argv[2], argv[3]);
  if (argc != 2) {
    fprintf(stderr, "usage: verify_module FILE | verify_module --flip-each OFFSETS_FILE FILE\n");
    return 2;
  }
  lite::SetGlobalLogger(std::make_unique<ConsoleLogger>());
  const lite::FilePath path(lite::FromWide(argv[1]));
  LARGE_INTEGER start, verified, document_read;
  QueryPerformanceCounter(&start);
  const bool accepted = lite::VerifyDownloadedModule(path);
  QueryPerformanceCounter(&verified);
  // The trust document's part of that, measured again on its own.
  lite::GetTrustJsonFromModule(path);
  QueryPerformanceCounter(&document_read);
  printf("%s in %.1f ms (trust document %.1f ms)\n", accepted ? "accepted" : "rejected",
         Milliseconds(start, verified), Milliseconds(verified, document_read));
  return accepted ? 0 : 1;
}
