#include "trust/trusted_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "logging/log_severity.h"
#include "logging/recording_logger_for_testing.h"
#include "trust/trust_verifier.h"

namespace lite {
namespace {

const std::string kDigestHex(64, 'a');
const std::string kDigest(32, '\xaa');

class TrustedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  std::vector<LogRecord> records_;
};

TEST_F(TrustedFilesTest, MalformedDocumentsEmptyTheMapWithTheirErrorLine) {
  TrustedCertificateMap map = {{"x", {"x", ""}}};
  EXPECT_FALSE(GetTrustedFiles("", &map));
  EXPECT_TRUE(map.empty());
  EXPECT_TRUE(HasRecord(records_, "Failed to read json : Line: 1", "GetTrustedFiles"));
  for (const char* text :
       {"[]", "{}", "{\"trusted_info\":[]}", "{\"trusted_info\":{\"certificates\":{}}}"}) {
    records_.clear();
    map = {{"x", {"x", ""}}};
    EXPECT_FALSE(GetTrustedFiles(text, &map)) << text;
    EXPECT_TRUE(map.empty()) << text;
    ASSERT_EQ(records_.size(), 1u) << text;
    EXPECT_EQ(records_[0].message, "Incorrect format of json");
    EXPECT_EQ(records_[0].severity, LOGSEV_ERROR);
  }
}

TEST_F(TrustedFilesTest, TakesValidElementsInTheInstallersDialectAndKeepsTheFirstOfAnId) {
  // "AQI=" is 01 02, "AQM=" 01 03, "gA==" 80, "fw==" 7f.
  const std::string text =
      "// a comment\n"
      "{\"trusted_info\":{\"certificates\":[\n"
      "  {\"id\":\"AQI=\",\"pub_key\":\"" +
      kDigestHex +
      "\"},\n"
      "  {\"id\":\"AQI=\"},\n"
      "  {\"id\":\"AQM=\",\"pub_key\":\"" +
      kDigestHex.substr(2) +
      "\"},\n"
      "  {\"id\":\"gA==\",\"pub_key\":\"" +
      std::string(62, 'a') +
      "zz\"},\n"
      "  {\"id\":\"fw==\",\"pub_key\":7},\n"
      "  {\"id\":\"not base64\"}, {\"id\":5}, {\"pub_key\":\"" +
      kDigestHex +
      "\"}, \"AQI=\", 3\n"
      "]}}";
  TrustedCertificateMap map;
  ASSERT_TRUE(GetTrustedFiles(text, &map));
  ASSERT_EQ(map.size(), 4u);
  EXPECT_EQ(map.at("\x01\x02").public_key_sha256, kDigest);
  EXPECT_EQ(map.at("\x01\x03").public_key_sha256, "");
  EXPECT_EQ(map.at("\x80").public_key_sha256, "");
  EXPECT_EQ(map.at("\x7f").public_key_sha256, "");
  // Unsigned byte order: 0x80 sorts after 0x7f.
  EXPECT_EQ(map.rbegin()->first, "\x80");
  EXPECT_TRUE(records_.empty());

  const TrustVerifier verifier(text);
  ASSERT_NE(verifier.Find("\x01\x02"), nullptr);
  EXPECT_EQ(verifier.Find("\x01\x02")->public_key_sha256, kDigest);
  EXPECT_EQ(verifier.Find("\x01"), nullptr);
  EXPECT_TRUE(TrustVerifier("{").empty());
}

TEST(TrustedCertificateTest, AListedDigestNeedsAnEqualComputedOne) {
  const TrustedCertificate with_digest{"id", kDigest};
  EXPECT_TRUE(with_digest.MatchesPublicKey(kDigest));
  EXPECT_FALSE(with_digest.MatchesPublicKey(std::string(32, 'b')));
  EXPECT_FALSE(with_digest.MatchesPublicKey(""));
  const TrustedCertificate without_digest{"id", ""};
  EXPECT_TRUE(without_digest.MatchesPublicKey(kDigest));
  EXPECT_TRUE(without_digest.MatchesPublicKey(""));
}

}  // namespace
}  // namespace lite
