#include "crash/gzip.h"

#include <algorithm>
#include <climits>

#include "base/debug_log.h"

namespace lite {
namespace {

// 15 bits of window, plus 16 for a gzip header and trailer instead of zlib's.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
// zlib counts in 32-bit units: input and output go in pieces.
constexpr size_t kPieceSize = size_t{1} << 30;

voidpf ArenaAlloc(voidpf opaque, uInt items, uInt size) {
  if (size != 0 && items > SIZE_MAX / size) return Z_NULL;
  return static_cast<ReportArena*>(opaque)->Allocate(size_t{items} * size);
}

// Arena memory is given back all at once, after the report.
void ArenaFree(voidpf, voidpf) {}

}  // namespace

GzipStream::GzipStream(ReportArena* memory, FixedWriter* out) : out_(out) {
  if (memory) {
    stream_.zalloc = &ArenaAlloc;
    stream_.zfree = &ArenaFree;
    stream_.opaque = memory;
  }
  initialized_ = deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits,
                              kMemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK;
  ok_ = initialized_;
}

GzipStream::~GzipStream() {
  if (initialized_) deflateEnd(&stream_);
}

bool GzipStream::Deflate(int flush) {
  for (;;) {
    const size_t room = std::min(out_->free_size(), kPieceSize);
    stream_.next_out = reinterpret_cast<Bytef*>(out_->free_space());
    stream_.avail_out = static_cast<uInt>(room);
    const int result = deflate(&stream_, flush);
    out_->Commit(room - stream_.avail_out);
    if (result == Z_STREAM_ERROR) return false;
    if (flush == Z_FINISH && result == Z_STREAM_END) return true;
    if (stream_.avail_out != 0 && stream_.avail_in == 0 && flush != Z_FINISH) return true;
    // No room left while zlib still has output: the body does not fit.
    if (out_->free_size() == 0) {
      out_->MarkOverflowed();
      return false;
    }
  }
}

bool GzipStream::Append(std::string_view bytes) {
  while (ok_ && !bytes.empty()) {
    const size_t piece = std::min(bytes.size(), kPieceSize);
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream_.avail_in = static_cast<uInt>(piece);
    ok_ = Deflate(Z_NO_FLUSH);
    bytes.remove_prefix(piece);
  }
  return ok_;
}

bool GzipStream::Finish() {
  if (!ok_) return false;
  stream_.next_in = Z_NULL;
  stream_.avail_in = 0;
  ok_ = Deflate(Z_FINISH);
  return ok_;
}

std::optional<std::string> GzipCompress(std::string_view data) {
  // Stored blocks at worst: 5 bytes per 16 KiB block, the gzip wrapper and
  // room to spare.
  std::string out(data.size() + data.size() / 16384 * 5 + 64, '\0');
  FixedWriter writer(out.data(), out.size());
  GzipStream gzip(nullptr, &writer);
  if (!gzip.Append(data) || !gzip.Finish()) {
    DLOG(ERROR) << "deflate failed";
    return std::nullopt;
  }
  out.resize(writer.size());
  return out;
}

}  // namespace lite
