// Downloads one URL into a file and prints the throughput and the process's
// peak working set, for comparing the downloader with other HTTP clients
// against the same server.
//   download_benchmark.exe URL OUTPUT_FILE
//       through DownloadAttempt, with progress reports
//   download_benchmark.exe --bare[=BUFFER_BYTES] URL OUTPUT_FILE
//       through a bare InternetReadFile loop into the file: what WinINet
//       itself can do on this platform, the bound for DownloadAttempt
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "base/scoped_handle_win.h"
#include "base/scoped_internet_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "net/download_attempt_win.h"
#include "net/downloader_win.h"
#include "net/file_sink_win.h"

namespace {

// Progress reports are part of the cost being measured.
class CountingObserver : public lite::DownloadObserver {
 public:
  void OnProgress(float) override { ++reports; }
  void OnSlowDownload() override {}
  void OnRemainingTime(int64_t, int32_t) override {}
  uint64_t reports = 0;
};

struct Outcome {
  bool ok = false;
  std::string error;
  uint64_t bytes = 0;
  uint64_t progress_reports = 0;
};

// As the installer makes it: with a stop event that is never set and an
// observer that counts the progress reports.
Outcome ThroughDownloadAttempt(const wchar_t* url, HANDLE file) {
  lite::FileSink sink(file);
  CountingObserver observer;
  lite::DownloadAttemptResult result;
  lite::ScopedHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  Outcome outcome;
  outcome.ok =
      lite::DownloadAttempt(lite::FromWide(url), &sink, stop.get(), &observer, &result);
  outcome.error = result.error_text;
  outcome.bytes = sink.bytes_written();
  outcome.progress_reports = observer.reports;
  return outcome;
}

// The simplest loop WinINet allows: no progress, no cancel check, no
// bookkeeping, the same open flags as the downloader.
Outcome ThroughBareLoop(const wchar_t* url, HANDLE file, DWORD buffer_size) {
  Outcome outcome;
  lite::ScopedInternetHandle session(
      InternetOpenW(L"benchmark", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  lite::ScopedInternetHandle request(
      session ? InternetOpenUrlW(session.get(), url, nullptr, 0,
                                 INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
              : nullptr);
  if (!request) {
    outcome.error = "open-" + std::to_string(GetLastError());
    return outcome;
  }
  std::unique_ptr<char[]> buffer(new char[buffer_size]);
  for (;;) {
    DWORD received = 0;
    if (!InternetReadFile(request.get(), buffer.get(), buffer_size, &received)) {
      outcome.error = "read-" + std::to_string(GetLastError());
      return outcome;
    }
    if (received == 0) break;
    DWORD written = 0;
    if (!WriteFile(file, buffer.get(), received, &written, nullptr) || written != received) {
      outcome.error = "write-" + std::to_string(GetLastError());
      return outcome;
    }
    outcome.bytes += received;
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD bare_buffer = 0;
  int next = 1;
  if (argc > 1 && wcsncmp(argv[1], L"--bare", 6) == 0) {
    bare_buffer = argv[1][6] == L'=' ? wcstoul(argv[1] + 7, nullptr, 10) : lite::kDownloadBufferSize;
    ++next;
  }
  if (argc - next != 2 || (next == 2 && bare_buffer == 0)) {
    fprintf(stderr, "usage: download_benchmark [--bare[=BUFFER_BYTES]] URL OUTPUT_FILE\n");
    return 2;
  }
  lite::ScopedHandle file(CreateFileW(argv[next + 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) {
    fprintf(stderr, "cannot create the output file (%lu)\n", GetLastError());
    return 1;
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const Outcome outcome = bare_buffer ? ThroughBareLoop(argv[next], file.get(), bare_buffer)
                                      : ThroughDownloadAttempt(argv[next], file.get());
  QueryPerformanceCounter(&end);
  const double seconds =
      static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  printf("result=%s error=%s bytes=%llu seconds=%.3f mib_per_s=%.1f progress_reports=%llu "
         "peak_working_set_kib=%llu\n",
         outcome.ok ? "ok" : "failed", outcome.error.c_str(),
         static_cast<unsigned long long>(outcome.bytes), seconds,
         outcome.bytes / 1048576.0 / (seconds > 0 ? seconds : 1),
         static_cast<unsigned long long>(outcome.progress_reports),
         static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
  return outcome.ok ? 0 : 1;
}
