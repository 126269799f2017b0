#include "net/async_install_tasks_win.h"

#include <map>
#include <memory>
#include <optional>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "gtest/gtest.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace {

class FixedParams : public DistribInfoParams {
 public:
  explicit FixedParams(std::map<std::string, std::string> params)
      : DistribInfoParams(std::nullopt), params_(std::move(params)) {}
  bool GetParam(const std::string& key, std::string* value) const override {
    auto it = params_.find(key);
    if (it == params_.end()) return false;
    *value = it->second;
    return true;
  }

 private:
  std::map<std::string, std::string> params_;
};

// Polls for a file until it holds |size| bytes or more.
std::optional<std::string> WaitForFile(const FilePath& path, size_t size) {
  for (int i = 0; i < 1000; ++i) {
    std::optional<std::string> data = ReadFileWithLimit(path, 1 << 20);
    if (data && data->size() >= size) return data;
    Sleep(10);
  }
  return std::nullopt;
}

class AsyncInstallTasksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cdn_.Start());
    brand_ = std::make_unique<BrandInfo>(GetUserTempDir());
  }
  void TearDown() override { SetGlobalLogger(nullptr); }

  void UseBrand(const std::string& wallpapers_url) {
    brand_->ApplyBrandInfo("{\"urls\": {\"variations\": \"" + cdn_.Url("/seed") +
                           "\", \"abt\": \"" + cdn_.Url("/abt") + "\"}, " +
                           "\"install\": {\"preloaded_wallpapers_url\": \"" + wallpapers_url +
                           "\"}}");
  }

  testing::TestCdn cdn_;
  std::unique_ptr<BrandInfo> brand_;
};

TEST_F(AsyncInstallTasksTest, FetchesTheEnabledDocumentsInOrder) {
  ASSERT_TRUE(cdn_.SetRule("/seed", R"({"body": "unsigned seed"})"));
  ASSERT_TRUE(cdn_.SetRule(
      "/abt", R"({"body": "abt", "headers": {"X-Seed-Signature": "c2ln", "X-Country": "de",
                  "Last-Modified": "Wed, 09 Dec 2026 09:00:00 GMT"}})"));
  ASSERT_TRUE(cdn_.SetRule("/wp/abc", R"({"body": "wallpapers"})"));
  UseBrand(cdn_.Url("/wp/"));
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  FixedParams params(std::map<std::string, std::string>{{"pwexp", "abc"}});
  FilePath variations, abt, wallpaper;
  {
    AsyncInstallTasks tasks(*brand_, params);
    // Nothing is fetched before Start: the window paints first.
    Sleep(200);
    EXPECT_EQ(cdn_.Requests("/")->GetIfList()->size(), 0u);
    tasks.Start();
    tasks.Start();  // once only
    variations = tasks.variations_path();
    abt = tasks.abt_path();
    wallpaper = tasks.wallpaper_path();
    EXPECT_TRUE(tasks.server_config_path().empty());
    EXPECT_TRUE(tasks.webntp_path().empty());
    ASSERT_EQ(tasks.ResultSwitches().size(), 3u);
    EXPECT_EQ(tasks.ResultSwitches()[2].first, "preloaded-wallpaper-bundle-path");

    // The wallpaper comes last, so once it is there every task has run.
    EXPECT_EQ(WaitForFile(wallpaper, 10), "wallpapers");
    std::optional<std::string> seed = ReadFileWithLimit(abt, 4096);
    ASSERT_TRUE(seed);
    std::optional<Value> json = ReadJson(*seed, nullptr);
    ASSERT_TRUE(json);
    EXPECT_EQ(*json->FindPath("variations_seed_base64")->GetIfString(), "YWJ0");
    EXPECT_EQ(*json->FindPath("variations_seed_signature")->GetIfString(), "c2ln");
    EXPECT_EQ(*json->FindPath("variations_country")->GetIfString(), "de");
    EXPECT_EQ(*json->FindPath("variations_last_modified_time")->GetIfString(),
              "Wed, 09 Dec 2026 09:00:00 GMT");
    EXPECT_FALSE(PathExists(variations));
  }
  EXPECT_TRUE(HasRecord(records, "Failed to get variations seed signature",
                        "DownloadAndSaveVariations"));
  EXPECT_TRUE(HasRecord(records, "Variations are saved in ", "DownloadAndSaveVariations"));
  // The seeds are deleted with the tasks; the wallpaper stays for the browser.
  EXPECT_FALSE(PathExists(abt));
  EXPECT_TRUE(PathExists(wallpaper));
  DeleteFileIfExists(wallpaper);
  std::optional<Value> seed_requests = cdn_.Requests("/seed");
  ASSERT_TRUE(seed_requests);
  ASSERT_EQ(seed_requests->GetIfList()->size(), 1u);
  EXPECT_NE(seed_requests->GetIfList()->front().FindPath("query")->GetIfString()->find(
                "version="),
            std::string::npos);
}

TEST_F(AsyncInstallTasksTest, DisabledDocumentsAndReservedNamesWithoutTasks) {
  UseBrand("");
  FixedParams params({{"vup", "0"}, {"abtup", "2"}, {"webntp", "1"}, {"pwexp", "abc"}});
  {
    AsyncInstallTasks tasks(*brand_, params);
    tasks.Start();
    EXPECT_TRUE(tasks.variations_path().empty());
    EXPECT_TRUE(tasks.abt_path().empty());
    ASSERT_FALSE(tasks.webntp_path().empty());
    ASSERT_FALSE(tasks.wallpaper_path().empty());
    EXPECT_NE(tasks.webntp_path(), tasks.wallpaper_path());
    // Reserved only: the names are free for setup's files.
    EXPECT_FALSE(PathExists(tasks.webntp_path()));
    EXPECT_EQ(tasks.ResultSwitches().size(), 2u);
  }
  EXPECT_EQ(cdn_.Requests("/")->GetIfList()->size(), 0u);
}

// The browser API host is compiled in; this test binary sends it to the CDN.
TEST_F(AsyncInstallTasksTest, ServerConfigBundleNamesOnlyTheBrandItHas) {
  ASSERT_EQ(_putenv_s("TOLVAR_LITE_ENDPOINT_BASE", cdn_.Url("").c_str()), 0);
  ASSERT_TRUE(cdn_.SetRule("/configs/all_zip", R"({"body": "PK bundle"})"));
  brand_->ApplyBrandInfo(R"({"brand_id": "b"})");
  FixedParams params(std::map<std::string, std::string>{{"vup", "0"}, {"abtup", "0"},
                                                        {"scup", "1"}});
  FilePath bundle;
  {
    AsyncInstallTasks tasks(*brand_, params);
    tasks.Start();
    bundle = tasks.server_config_path();
    EXPECT_EQ(WaitForFile(bundle, 9), "PK bundle");
  }
  EXPECT_FALSE(PathExists(bundle));
  std::optional<Value> requests = cdn_.Requests("/configs/");
  ASSERT_TRUE(requests && requests->GetIfList()->size() == 1);
  EXPECT_EQ(*requests->GetIfList()->front().FindPath("query")->GetIfString(), "brandID=b");
  _putenv_s("TOLVAR_LITE_ENDPOINT_BASE", "");
}

TEST_F(AsyncInstallTasksTest, ShutdownEndsARunningDownload) {
  ASSERT_TRUE(cdn_.SetRule("/seed", R"({"generate": 10000000, "rate": 50000})"));
  UseBrand("");
  FixedParams params(std::map<std::string, std::string>{});
  FilePath variations;
  DWORD stop_ms = 0;
  {
    AsyncInstallTasks tasks(*brand_, params);
    tasks.Start();
    variations = tasks.variations_path();
    for (int i = 0; i < 1000 && cdn_.Requests("/seed")->GetIfList()->empty(); ++i) Sleep(10);
    Sleep(200);
    stop_ms = GetTickCount();
  }
  stop_ms = GetTickCount() - stop_ms;
  EXPECT_LT(stop_ms, 5000u);
  EXPECT_FALSE(PathExists(variations));
  EXPECT_TRUE(cdn_.Requests("/abt")->GetIfList()->empty());
}

}  // namespace
}  // namespace lite
