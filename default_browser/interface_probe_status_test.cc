#include "default_browser/interface_probe_status.h"

#include <gtest/gtest.h>

namespace lite::win10_default_browser {
namespace {

TEST(InterfaceProbeStatusTest, Arithmetic) {
  const struct {
    uint32_t code, build, revision, status;
  } cases[] = {
      {3, 17134, 112, 3171340112u},  // probe timed out
      {0, 19045, 3570, 190453570u},  // known good
      {2, 30000, 5, 2000000005u},    // build part dropped
      {4, 29496, 7295, 4294967295u}, // the largest value
      {4, 29497, 7296, 4000000000u}, // both parts past their limits
      {9, 17134, 0, 4171340000u},    // codes above 4 stored as 4
      {1, 0, 0, 1000000000u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakeInterfaceProbeStatus(c.code, c.build, c.revision), c.status)
        << c.code << " " << c.build << " " << c.revision;
  }
}

TEST(InterfaceProbeStatusTest, KnownGoodBuilds) {
  const struct {
    uint32_t build, revision;
    bool good;
  } cases[] = {
      {19045, 3570, true}, {17704, 0, true},  {17703, 9999, false},
      {17134, 319, true},  {17134, 318, false}, {17763, 0, true}, {10240, 5000, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsKnownGoodBuild(c.build, c.revision), c.good) << c.build << "." << c.revision;
  }
}

TEST(InterfaceProbeStatusTest, ExitCodes) {
  const struct {
    int exit_code;
    ProbeResult result;
  } cases[] = {
      {700, ProbeResult::kAvailable},
      {701, ProbeResult::kNotAvailable},
      {static_cast<int>(0xC0000005u), ProbeResult::kCrashed},
      {0, ProbeResult::kOtherFailure},
      {22, ProbeResult::kOtherFailure},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyProbeExitCode(c.exit_code), c.result) << c.exit_code;
}

}  // namespace
}  // namespace lite::win10_default_browser
