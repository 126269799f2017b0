#include "installer/exit_code.h"

#include <gtest/gtest.h>

#include <set>

namespace lite {
namespace {

TEST(ExitCodeTest, TableCodesAreDescribedByName) {
  EXPECT_EQ(DescribeExitCode(400).rfind("400 (no_setup_exit_code: ", 0), 0u);
  EXPECT_EQ(DescribeExitCode(-200).rfind("-200 (dll_files_found: ", 0), 0u);
  EXPECT_EQ(DescribeExitCode(600).rfind("600 (another_instance_running: ", 0), 0u);
  ASSERT_NE(FindExitCode(701), nullptr);
  EXPECT_STREQ(FindExitCode(701)->name, "interface_not_available");
}

TEST(ExitCodeTest, OtherCodesAreTheSetupProgramsOwn) {
  EXPECT_EQ(FindExitCode(7), nullptr);
  EXPECT_EQ(DescribeExitCode(7), "7 (the setup program's exit code)");
  EXPECT_EQ(DescribeExitCode(-5), "-5 (the setup program's exit code)");
}

TEST(ExitCodeTest, EveryInstallerCodeIsInTheTableOnce) {
  const int codes[] = {0, -1, -200, 400, 401, 402, 403, 404, 500, 600, 700, 701};
  std::set<std::string> names;
  for (int code : codes) {
    const ExitCodeInfo* row = FindExitCode(code);
    ASSERT_NE(row, nullptr) << code;
    EXPECT_EQ(row->code, code);
    EXPECT_TRUE(names.insert(row->name).second) << row->name;
  }
}

}  // namespace
}  // namespace lite
