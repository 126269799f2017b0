#include "base/debug_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

int WriteDiagnostics(const std::vector<std::u16string>& args) {
  DLOG(ERROR) << "Unable to get file length.";
  DLOG(INFO) << UTF16ToUTF8(args.at(0));
  return 0;
}
TL_CHILD_PROCESS("write-diagnostics", WriteDiagnostics);

TEST(DebugLogFileTest, WrittenBesideTheExecutable) {
  const FilePath file = GetExecutablePath().DirName().Append(u"debug.log");
  DeleteFileIfExists(file);
  ASSERT_EQ(testing::RunChild("write-diagnostics", {u"second line"}), 0);
  const std::string text = ReadFileWithLimit(file, 1 << 20).value_or("");
  EXPECT_TRUE(std::regex_match(
      text, std::regex(R"(\[\d{4}/\d{6}\.\d{3}:ERROR:debug_log_win_test\.cc\(\d+\)\] Unable to get file length\.\n)"
                       R"(\[\d{4}/\d{6}\.\d{3}:INFO:debug_log_win_test\.cc\(\d+\)\] second line\n)")))
      << text;
  DeleteFileIfExists(file);
}

}  // namespace
}  // namespace lite
