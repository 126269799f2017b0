#include "stats/install_statistics_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/registry_win.h"
#include "base/scoped_handle_win.h"
#include "base/windows_version_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "stats/installation_event_params.h"
#include "stats/setup_registry_win.h"
#include "stats/stats_test_support_win.h"
#include "stats/user_id_win.h"

namespace lite {
namespace {

using testing::RoutedUrlSender;
using testing::WaitForTargets;
using testing::kStatsPath;

constexpr const char16_t* kTouchedValues[] = {kInstallStatValueName,
                                              u"InstallerSuccessLaunchCmdLine", u"tpv", u"pv"};

class InstallStatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearValues();
    SetGlobalLogger(records_.MakeLogger());
    ASSERT_TRUE(cdn_.Start());
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    ClearValues();
  }
  static void ClearValues() {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kSetupRegistryKey, KEY_SET_VALUE) != ERROR_SUCCESS) return;
    for (const char16_t* name : kTouchedValues) key.DeleteValue(name);
  }
  static void SetValue(const char16_t* name, const std::u16string& value) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kSetupRegistryKey, KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteString(name, value), ERROR_SUCCESS);
  }
  std::unique_ptr<InstallStatistics> MakeStatistics(std::u16string_view saved = u"") {
    return std::make_unique<InstallStatistics>(kInstallerKindLite, saved,
                                               std::make_unique<RoutedUrlSender>(cdn_.Url("")));
  }
  // The user identifier as it travels: dashes become underscores.
  static std::string SentUserId() {
    std::string id = GetUserId();
    for (char& c : id) {
      if (c == '-') c = '_';
    }
    return id;
  }

  testing::ThreadSafeRecords records_;
  testing::TestCdn cdn_;
};

TEST_F(InstallStatisticsTest, RequestsArriveByteForByteOnTheirCounters) {
  SetValue(u"tpv", u"");  // an empty tpv falls back to pv
  SetValue(u"pv", u"25.1.2.3");
  auto statistics = MakeStatistics();
  statistics->SetParam(StatParam::kBrandId, "tolvar");
  statistics->SetParam(StatParam::kPartnerId, "p-1");
  EXPECT_EQ(statistics->GetParam(StatParam::kOldVer), "25.1.2.3");

  ASSERT_TRUE(statistics->Send({{"action", u"download"},
                                {"brand_id", u"from_event"},
                                {"note", u"a b/c?d#e%f"},
                                {"old_style", u"9"}}));
  statistics->SendReinstallDialogStat(ButtonParams(StatButton::kUacDeclined));
  ASSERT_TRUE(statistics->Send({}));

  const std::vector<std::string> targets = WaitForTargets(cdn_, kStatsPath, 3);
  ASSERT_EQ(targets.size(), 3u);
  const std::string persistent_tail = "-launched=false,-lite_ver=3.14.15.92";
  const std::string persistent_rest =
      "-old_style=0,-old_ver=25.1.2.3,-partner_id=p_1,-ui=" + SentUserId();
  EXPECT_EQ(targets[0],
            "/installstats/send/dtype=stred/pid=457/cid=72992/path=extended_stat/vars="
            "-action=download,-brand_id=tolvar,-installer_type=lite," +
                persistent_tail + ",-note=a%20b%2Fc%3Fd%23e%f," + persistent_rest + "/*");
  EXPECT_EQ(targets[1],
            "/installstats/send/dtype=stred/pid=457/cid=72696/path=tlbrowser_reinstall_dialog/"
            "vars=-brand_id=tolvar,-clicked_button=uac_declined,-dialog_window=liteinstall,"
            "-installer_type=lite," +
                persistent_tail + "," + persistent_rest + "/*");
  EXPECT_EQ(targets[2],
            "/installstats/send/dtype=stred/pid=457/cid=72992/path=extended_stat/vars="
            "-brand_id=tolvar,-installer_type=lite," +
                persistent_tail + "," + persistent_rest + "/*");

  std::optional<Value> requests = cdn_.Requests(kStatsPath);
  ASSERT_TRUE(requests && !requests->GetIfList()->empty());
  const Value& first = requests->GetIfList()->front();
  const WindowsVersion& version = GetWindowsVersion();
  const std::string platform_version = "\"" + std::to_string(version.major) + "." +
                                       std::to_string(version.minor) + "." +
                                       std::to_string(version.ubr) + "\"";
  EXPECT_EQ(*first.FindPath("method")->GetIfString(), "GET");
  const Value::Dict& headers = *first.FindPath("headers")->GetIfDict();
  auto header = [&](const std::string& name) {
    auto it = headers.find(name);
    return it != headers.end() && it->second.is_string() ? *it->second.GetIfString()
                                                         : std::string("<none>");
  };
  EXPECT_EQ(header("User-Agent"), "Tolvar.Browser installer");
  EXPECT_EQ(header("Accept"), "*/*");
  EXPECT_EQ(header("Sec-CH-UA-Platform"), "\"Windows\"");
  EXPECT_EQ(header("Sec-CH-UA-Platform-Version"), platform_version);
  // A request abandoned once sent is not an error.
  EXPECT_FALSE(HasRecord(records_.Snapshot(), "Failed to open ", "SendUrl"));
  EXPECT_TRUE(HasRecord(records_.Snapshot(), "InstallStatSender::Send:", "GetQueryUrl"));
  EXPECT_TRUE(HasRecord(records_.Snapshot(), "note=a b/c?d#e%f", "GetQueryUrl"));
}

TEST_F(InstallStatisticsTest, SavedParametersAreRestoredByASecondProcessAndRemovedAtTheEnd) {
  SetValue(u"tpv", u"24.0.0.1");
  std::u16string saved;
  {
    auto first = MakeStatistics();
    first->SetParam(StatParam::kBrandId, "by");
    first->SetParam(StatParam::kInstallType, "normal");
    first->SaveParamsToRegistry();
    saved = ReadSetupValue(kInstallStatValueName).value_or(u"<none>");
    EXPECT_EQ(saved, SerializeStatParams(first->sender().params()));
    EXPECT_EQ(saved, u"brand_id\nby\ninstall_type\nnormal\ninstaller_type\nlite\n"
                     u"launched\nfalse\nlite_ver\n3.14.15.92\nold_ver\n24.0.0.1\nui\n" +
                         WidenBytes(GetUserId()) + u"\n");

    // The elevated copy starts while the first installer still runs; the
    // browser version it sees meanwhile does not replace the inherited one.
    SetValue(u"tpv", u"99.0.0.0");
    auto second = MakeStatistics(saved);
    EXPECT_EQ(second->sender().params(), first->sender().params());
    second->SetParam(StatParam::kBrandId, "int");
    EXPECT_EQ(second->sender().params().at("brand_id"), u"int");
  }
  EXPECT_FALSE(ReadSetupValue(kInstallStatValueName).has_value());
  EXPECT_TRUE(HasRecord(records_.Snapshot(), "Removed HKEY_CURRENT_USER\\Software\\Tolvar\\TolvarBrowser"
                                  "\\install_stat", "RemoveSetupValue"));
}

TEST_F(InstallStatisticsTest, LaunchCheckLooksForTheBrowsersGlobalEvent) {
  SetValue(u"InstallerSuccessLaunchCmdLine", u"\"C:\\Users\\Me\\Tolvar\\Browser.EXE\"");
  EXPECT_EQ(CheckBrowserLaunched(), u"false");
  {
    ScopedHandle event(CreateEventW(nullptr, TRUE, FALSE,
                                    L"Global\\c:!users!me!tolvar!browser.exe"));
    ASSERT_TRUE(event);
    EXPECT_EQ(CheckBrowserLaunched(), u"true");
    EXPECT_EQ(MakeStatistics()->GetParam(StatParam::kLaunched), "true");
    // Two characters name no program: no event is looked for.
    SetValue(u"InstallerSuccessLaunchCmdLine", u"\"\"");
    EXPECT_EQ(CheckBrowserLaunched(), u"false");
  }
  SetValue(u"InstallerSuccessLaunchCmdLine", u"\"C:\\Users\\Me\\Tolvar\\Browser.EXE\"");
  EXPECT_EQ(CheckBrowserLaunched(), u"false");
}

TEST_F(InstallStatisticsTest, LaunchCheckLowersLettersBeyondAscii) {
  // A profile folder named in Cyrillic: the event name has every letter in
  // lower case, not only the ASCII ones.
  SetValue(u"InstallerSuccessLaunchCmdLine", u"C:\\Users\\\u0418\u0432\u0430\u043D\\Browser.exe");
  ScopedHandle event(CreateEventW(
      nullptr, TRUE, FALSE, L"Global\\c:!users!\u0438\u0432\u0430\u043D!browser.exe"));
  ASSERT_TRUE(event);
  EXPECT_EQ(CheckBrowserLaunched(), u"true");
}

}  // namespace
}  // namespace lite
