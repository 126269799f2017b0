#ifndef NET_FILE_SINK_WIN_H_
#define NET_FILE_SINK_WIN_H_

#include <windows.h>

#include "net/download_sink.h"

namespace lite {

// Writes the body into an open file; the handle stays the caller's.
class FileSink : public DownloadSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}

  bool Write(const char* data, uint32_t count) override;
  // Cuts the file back to nothing.
  bool Reset() override;

 private:
  HANDLE file_;
};

}  // namespace lite

#endif  // NET_FILE_SINK_WIN_H_
