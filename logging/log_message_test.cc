#include "logging/log_message.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/process_ids.h"
#include "base/time.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

class LogMessageTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }
  std::vector<LogRecord> records_;
};

void NamedOperation() { LOG(WARNING) << "from a function"; }

TEST_F(LogMessageTest, RecordCarriesOriginIdsTimeAndStreamedText) {
  const int64_t before = WallClockMicros();
  const int line = __LINE__ + 1;
  LOG(INFO) << "count " << 42 << ' ' << -7 << " path " << FilePath(u"C:\\t\u00e9") << " "
            << std::u16string(u"w") << " " << true << " " << 18446744073709551615ULL;
  ASSERT_EQ(records_.size(), 1u);
  const LogRecord& r = records_[0];
  EXPECT_EQ(r.message, "count 42 -7 path C:\\t\xC3\xA9 w 1 18446744073709551615");
  EXPECT_EQ(r.severity, LOGSEV_INFO);
  EXPECT_EQ(r.line, line);
  EXPECT_STREQ(r.function, "TestBody");
  EXPECT_EQ(r.process_id, CurrentProcessId());
  EXPECT_EQ(r.thread_id, CurrentThreadId());
  EXPECT_GE(r.time_micros, before);
  EXPECT_LE(r.time_micros, WallClockMicros());

  NamedOperation();
  ASSERT_EQ(records_.size(), 2u);
  EXPECT_STREQ(records_[1].function, "NamedOperation");
  EXPECT_EQ(records_[1].severity, LOGSEV_WARNING);
}

TEST_F(LogMessageTest, SystemErrorTextFollowsTheMessage) {
  SystemErrorLogMessage(LOGSEV_ERROR, "F", 1, "5, Access is denied.\r\n").stream()
      << "Can't open";
  SystemErrorLogMessage(LOGSEV_ERROR, "F", 2, "5, Access is denied.\r\n").stream();
  ASSERT_EQ(records_.size(), 2u);
  EXPECT_EQ(records_[0].message, "Can't open - 5, Access is denied.\r\n");
  // Without a message there is no " - " separator.
  EXPECT_EQ(records_[1].message, "5, Access is denied.\r\n");
}

TEST(LogMessageWithoutLoggerTest, RecordsAreDropped) {
  SetGlobalLogger(nullptr);
  LOG(INFO) << "nobody listens";  // must not crash
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  LOG(INFO) << "heard";
  SetGlobalLogger(nullptr);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].message, "heard");
}

TEST(LogSeverityTest, NamesAndTheOutOfTableStop) {
  EXPECT_STREQ(LogSeverityName(0), "INFO");
  EXPECT_STREQ(LogSeverityName(1), "ERROR");
  EXPECT_STREQ(LogSeverityName(2), "WARNING");
  EXPECT_DEATH(LogSeverityName(3), "");
}

}  // namespace
}  // namespace lite
