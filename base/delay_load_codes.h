// The exception codes the delay-load helper raises when a delay-loaded
// module or function cannot be bound (VcppException(ERROR_SEVERITY_ERROR,
// ERROR_MOD_NOT_FOUND / ERROR_PROC_NOT_FOUND)).
#ifndef BASE_DELAY_LOAD_CODES_H_
#define BASE_DELAY_LOAD_CODES_H_

#include <cstdint>

namespace lite {

inline constexpr uint32_t kDelayLoadModuleNotFound = 0xC06D007E;
inline constexpr uint32_t kDelayLoadProcedureNotFound = 0xC06D007F;

}  // namespace lite

#endif  // BASE_DELAY_LOAD_CODES_H_
