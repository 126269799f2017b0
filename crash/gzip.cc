#include "crash/gzip.h"

#include <zlib.h>

#include <algorithm>

#include "base/debug_log.h"

namespace lite {
namespace {

// 15 bits of window, plus 16 for a gzip header and trailer instead of zlib's.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr size_t kPieceSize = 32768;

}  // namespace

std::optional<std::string> GzipCompress(std::string_view data) {
  z_stream stream = {};
  int result = deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits,
                            kMemoryLevel, Z_DEFAULT_STRATEGY);
  if (result != Z_OK) {
    DLOG(ERROR) << "deflateInit2: " << static_cast<long long>(result);
    return std::nullopt;
  }
  std::string out;
  // zlib counts in 32-bit units: feed the input in pieces.
  size_t consumed = 0;
  do {
    const size_t piece = std::min(kPieceSize, data.size() - consumed);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + consumed));
    stream.avail_in = static_cast<uInt>(piece);
    consumed += piece;
    const int flush = consumed == data.size() ? Z_FINISH : Z_NO_FLUSH;
    do {
      char buffer[kPieceSize];
      stream.next_out = reinterpret_cast<Bytef*>(buffer);
      stream.avail_out = sizeof(buffer);
      result = deflate(&stream, flush);
      if (result == Z_STREAM_ERROR) {
        DLOG(ERROR) << "deflate: " << static_cast<long long>(result);
        deflateEnd(&stream);
        return std::nullopt;
      }
      out.append(buffer, sizeof(buffer) - stream.avail_out);
    } while (stream.avail_out == 0);
  } while (consumed < data.size());
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    DLOG(ERROR) << "deflate did not finish: " << static_cast<long long>(result);
    return std::nullopt;
  }
  return out;
}

}  // namespace lite
