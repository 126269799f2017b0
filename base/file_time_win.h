// Windows FILETIME values (100 ns ticks since 1601-01-01 UTC) as the
// microseconds the rest of the code counts in.
#ifndef BASE_FILE_TIME_WIN_H_
#define BASE_FILE_TIME_WIN_H_

#include <windows.h>

#include <cstdint>

namespace lite {

// From 1601-01-01 to 1970-01-01 UTC.
inline constexpr int64_t k1601To1970Micros = 11'644'473'600'000'000;

inline int64_t FileTimeToMicrosSince1601(const FILETIME& time) {
  const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  return static_cast<int64_t>(ticks / 10);
}

}  // namespace lite

#endif  // BASE_FILE_TIME_WIN_H_
