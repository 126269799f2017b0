#include "base/time.h"

namespace lite {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

CivilTime ToUtcCivilTime(int64_t micros) {
  constexpr int64_t kMicrosPerDay = 86400LL * 1000000;
  const int64_t days = FloorDiv(micros, kMicrosPerDay);
  int64_t in_day = micros - days * kMicrosPerDay;

  // Days since the epoch to a civil date, counting in 400-year eras that
  // start on March 1st so that the leap day falls at the end of a year.
  const int64_t z = days + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2);

  CivilTime t;
  t.year = static_cast<int>(year);
  t.month = static_cast<int>(month);
  t.day = static_cast<int>(day);
  t.hour = static_cast<int>(in_day / 3600000000LL);
  in_day %= 3600000000LL;
  t.minute = static_cast<int>(in_day / 60000000);
  in_day %= 60000000;
  t.second = static_cast<int>(in_day / 1000000);
  t.millisecond = static_cast<int>((in_day % 1000000) / 1000);
  return t;
}

}  // namespace lite
