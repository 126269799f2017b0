#include "ui/dialogs/dialog_kind.h"

#include <gtest/gtest.h>

#include "base/endpoints.h"
#include "ui/dialogs/browser_site.h"

namespace lite {
namespace {

TEST(DialogKindTest, ErrorCodeChoosesTheDialog) {
  struct Case {
    int code;
    bool download_disabled;
    std::optional<DialogKind> kind;
  } cases[] = {
      {0, false, std::nullopt},
      {1, false, DialogKind::kInstallFailedDownload},
      {2, true, DialogKind::kInstallFailedLog},
      {3, true, DialogKind::kOutdatedRevocationProvider},
      {4, false, DialogKind::kX64OnX32},
      {5, false, DialogKind::kFolderLocked},
      {6, false, DialogKind::kAlreadyInstalled},
      {7, true, DialogKind::kAnotherInstallation},
      {42, false, DialogKind::kInstallFailedDownload},
      {-1, true, DialogKind::kInstallFailedLog},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogKindForError(c.code, c.download_disabled), c.kind) << c.code;
  }
}

TEST(DialogKindTest, KindsAndClassicVariants) {
  EXPECT_EQ(DialogKindFromNumber(12), DialogKind::kInstallFailedLog);
  for (int number : {1, 2, 13, -1}) EXPECT_EQ(DialogKindFromNumber(number), std::nullopt);

  const RedesignedDialogSpec& open = GetDialogSpec(DialogKind::kAlreadyInstalled);
  EXPECT_EQ(open.message_id, 0);  // title and button only
  EXPECT_EQ(open.action, DialogAction::kStartBrowser);
  const RedesignedDialogSpec& log = GetDialogSpec(DialogKind::kInstallFailedLog);
  EXPECT_TRUE(log.append_log_path);
  EXPECT_EQ(log.button1_id, 507);
  EXPECT_EQ(GetDialogSpec(DialogKind::kInstallFailedDownload).action,
            DialogAction::kOpenLandingPage);
  EXPECT_EQ(GetDialogSpec(DialogKind::kInstallInterrupted).button2_id, 504);

  EXPECT_EQ(ClassicNoticeVariant(DialogKind::kCorporateUpdate),
            ClassicDialogVariant::kCorporateUpdate);
  EXPECT_EQ(ClassicNoticeVariant(DialogKind::kInstallFailedLog), std::nullopt);
  const ClassicDialogSpec& resume = GetClassicDialogSpec(ClassicDialogVariant::kResume);
  EXPECT_EQ(resume.button2_id, 421);
  EXPECT_TRUE(resume.buttons_right_aligned);
  EXPECT_EQ(GetClassicDialogSpec(ClassicDialogVariant::kNotEnoughDiskSpace).title_id, 471);
}

TEST(BrowserSiteTest, RegionalVariantByExactBrandId) {
  EXPECT_EQ(BrowserSiteForBrand("tb"), endpoints::kBrowserSiteTr);
  EXPECT_EQ(BrowserSiteForBrand("int"), endpoints::kBrowserSiteInt);
  EXPECT_EQ(BrowserSiteForBrand("ua-uk"), endpoints::kBrowserSiteUa);
  EXPECT_EQ(BrowserSiteForBrand("ua-ru"), endpoints::kBrowserSiteUa);
  for (const char* other : {"ua", "TB", "tolvar", ""}) {
    EXPECT_EQ(BrowserSiteForBrand(other), endpoints::kBrowserSite) << other;
  }
  EXPECT_EQ(BrowserSiteUrl("int"), std::string(endpoints::kBrowserSiteInt) + "/?from=installer");
  EXPECT_EQ(FeedbackPageUrl("x"),
            std::string(endpoints::kBrowserSite) + "/feedback/?from=installer");
  // The end-to-end build sends the site to its test server like every other host.
  EXPECT_EQ(endpoints::RewriteCompiledInHost(FeedbackPageUrl("tb"), "http://127.0.0.1:9"),
            "http://127.0.0.1:9/feedback/?from=installer");
}

}  // namespace
}  // namespace lite
