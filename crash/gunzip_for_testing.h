#ifndef CRASH_GUNZIP_FOR_TESTING_H_
#define CRASH_GUNZIP_FOR_TESTING_H_

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <string_view>

namespace lite {

// What a collector reads out of a gzip upload body; the stream must end
// cleanly.
inline std::string Gunzip(std::string_view data) {
  z_stream stream = {};
  EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  std::string out;
  int result;
  do {
    char buffer[4096];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof(buffer);
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof(buffer) - stream.avail_out);
  } while (result == Z_OK);
  EXPECT_EQ(result, Z_STREAM_END);
  inflateEnd(&stream);
  return out;
}

}  // namespace lite

#endif  // CRASH_GUNZIP_FOR_TESTING_H_
