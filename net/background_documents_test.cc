#include "net/background_documents.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

const BackgroundDocumentRule& RuleFor(BackgroundDocument document) {
  for (const BackgroundDocumentRule& rule : kBackgroundDocumentRules) {
    if (rule.document == document) return rule;
  }
  return kBackgroundDocumentRules[0];
}

TEST(BackgroundDocumentsTest, ParametersAndDefaultsDecideWhatIsFetched) {
  const auto& vup = RuleFor(BackgroundDocument::kVariations);
  EXPECT_TRUE(IsBackgroundDocumentEnabled(vup, std::nullopt));
  EXPECT_TRUE(IsBackgroundDocumentEnabled(vup, "1"));
  for (const char* off : {"0", "2", "", "yes", "1 "}) {
    EXPECT_FALSE(IsBackgroundDocumentEnabled(vup, std::string(off))) << off;
  }
  EXPECT_TRUE(IsBackgroundDocumentEnabled(RuleFor(BackgroundDocument::kAbt), std::nullopt));
  for (BackgroundDocument off_by_default :
       {BackgroundDocument::kWebNtp, BackgroundDocument::kServerConfig,
        BackgroundDocument::kWallpaper}) {
    EXPECT_FALSE(IsBackgroundDocumentEnabled(RuleFor(off_by_default), std::nullopt));
  }
  EXPECT_FALSE(IsBackgroundDocumentEnabled(RuleFor(BackgroundDocument::kServerConfig), "2"));
  const auto& wallpaper = RuleFor(BackgroundDocument::kWallpaper);
  EXPECT_TRUE(IsBackgroundDocumentEnabled(wallpaper, "abc"));
  EXPECT_FALSE(IsBackgroundDocumentEnabled(wallpaper, ""));
}

TEST(BackgroundDocumentsTest, ServerConfigQueryHasOnlyTheIdsThatExist) {
  EXPECT_EQ(ServerConfigBundleUrl("https://api.example", "b", ""),
            "https://api.example/configs/all_zip?brandID=b");
  EXPECT_EQ(ServerConfigBundleUrl("https://api.example", "", "p q"),
            "https://api.example/configs/all_zip?partnerID=p q");
  EXPECT_EQ(ServerConfigBundleUrl("https://api.example", "b", "p"),
            "https://api.example/configs/all_zip?brandID=b&partnerID=p");
  EXPECT_EQ(ServerConfigBundleUrl("https://api.example", "", ""), "https://api.example/configs/all_zip");
}

TEST(BackgroundDocumentsTest, VariationsFileLayout) {
  EXPECT_EQ(VariationsJson(std::string("seed\0\xff", 6), "sig\"1", "", "de"),
            "{\r\n"
            "   \"variations_country\": \"de\",\r\n"
            "   \"variations_last_modified_time\": \"\",\r\n"
            "   \"variations_seed_base64\": \"c2VlZAD/\",\r\n"
            "   \"variations_seed_signature\": \"sig\\\"1\"\r\n"
            "}\r\n");
}

}  // namespace
}  // namespace lite
