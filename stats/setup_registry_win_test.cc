#include "stats/setup_registry_win.h"

#include <gtest/gtest.h>

#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

TEST(SetupRegistryTest, StoreReadRemoveWithTheirLogLines) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  const std::u16string name = u"SetupRegistryTestValue";
  RemoveSetupValue(name);

  ASSERT_TRUE(StoreSetupValue(name, u"C:\\x y"));
  EXPECT_EQ(ReadSetupValue(name), std::u16string(u"C:\\x y"));
  EXPECT_TRUE(RemoveSetupValue(name));
  EXPECT_FALSE(ReadSetupValue(name).has_value());
  EXPECT_TRUE(RemoveSetupValue(name));

  const std::string path = "HKEY_CURRENT_USER\\Software\\Tolvar\\TolvarBrowser\\" +
                           std::string("SetupRegistryTestValue");
  EXPECT_TRUE(HasRecord(records, "Stored " + path + " = C:\\x y", "StoreSetupValue"));
  EXPECT_TRUE(HasRecord(records, "Removed " + path, "RemoveSetupValue"));
  EXPECT_TRUE(HasRecord(records, "No value to remove: " + path, "RemoveSetupValue"));
  SetGlobalLogger(nullptr);
}

}  // namespace
}  // namespace lite
