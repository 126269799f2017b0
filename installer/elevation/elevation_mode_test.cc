#include "installer/elevation/elevation_mode.h"

#include <gtest/gtest.h>

#include "distribution/brand_info.h"

namespace lite {
namespace {

InstallerCommandLine CommandLineWith(std::initializer_list<std::u16string> words) {
  std::vector<std::u16string> all = {u"lite_installer.exe"};
  all.insert(all.end(), words);
  return InstallerCommandLine::FromWords(all);
}

class ElevationModeTest : public ::testing::Test {
 protected:
  int Mode(const DistribParamMap& params, const InstallerCommandLine& command_line = {}) {
    return GetElevationMode(brand_ptr_, &params, command_line);
  }
  void UseBrandWithoutWelcomeScreen() {
    brand_.ApplyBrandInfo(R"({"overridden_features": {
        "InstallerNewIdentity2024": {"enabled": true, "params": {"firstScreenOff": true}}}})");
    ASSERT_TRUE(brand_.IsFirstScreenOff());
    brand_ptr_ = &brand_;
  }

  BrandInfo brand_{FilePath(u"C:\\temp\\")};
  const BrandInfo* brand_ptr_ = nullptr;
};

TEST_F(ElevationModeTest, SystemLevelSwitchesWinOverTheUacParameter) {
  const DistribParamMap never = {{"uac", "2"}};
  EXPECT_EQ(Mode(never), kNeverElevate);
  EXPECT_EQ(Mode(never, CommandLineWith({u"--system-level"})), kElevateOnInstall);
  EXPECT_EQ(Mode(never, CommandLineWith({u"/Program-Files-Installation"})), kElevateOnInstall);
}

TEST_F(ElevationModeTest, UacParameterPicksTheModeAndAnythingElseIsOnInstall) {
  EXPECT_EQ(GetElevationMode(nullptr, nullptr, {}), kElevateOnInstall);
  EXPECT_EQ(Mode({}), kElevateOnInstall);
  EXPECT_EQ(Mode({{"uac", "1"}}), kElevateOnStart);
  EXPECT_EQ(Mode({{"uac", "2"}}), kNeverElevate);
  // With these presets the default rule gives 1: numbers that are no mode
  // give 0 without asking it, texts that are no number count as "0" and ask it.
  const DistribParamMap presets = {{"first", "1"}, {"def", "1"}, {"stat", "1"}};
  for (const char* value : {"3", "-1"}) {
    DistribParamMap params = presets;
    params["uac"] = value;
    EXPECT_EQ(Mode(params), kElevateOnInstall) << value;
  }
  for (const char* value : {"", "x", "2x", " 1", "99999999999"}) {
    DistribParamMap params = presets;
    params["uac"] = value;
    EXPECT_EQ(Mode(params), kElevateOnStart) << value;
  }
}

TEST_F(ElevationModeTest, DefaultModeRestartsAtStartOnlyWithoutWelcomeScreenAndWithPresets) {
  // The welcome screen shows: the user presses Install.
  EXPECT_EQ(Mode({{"uac", "0"}, {"def", "1"}, {"stat", "1"}}), kElevateOnInstall);
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "2"}, {"def", "1"}, {"stat", "1"}}), kElevateOnInstall);
  // No welcome screen and both choices preset, "2" counting as a preset.
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "1"}, {"def", "1"}, {"stat", "2"}}), kElevateOnStart);
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "1"}, {"def", "2"}, {"statpromo", ""}}),
            kElevateOnStart);
  // A choice without a preset keeps the restart for the Install press.
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "1"}, {"stat", "1"}}), kElevateOnInstall);
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "1"}, {"def", "0"}, {"stat", "1"}}), kElevateOnInstall);
  EXPECT_EQ(Mode({{"uac", "0"}, {"first", "1"}, {"def", "1"}, {"stat", "yes"}}),
            kElevateOnInstall);
}

TEST_F(ElevationModeTest, BrandWithoutWelcomeScreenNeedsNoFirstParameter) {
  UseBrandWithoutWelcomeScreen();
  EXPECT_EQ(Mode({{"uac", "0"}, {"def", "1"}, {"stat", "1"}}), kElevateOnStart);
  EXPECT_EQ(Mode({{"uac", "0"}, {"def", "1"}}), kElevateOnInstall);
  // Without the "uac" parameter the default rule is never asked.
  EXPECT_EQ(Mode({{"def", "1"}, {"stat", "1"}}), kElevateOnInstall);
}

}  // namespace
}  // namespace lite
