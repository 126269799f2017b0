// Wall-clock and interrupt time. Durations are 64-bit microseconds.
#ifndef BASE_TIME_H_
#define BASE_TIME_H_

#include <cstdint>

namespace lite {

// Microseconds since 1970-01-01 00:00:00 UTC.
int64_t WallClockMicros();

// Microseconds of interrupt time that excludes sleep and hibernation; the
// time base handed to the setup program. Zero where the system has none.
int64_t UnbiasedInterruptTimeMicros();

struct CivilTime {
  int year, month, day, hour, minute, second, millisecond;
};

// Breaks a WallClockMicros value down as UTC (proleptic Gregorian).
CivilTime ToUtcCivilTime(int64_t micros_since_epoch);

}  // namespace lite

#endif  // BASE_TIME_H_
