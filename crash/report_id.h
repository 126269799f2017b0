// The report id when the system cannot make a random GUID.
#ifndef CRASH_REPORT_ID_H_
#define CRASH_REPORT_ID_H_

#include <cstdint>

#include "base/guid.h"

namespace lite {

// An id made of the time (in any unit that advances), the process id and a
// high-resolution counter reading: two processes, or one process at two
// moments, get different ids, and none of them is all zeros.
Guid FallbackReportId(uint64_t time, uint32_t process_id, uint64_t counter);

}  // namespace lite

#endif  // CRASH_REPORT_ID_H_
