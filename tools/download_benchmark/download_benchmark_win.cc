// Downloads one URL through DownloadAttempt into a file and prints the
// throughput and the process's peak working set, for comparing the
// downloader with other HTTP clients against the same server.
//   download_benchmark.exe URL OUTPUT_FILE
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "net/download_attempt_win.h"
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: download_benchmark URL OUTPUT_FILE\n");
    return 2;
  }
  lite::ScopedHandle file(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) {
    fprintf(stderr, "cannot create the output file (%lu)\n", GetLastError());
    return 1;
  }
  lite::FileSink sink(file.get());
  CountingObserver observer;
  lite::DownloadAttemptResult result;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const bool ok = lite::DownloadAttempt(lite::FromWide(argv[1]), &sink, nullptr, &observer,
                                        &result);
  QueryPerformanceCounter(&end);
  const double seconds =
      static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  printf("result=%s error=%s bytes=%u seconds=%.3f mib_per_s=%.1f progress_reports=%llu "
         "peak_working_set_kib=%llu\n",
         ok ? "ok" : "failed", result.error_text.c_str(), sink.bytes_written(), seconds,
         sink.bytes_written() / 1048576.0 / (seconds > 0 ? seconds : 1),
         static_cast<unsigned long long>(observer.reports),
         static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
  return ok ? 0 : 1;
}
