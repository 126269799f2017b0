// How a setup program's exit code reads in the log. The setup program packs
// a category into the high byte of its code and a detail into the rest.
#ifndef INSTALLER_SETUP_SETUP_EXIT_CODE_H_
#define INSTALLER_SETUP_SETUP_EXIT_CODE_H_

#include <cstdint>
#include <string>

namespace lite {

// "SUCCESS_EXIT_CODE(0); error: 3", "GENERIC_INITIALIZATION_FAILURE(101);
// error: 2", or "Exit code: 5; error: 7" for a category without a name.
std::string DescribeSetupExitCode(uint32_t exit_code);

}  // namespace lite

#endif  // INSTALLER_SETUP_SETUP_EXIT_CODE_H_
