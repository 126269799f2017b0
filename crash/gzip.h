// gzip compression of an upload body through zlib.
#ifndef CRASH_GZIP_H_
#define CRASH_GZIP_H_

#include <optional>
#include <string>
#include <string_view>

namespace lite {

// |data| as one gzip member (deflate, default level, window bits 31); nothing
// when zlib fails.
std::optional<std::string> GzipCompress(std::string_view data);

}  // namespace lite

#endif  // CRASH_GZIP_H_
