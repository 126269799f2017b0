#include "base/debug_log.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(DebugLogTest, LineFormWithLocalTimeAndBaseName) {
  const CivilTime t = {2026, 3, 7, 9, 5, 4, 12};
  EXPECT_EQ(FormatDebugLogLine(t, DLOGSEV_ERROR, "/src/net/fetch_task.cc", 42, "boom"),
            "[0307/090504.012:ERROR:fetch_task.cc(42)] boom\n");
  EXPECT_EQ(FormatDebugLogLine(t, DLOGSEV_WARNING, "C:\\b\\x_win.cc", 7, ""),
            "[0307/090504.012:WARNING:x_win.cc(7)] \n");
  EXPECT_EQ(FormatDebugLogLine(t, DLOGSEV_INFO, "plain.cc", 1, "a").substr(0, 18),
            "[0307/090504.012:I");
  EXPECT_NE(FormatDebugLogLine(t, DLOGSEV_FATAL, "f.cc", 1, "x").find(":FATAL:"),
            std::string::npos);
}

}  // namespace
}  // namespace lite
