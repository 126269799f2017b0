#include "crash/http_chunks.h"

#include <algorithm>
#include <cstdio>

namespace lite {

void AppendHttpChunk(std::string_view piece, std::string* out) {
  char size[2 * sizeof(size_t) + 1];
  std::snprintf(size, sizeof(size), "%zx", piece.size());
  *out += size;
  *out += "\r\n";
  out->append(piece);
  // The last chunk has no data, and its CRLF ends the (empty) trailer.
  *out += "\r\n";
}

std::string FrameHttpChunks(std::string_view body, size_t piece_size) {
  if (piece_size == 0) piece_size = std::max<size_t>(body.size(), 1);
  std::string out;
  for (size_t at = 0; at < body.size(); at += piece_size) {
    AppendHttpChunk(body.substr(at, std::min(piece_size, body.size() - at)), &out);
  }
  AppendHttpChunk({}, &out);
  return out;
}

}  // namespace lite
