#ifndef BASE_PROCESS_IDS_H_
#define BASE_PROCESS_IDS_H_

#include <cstdint>

namespace lite {

uint32_t CurrentProcessId();
uint32_t CurrentThreadId();

}  // namespace lite

#endif  // BASE_PROCESS_IDS_H_
