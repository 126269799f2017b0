// The tag tool as a release script runs it.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include "distribution/pe_certificate_table.h"
#include "tools/tag_tool/signed_image_for_testing.h"

namespace lite {
namespace {

using testing::ReadFile;
using testing::WriteFile;

struct ToolRun {
  int exit_code = -1;
  std::string output;
};

ToolRun RunTool(const std::string& arguments) {
  ToolRun run;
  FILE* pipe = popen((std::string(TL_TAG_TOOL) + " " + arguments + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(TagToolTest, StampsInPlaceAndRefusesWithoutTouchingTheFile) {
  const std::string dir = testing::MakeTempDir();
  ASSERT_FALSE(dir.empty());
  const std::string file = dir + "/installer.exe";
  ASSERT_TRUE(WriteFile(file, testing::SignImage(testing::MakeTinyPeImage(kPe32Magic), dir)));
  const std::string signed_image = ReadFile(file);
  ASSERT_FALSE(signed_image.empty());

  const std::string too_long(0x10000, 'q');
  EXPECT_EQ(RunTool("stamp " + file + " " + too_long).exit_code, 1);
  EXPECT_EQ(RunTool("stamp --output=" + dir + "/out.exe " + file + " " + too_long).exit_code, 1);
  EXPECT_EQ(ReadFile(file), signed_image);
  EXPECT_EQ(RunTool("read " + file).output, "\n");
  EXPECT_EQ(RunTool("read --legacy " + file).exit_code, 1);

  EXPECT_EQ(RunTool("stamp " + file + " 'lang=tr&x=1'").exit_code, 0);
  EXPECT_EQ(RunTool("read " + file).output, "lang=tr&x=1\n");
  EXPECT_EQ(RunTool("stamp --legacy " + file + " 'b=2'").exit_code, 0);
  EXPECT_EQ(RunTool("read --legacy " + file).output, "b=2\n");
  EXPECT_TRUE(testing::VerifiesWithTestRoot(file));

  const std::string unsigned_file = dir + "/unsigned.exe";
  const std::string unsigned_image = ReadFile(unsigned_file);
  ASSERT_FALSE(unsigned_image.empty());
  EXPECT_EQ(RunTool("stamp " + unsigned_file + " a=1").exit_code, 1);
  EXPECT_EQ(RunTool("read " + unsigned_file).exit_code, 1);
  EXPECT_EQ(ReadFile(unsigned_file), unsigned_image);
  // No temporary files are left behind.
  EXPECT_EQ(RunTool("stamp " + dir + "/missing.exe a=1").exit_code, 1);
  EXPECT_EQ(system(("test -z \"$(ls " + dir + " | grep tag_tool)\"").c_str()), 0);

  EXPECT_EQ(RunTool("frobnicate " + file).exit_code, 2);
  EXPECT_EQ(RunTool("--help").exit_code, 0);
  system(("rm -rf " + dir).c_str());
}

}  // namespace
}  // namespace lite
