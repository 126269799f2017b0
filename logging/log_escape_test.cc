#include "logging/log_escape.h"

#include <gtest/gtest.h>

#include "base/file_path.h"
#include "logging/log_message.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

TEST(LogEscapeTest, LineBreakingAndControlCharactersBecomeVisible) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"C:\\Users\\a b\\Temp\\x.log", "C:\\Users\\a b\\Temp\\x.log"},
      {"a\nb", "a\\x0Ab"},
      {"a\r\n2024-01-31 09:15:02.047 1:1 INFO: forged (wWinMain:1)",
       "a\\x0D\\x0A2024-01-31 09:15:02.047 1:1 INFO: forged (wWinMain:1)"},
      {std::string_view("n\0ul", 4), "n\\x00ul"},
      {"\t\x1b[2J\x7f", "\\x09\\x1B[2J\\x7F"},
      {"next\xC2\x85line", "next\\u0085line"},
      {"\xC2\x9F\xC2\xA0", "\\u009F\xC2\xA0"},  // NBSP is no control
      {"a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\xE2\x80\xA7", "a\\u2028b\\u2029c\xE2\x80\xA7"},
      {"\xC3\xA9\xD0\x96", "\xC3\xA9\xD0\x96"},
      // Cut sequences at the end are kept as they are.
      {"\xC2", "\xC2"},
      {"\xE2\x80", "\xE2\x80"},
  };
  for (const Case& c : cases) {
    std::string out = "prefix ";
    AppendEscapedLogText(c.in, &out);
    EXPECT_EQ(out, "prefix " + std::string(c.out)) << c.in;
  }
}

class EscapedLogCallTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }
  std::vector<LogRecord> records_;
};

// Whatever form a value takes on its way into the record, it is escaped;
// the system's own error text keeps its line break.
TEST_F(EscapedLogCallTest, EveryStreamedValueIsEscaped) {
  LOG(INFO) << "path " << FilePath(u"C:\\a\nb") << " wide " << std::u16string(u"x\r")
            << " narrow " << std::string("y\n") << " char " << '\n' << " literal\x1b";
  SystemErrorLogMessage(LOGSEV_ERROR, "F", 1, "5, Access is denied.\r\n").stream()
      << "Cannot open C:\\t\n\u2028";
  ASSERT_EQ(records_.size(), 2u);
  EXPECT_EQ(records_[0].message,
            "path C:\\a\\x0Ab wide x\\x0D narrow y\\x0A char \\x0A literal\\x1B");
  EXPECT_EQ(records_[1].message, "Cannot open C:\\t\\x0A\\u2028 - 5, Access is denied.\r\n");
}

}  // namespace
}  // namespace lite
