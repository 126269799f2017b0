#include "installer/run/master_process_id_win.h"

namespace lite {
namespace {

// The "shared" attribute marks the section IMAGE_SCN_MEM_SHARED. It must be
// initialised, or the variable would land in .bss instead.
volatile uint32_t g_master_process_id __attribute__((section("SHARED"), shared)) = 0;

}  // namespace

uint32_t GetMasterProcessId() { return g_master_process_id; }
void SetMasterProcessId(uint32_t process_id) { g_master_process_id = process_id; }

}  // namespace lite
