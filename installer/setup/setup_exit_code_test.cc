#include "installer/setup/setup_exit_code.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(SetupExitCodeTest, HighByteNamesTheCategory) {
  EXPECT_EQ(DescribeSetupExitCode(0), "SUCCESS_EXIT_CODE(0); error: 0");
  EXPECT_EQ(DescribeSetupExitCode(3), "SUCCESS_EXIT_CODE(0); error: 3");
  EXPECT_EQ(DescribeSetupExitCode(0xFFFFFF), "SUCCESS_EXIT_CODE(0); error: 16777215");
  EXPECT_EQ(DescribeSetupExitCode(1u << 24), "GENERIC_ERROR(1); error: 0");
  EXPECT_EQ(DescribeSetupExitCode(101u << 24 | 2), "GENERIC_INITIALIZATION_FAILURE(101); error: 2");
  EXPECT_EQ(DescribeSetupExitCode(117u << 24 | 0xABCDEF),
            "UNABLE_TO_SET_DIRECTORY_ACL(117); error: 11259375");
}

TEST(SetupExitCodeTest, UnnamedCategoryGivesItsNumber) {
  EXPECT_EQ(DescribeSetupExitCode(5u << 24 | 7), "Exit code: 5; error: 7");
  EXPECT_EQ(DescribeSetupExitCode(106u << 24), "Exit code: 106; error: 0");
  EXPECT_EQ(DescribeSetupExitCode(0xFFFFFFFFu), "Exit code: 255; error: 16777215");
}

}  // namespace
}  // namespace lite
