// Where a download's body goes. The byte counter is also the resume point:
// a transfer into a sink that already holds bytes continues after them.
#ifndef NET_DOWNLOAD_SINK_H_
#define NET_DOWNLOAD_SINK_H_

#include <cstdint>

namespace lite {

class DownloadSink {
 public:
  DownloadSink() = default;
  DownloadSink(const DownloadSink&) = delete;
  DownloadSink& operator=(const DownloadSink&) = delete;
  virtual ~DownloadSink() = default;

  // True only when all |count| bytes were stored; the counter then grows by
  // |count|.
  virtual bool Write(const char* data, uint32_t count) = 0;
  // Empties the destination and sets the counter to 0.
  virtual bool Reset() = 0;

  uint32_t bytes_written() const { return bytes_written_; }
  // Whether a Write was refused because the destination holds all it may.
  bool full() const { return full_; }

 protected:
  uint32_t bytes_written_ = 0;
  bool full_ = false;
};

}  // namespace lite

#endif  // NET_DOWNLOAD_SINK_H_
