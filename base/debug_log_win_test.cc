#include "base/debug_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
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

int WriteDiagnosticsDisabled(const std::vector<std::u16string>&) {
  DisableDebugLog();
  DLOG(ERROR) << "Unable to get file length.";
  return 0;
}
TL_CHILD_PROCESS("write-diagnostics-disabled", WriteDiagnosticsDisabled);

// A file over 1 GiB without writing one: the size is set, not filled.
bool MakeOversizedFile(const FilePath& path) {
  const ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr));
  LARGE_INTEGER size;
  size.QuadPart = 1073741824LL + 1;
  return file && SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) &&
         SetEndOfFile(file.get());
}

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

// An oversized file is replaced by a process that keeps the file, and left
// exactly as it is by one that turned it off.
TEST(DebugLogFileTest, DisabledFileIsNeitherDeletedNorWritten) {
  const FilePath file = GetExecutablePath().DirName().Append(u"debug.log");
  struct Case {
    const char* child;
    bool kept;
  };
  for (const Case& c : {Case{"write-diagnostics-disabled", true},
                        Case{"write-diagnostics", false}}) {
    DeleteFileIfExists(file);
    ASSERT_TRUE(MakeOversizedFile(file));
    ASSERT_EQ(testing::RunChild(c.child, {u"second line"}), 0);
    const std::optional<uint64_t> size = GetFileSize(file);
    ASSERT_TRUE(size) << c.child;
    if (c.kept) {
      EXPECT_EQ(*size, 1073741824u + 1) << c.child;
    } else {
      EXPECT_LT(*size, 1024u) << c.child;
    }
  }
  DeleteFileIfExists(file);
}

}  // namespace
}  // namespace lite
