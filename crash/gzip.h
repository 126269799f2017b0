// gzip compression of an upload body through zlib.
#ifndef CRASH_GZIP_H_
#define CRASH_GZIP_H_

#include <zlib.h>

#include <optional>
#include <string>
#include <string_view>

#include "crash/byte_sink.h"
#include "crash/report_arena.h"

namespace lite {

// One gzip member (deflate, default level, window bits 31, memory level 8)
// written piece by piece into a fixed buffer. With an arena, zlib's state
// comes from it and nothing touches the heap.
class GzipStream : public ByteSink {
 public:
  // |memory| may be null (zlib allocates on the heap then); |out| must
  // outlive the stream.
  GzipStream(ReportArena* memory, FixedWriter* out);
  ~GzipStream() override;
  GzipStream(const GzipStream&) = delete;
  GzipStream& operator=(const GzipStream&) = delete;

  // False once zlib failed or |out| is full.
  bool Append(std::string_view bytes) override;
  // Ends the member; true when all of it fit into |out|.
  bool Finish();

 private:
  bool Deflate(int flush);

  z_stream stream_ = {};
  FixedWriter* out_;
  bool initialized_ = false;
  bool ok_ = false;
};

// |data| as one gzip member; nothing when zlib fails.
std::optional<std::string> GzipCompress(std::string_view data);

}  // namespace lite

#endif  // CRASH_GZIP_H_
