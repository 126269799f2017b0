#include "default_browser/interface_probe_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_severity.h"
#include "logging/recording_logger_for_testing.h"

namespace lite::win10_default_browser {
namespace {

// A Windows 10 build old enough to need the probe copy.
WindowsVersion Win10Build(uint32_t build, uint32_t ubr) {
  WindowsVersion version;
  version.major = 10;
  version.build = build;
  version.ubr = ubr;
  return version;
}

FilePath FakeProbe() { return FilePath(UTF8ToUTF16(TL_FAKE_PROBE_EXE)); }

// Keeps the log records of one test.
class InterfaceProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  std::vector<LogRecord> records_;
};

TEST_F(InterfaceProbeTest, ProbeCopyOutcomes) {
  const struct {
    const char* behaviour;
    bool available;
    uint32_t status;
    int32_t severity;
    const char* message;
  } cases[] = {
      {"exit=700", true, 171340112, LOGSEV_INFO,
       "Successfuly checked Win10 internal interface availability: availability: 1"},
      {"exit=701", false, 2171340112u, LOGSEV_INFO,
       "Successfuly checked Win10 internal interface availability: availability: 0"},
      {"exit=0", false, 4171340112u, LOGSEV_ERROR,
       "Failed to check Win10 internal interface availability, unknown ret code: 0 - "},
      {"crash", false, 1171340112u, LOGSEV_ERROR,
       "Failed to check Win10 internal interface availability, ret code: -1073741819, "
       "installer crashed - "},
      {"hang", false, 3171340112u, LOGSEV_ERROR,
       "Failed to check Win10 internal interface availability,  installer was "
       "terminated by timeout. - "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    SetEnvironmentVariableW(L"TOLVAR_FAKE_PROBE", AsWide(UTF8ToUTF16(c.behaviour)));
    records_.clear();
    InterfaceProbeStatus status = 0;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(IsInterfaceAvailable(Win10Build(17134, 112), FakeProbe(), &status), c.available);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_EQ(status, c.status);
    ASSERT_EQ(records_.size(), 1u);
    EXPECT_EQ(records_[0].severity, c.severity);
    EXPECT_STREQ(records_[0].function, "IsInternalInterfaceAvailableSafeCheck");
    EXPECT_EQ(records_[0].message.rfind(c.message, 0), 0u) << records_[0].message;
    // Only the one line is written: the success line has no error text.
    if (c.severity == LOGSEV_INFO) {
      EXPECT_EQ(records_[0].message, c.message);
    }
    if (std::string(c.behaviour) == "hang") {
      EXPECT_GE(took, 2900u);
      EXPECT_LT(took, 10000u);
    }
  }
}

TEST_F(InterfaceProbeTest, NoProbeCopyWhereItIsNotNeeded) {
  const struct {
    WindowsVersion version;
    bool available;
    uint32_t status;
  } cases[] = {
      {Win10Build(19045, 3570), true, 190453570},
      {Win10Build(17134, 319), true, 171340319},
  };
  SetEnvironmentVariableW(L"TOLVAR_FAKE_PROBE", L"exit=701");
  for (const auto& c : cases) {
    InterfaceProbeStatus status = 7;
    EXPECT_EQ(IsInterfaceAvailable(c.version, FakeProbe(), &status), c.available);
    EXPECT_EQ(status, c.status);
  }
  // Windows 8.1: not available, and the status is left as it was.
  WindowsVersion win81;
  win81.major = 6;
  win81.minor = 3;
  InterfaceProbeStatus status = 7;
  EXPECT_FALSE(IsInterfaceAvailable(win81, FakeProbe(), &status));
  EXPECT_EQ(status, 7u);
}

TEST_F(InterfaceProbeTest, MissingProgram) {
  InterfaceProbeStatus status = 0;
  EXPECT_FALSE(IsInterfaceAvailable(Win10Build(17134, 318),
                                    FilePath(u"C:\\no\\such\\lite_installer.exe"), &status));
  EXPECT_EQ(status, 4171340318u);
  ASSERT_EQ(records_.size(), 1u);
  EXPECT_EQ(records_[0].severity, LOGSEV_ERROR);
  EXPECT_EQ(records_[0].message.rfind("Failed to check Win10 internal interface availability: "
                                     "can't get installer exe path. - ",
                                     0),
            0u);
}

// The installer itself as the probe copy: under Wine none of the
// registration interfaces can be created.
TEST_F(InterfaceProbeTest, RealProbeCopyUnderWine) {
  const FilePath debug_log(UTF8ToUTF16(TL_DEBUG_LOG));
  const uint64_t before = GetFileSize(debug_log).value_or(0);
  ProbeResult result = ProbeResult::kAvailable;
  EXPECT_FALSE(IsInternalInterfaceAvailableSafeCheck(FilePath(UTF8ToUTF16(TL_INSTALLER_EXE)),
                                                     &result));
  EXPECT_EQ(result, ProbeResult::kNotAvailable);
  const std::string log = ReadFileWithLimit(debug_log, 1 << 24).value_or("");
  EXPECT_NE(log.find(":INFO:internal_interface_check_win.cc(", before), std::string::npos);
  EXPECT_NE(log.find("] Unsupported Win10 version=10.0.", before), std::string::npos);
}

}  // namespace
}  // namespace lite::win10_default_browser
