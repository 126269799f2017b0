#include "ui/layout/font_resources_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "ui/layout/installation_window_theme_win.h"

namespace lite {
namespace {

constexpr char kFunction[] = "InstallationWindowThemeFacetune";

TEST(FontResourcesTest, RegistersWhatItFindsAndLogsTheRest) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  {
    FontResources fonts(GetModuleHandleW(nullptr), {65021, 65022});
    EXPECT_EQ(fonts.count(), 1u);
  }
  SetGlobalLogger(nullptr);
  EXPECT_TRUE(HasRecord(records, "1 font(s) added, id=65021", kFunction));
  EXPECT_TRUE(HasRecord(records, "Unable to find font id=65022 in resources", kFunction));
}

TEST(FontResourcesTest, ThemeFontHeightFollowsTheScale) {
  struct Case {
    int size;
    double scale;
    LONG height;
  } const cases[] = {{36, 1.5, -54}, {13, 1.0, -13}, {13, 1.25, -16}, {11, 1.75, -19}};
  for (const Case& c : cases) {
    ScopedFont font = CreateThemeFont({u"TS Display", c.size, 700, true}, c.scale);
    ASSERT_TRUE(font);
    LOGFONTW info = {};
    ASSERT_TRUE(GetObjectW(font.get(), sizeof(info), &info));
    EXPECT_EQ(info.lfHeight, c.height);
    EXPECT_EQ(info.lfWeight, 700);
    EXPECT_TRUE(info.lfUnderline);
    EXPECT_STREQ(info.lfFaceName, L"TS Display");
  }
}

}  // namespace
}  // namespace lite
