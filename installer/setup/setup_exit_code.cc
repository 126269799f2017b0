#include "installer/setup/setup_exit_code.h"

namespace lite {
namespace {

struct SetupExitCategory {
  uint32_t high_byte;
  const char* name;
};

constexpr SetupExitCategory kSetupExitCategories[] = {
    {0, "SUCCESS_EXIT_CODE"},
    {1, "GENERIC_ERROR"},
    {101, "GENERIC_INITIALIZATION_FAILURE"},
    {105, "COMMAND_STRING_OVERFLOW"},
    {107, "WAIT_FOR_PROCESS_FAILED"},
    {108, "PATH_STRING_OVERFLOW"},
    {109, "UNABLE_TO_GET_WORK_DIRECTORY"},
    {110, "UNABLE_TO_FIND_REGISTRY_KEY"},
    {111, "PATCH_NOT_FOR_INSTALLED_VERSION"},
    {112, "UNABLE_TO_EXTRACT_CHROME_ARCHIVE"},
    {115, "UNABLE_TO_EXTRACT_SETUP_EXE"},
    {116, "UNABLE_TO_EXTRACT_SETUP"},
    {117, "UNABLE_TO_SET_DIRECTORY_ACL"},
};

const char* CategoryName(uint32_t high_byte) {
  for (const SetupExitCategory& row : kSetupExitCategories) {
    if (row.high_byte == high_byte) return row.name;
  }
  return nullptr;
}

}  // namespace

std::string DescribeSetupExitCode(uint32_t exit_code) {
  const uint32_t high = exit_code >> 24;
  const uint32_t low = exit_code & 0xFFFFFF;
  const char* name = CategoryName(high);
  std::string text = name ? std::string(name) + "(" + std::to_string(high) + ")"
                          : "Exit code: " + std::to_string(high);
  return text + "; error: " + std::to_string(low);
}

}  // namespace lite
