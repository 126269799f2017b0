// Runs the installer's whole trust check on one file and prints the verdict,
// the time it took and the check's log lines, for measuring it against
// other verifiers of the same file.
//   verify_module.exe FILE
#include <windows.h>

#include <cstdio>
#include <memory>

#include "base/file_path.h"
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: verify_module FILE\n");
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
