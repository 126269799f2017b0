// Interactive installations behind a proxy that wants credentials the user
// has to type: the system's prompt comes up over the window once, and what
// the user does with it decides how the run ends. The proxy is the user's,
// set in the Internet settings, and the CDN refuses every connection that
// does not come through it. The settings are per user: the suite runs alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string_view>

#include "base/utf.h"
#include "tests/cdn/test_proxy_win.h"
#include "tests/support/user_proxy_settings_win.h"
#include "tests/ui/proxy_credentials_dialog_win.h"
#include "tests/ui/ui_installation_test_win.h"

namespace lite {
namespace testing {
namespace {

constexpr char kProxyUser[] = "tolvar";
constexpr char kProxyPassword[] = "pr0xy-s3cret";

// A text field of a server's record; empty when absent.
std::string TextOf(const Value& record, std::string_view name) {
  const Value* value = record.FindPath(name);
  const std::string* text = value ? value->GetIfString() : nullptr;
  return text ? *text : std::string();
}

enum class PromptAnswer { kRight, kWrong, kCancel };

struct ProxyPromptCase {
  const char* name;
  PromptAnswer answer;
};

void PrintTo(const ProxyPromptCase& c, std::ostream* out) { *out << c.name; }

class UiProxyInstallationTest : public UiInstallationTest,
                                public ::testing::WithParamInterface<ProxyPromptCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(proxy_.Start(std::string(kProxyUser) + ":" + kProxyPassword));
    settings_ = std::make_unique<ScopedUserProxySettings>(ManualProxy(proxy_.HostPort()));
    ASSERT_TRUE(settings_->applied());
    run_.cdn().set_only_from("127.0.0.2");
  }

  // Every prompt of the installer seen from now until it ends, by window.
  std::set<HWND> PromptsUntilExit(DWORD timeout_ms) {
    std::set<HWND> seen;
    WaitUntil(
        [&] {
          for (const ProxyCredentialsDialog& prompt : ProxyCredentialsDialogsOf(run_.process_id())) {
            seen.insert(prompt.hwnd);
          }
          return run_.WaitForExit(0).has_value();
        },
        timeout_ms, 50);
    return seen;
  }

  // The proxy's records of the setup archive's URL.
  std::vector<const Value*> ArchiveRequests(const Value& records) const {
    std::vector<const Value*> archive;
    if (!records.is_list()) return archive;
    for (const Value& record : *records.GetIfList()) {
      if (TextOf(record, "path").find("/browser-setup.arc") != std::string::npos) {
        archive.push_back(&record);
      }
    }
    return archive;
  }

  TestProxy proxy_;
  std::unique_ptr<ScopedUserProxySettings> settings_;
};

// The download starts behind the welcome screen and meets the proxy's 407:
// the prompt comes up over the window. Right credentials let the
// installation finish; cancelling it or typing wrong ones ends like a failed
// download, with its dialog, and the prompt never comes back.
TEST_P(UiProxyInstallationTest, PromptOverTheWindowDecidesTheRun) {
  const ProxyPromptCase& c = GetParam();
  const InstallerWindow window =
      Begin({Archive::kSigned}, {u"--distr-info-params=uac=2"}, {kSetupExitCode, 0});
  ASSERT_TRUE(window.hwnd());

  std::vector<ProxyCredentialsDialog> prompts;
  ASSERT_TRUE(Within("the proxy credentials prompt",
                     [&] { return !(prompts = ProxyCredentialsDialogsOf(run_.process_id())).empty(); },
                     kWindowTimeoutMs));
  const ProxyCredentialsDialog prompt = prompts.front();
  EXPECT_EQ(prompt.owner, window.hwnd()) << "the prompt is not the window's";
  EXPECT_NE(prompt.proxy.find(UTF8ToUTF16(proxy_.HostPort())), std::u16string::npos)
      << UTF16ToUTF8(prompt.proxy);
  EXPECT_EQ(prompt.realm, u"tolvar-test-proxy");
  ShotOf(DialogWithOwnerRect(prompt), "prompt");
  switch (c.answer) {
    case PromptAnswer::kRight:
      ASSERT_TRUE(AnswerProxyCredentialsDialog(prompt, UTF8ToUTF16(kProxyUser),
                                               UTF8ToUTF16(kProxyPassword)));
      break;
    case PromptAnswer::kWrong:
      ASSERT_TRUE(AnswerProxyCredentialsDialog(prompt, UTF8ToUTF16(kProxyUser), u"wrong"));
      break;
    case PromptAnswer::kCancel:
      ASSERT_TRUE(CancelProxyCredentialsDialog(prompt));
      break;
  }
  // Gone before Install, or the wait for the installer's own dialog below
  // would take the closing prompt for it.
  ASSERT_TRUE(Within("the prompt closing",
                     [&] { return !IsWindow(prompt.hwnd) || !IsWindowVisible(prompt.hwnd); },
                     kWindowTimeoutMs));
  ASSERT_TRUE(window.Click(kInstall));

  std::set<HWND> later_prompts;
  if (c.answer == PromptAnswer::kRight) {
    later_prompts = PromptsUntilExit(kRunTimeoutMs);
    EXPECT_EQ(ExitCode(kRunTimeoutMs), kSetupExitCode);
    EXPECT_TRUE(run_.SetupRecord()) << "setup did not run";
  } else {
    const std::optional<InstallerDialog> dialog = WaitForDialog(window);
    EXPECT_EQ(Recognize(dialog), SeenDialog::kFailedDownload);
    for (const ProxyCredentialsDialog& again : ProxyCredentialsDialogsOf(run_.process_id())) {
      later_prompts.insert(again.hwnd);
    }
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(InstallerWindow(dialog->hwnd).Click(kClose));
    EXPECT_EQ(ExitCode(kRunTimeoutMs), 401);
    EXPECT_FALSE(run_.SetupRecord()) << "setup ran";
  }
  later_prompts.erase(prompt.hwnd);
  EXPECT_TRUE(later_prompts.empty()) << later_prompts.size() << " more prompts";
  EXPECT_EQ(run_.LogLinesWith("wants credentials: asking the user").size(), 1u);

  // Everything went through the proxy, and the password is nowhere.
  const std::optional<Value> records = proxy_.Requests();
  ASSERT_TRUE(records);
  const std::vector<const Value*> archive = ArchiveRequests(*records);
  ASSERT_FALSE(archive.empty());
  const size_t forwarded = std::count_if(archive.begin(), archive.end(), [](const Value* r) {
    return TextOf(*r, "outcome") == "forwarded";
  });
  if (c.answer == PromptAnswer::kRight) {
    EXPECT_GE(forwarded, 1u);
  } else {
    EXPECT_EQ(forwarded, 0u);
    // One attempt's bounded sends, not an attempt per retry pause.
    EXPECT_LE(archive.size(), 6u) << archive.size() << " requests for the archive";
  }
  const std::optional<Value> cdn_records = run_.cdn().Requests();
  ASSERT_TRUE(cdn_records && cdn_records->is_list());
  for (const Value& record : *cdn_records->GetIfList()) {
    EXPECT_EQ(TextOf(record, "refused_peer"), "")
        << "a request went around the proxy: " << TextOf(record, "path");
  }
  EXPECT_TRUE(run_.LogLinesWith(kProxyPassword).empty()) << "the password is in the log";
}

INSTANTIATE_TEST_SUITE_P(Answers, UiProxyInstallationTest,
                         ::testing::Values(ProxyPromptCase{"Right", PromptAnswer::kRight},
                                           ProxyPromptCase{"Wrong", PromptAnswer::kWrong},
                                           ProxyPromptCase{"Cancel", PromptAnswer::kCancel}),
                         RowName());

}  // namespace
}  // namespace testing
}  // namespace lite
