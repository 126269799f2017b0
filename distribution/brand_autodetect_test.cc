#include "distribution/brand_autodetect.h"

#include <gtest/gtest.h>

#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

TEST(BrandAutodetectTest, FirstMatchingRowGivesTheBrand) {
  struct Case {
    const char* region;
    const char* language;
    const char* brand;
  };
  const Case kCases[] = {
      {"RU", "uk", "ua_uk"}, {"RU", "en", "tolvar"}, {"RU", "tr", "tolvar"},
      {"UA", "ru", "ua_ru"}, {"UA", "uk", "ua_uk"},  {"UA", "tr", "ua_uk"},
      {"TR", "ru", "tb"},    {"DE", "ru", "tolvar"}, {"", "uk", "ua_uk"},
      {"", "tr", "tb"},      {"KZ", "kk", "tolvar"}, {"ru", "en", "tolvar"},
      {"ua", "ru", "tolvar"}, {"", "", "tolvar"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(AutodetectBrandNameFor(c.region, c.language), c.brand)
        << c.region << "/" << c.language;
  }
}

TEST(BrandAutodetectTest, LogsInputsAndTheChoice) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  AutodetectBrandNameFor("", "tr");
  AutodetectBrandNameFor("DE", "en");
  SetGlobalLogger(nullptr);
  ASSERT_EQ(records.size(), 6u);
  const char* kExpected[] = {"User region: ", "User locale: tr", "Detected brand-name: tb",
                             "User region: DE", "User locale: en",
                             "Didn't found brand-name. Use default: tolvar"};
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].message, kExpected[i]);
    EXPECT_STREQ(records[i].function, "AutodetectBrandName");
  }
}

}  // namespace
}  // namespace lite
