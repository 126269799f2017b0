#ifndef INSTALLER_RUN_MASTER_PROCESS_ID_WIN_H_
#define INSTALLER_RUN_MASTER_PROCESS_ID_WIN_H_

#include <cstdint>

namespace lite {

// The process id of the installer that last took the single-instance lock,
// in a 4-byte data section shared by every process running the same
// executable file (0 until written; never cleared). Copies of the file at
// another path have a cell of their own.
uint32_t GetMasterProcessId();
void SetMasterProcessId(uint32_t process_id);

}  // namespace lite

#endif  // INSTALLER_RUN_MASTER_PROCESS_ID_WIN_H_
