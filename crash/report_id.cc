#include "crash/report_id.h"

namespace lite {

Guid FallbackReportId(uint64_t time, uint32_t process_id, uint64_t counter) {
  Guid id;
  id.data1 = static_cast<uint32_t>(time);
  id.data2 = static_cast<uint16_t>(time >> 32);
  id.data3 = static_cast<uint16_t>(time >> 48);
  for (int i = 0; i < 4; ++i) id.data4[i] = static_cast<uint8_t>(process_id >> (8 * i));
  // The counter's fast-changing low bits; a set top bit keeps the id from
  // ever being all zeros.
  for (int i = 0; i < 4; ++i) id.data4[4 + i] = static_cast<uint8_t>(counter >> (8 * i));
  id.data4[7] |= 0x80;
  return id;
}

}  // namespace lite
