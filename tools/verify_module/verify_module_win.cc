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
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const bool accepted = lite::VerifyDownloadedModule(lite::FilePath(lite::FromWide(argv[1])));
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
  printf("%s in %.1f ms\n", accepted ? "accepted" : "rejected", ms);
  return accepted ? 0 : 1;
}
