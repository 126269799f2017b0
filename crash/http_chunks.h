// HTTP/1.1 chunked transfer coding: each piece as its size in lower-case
// hexadecimal, CRLF, the bytes, CRLF; the end as the zero-size chunk.
#ifndef CRASH_HTTP_CHUNKS_H_
#define CRASH_HTTP_CHUNKS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lite {

// Appends |piece| as one chunk; an empty piece is the last chunk "0" CRLF CRLF.
void AppendHttpChunk(std::string_view piece, std::string* out);

// |body| in chunks of at most |piece_size| bytes, ended by the last chunk.
std::string FrameHttpChunks(std::string_view body, size_t piece_size);

}  // namespace lite

#endif  // CRASH_HTTP_CHUNKS_H_
