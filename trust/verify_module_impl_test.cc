#include "trust/verify_module_impl.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "base/base64.h"
#include "logging/log_severity.h"
#include "logging/recording_logger_for_testing.h"
#include "trust/public_key_digest.h"

namespace lite {
namespace {

constexpr char kOlderOid[] = "1.2.840.113549.1.1.5";  // SHA-1 with RSA
constexpr int32_t kBadAlgorithm = static_cast<int32_t>(0x80090008);      // NTE_BAD_ALGID
constexpr int32_t kUnknownAlgorithm = static_cast<int32_t>(0x80091002);  // CRYPT_E_UNKNOWN_ALGO
const FilePath kPath(u"C:\\t\\setup.exe");

// One signature of the scripted file.
struct FakeSignature {
  SignatureCheck check;            // the first verification
  SignatureCheck hash_only_check;  // the hash-only second try
  bool has_params = true;
  CertParams params;
};

// A signature whose certificate has serial |signer| (one byte) under the
// issuer serial 01 02 (stored reversed, as Windows keeps it).
FakeSignature Signature(const char* oid, char signer, const std::string& key = "key") {
  FakeSignature signature;
  signature.params.issuer_serial = "\x02\x01";
  signature.params.signer_serial = std::string(1, signer);
  signature.params.signature_algorithm = oid;
  signature.params.public_key = key;
  return signature;
}

std::string Id(char signer) { return std::string("\x01\x02") + signer; }

std::string Digest(const std::string& key) {
  std::string digest;
  EXPECT_TRUE(PublicKeySha256(key, &digest));
  return digest;
}

class FakeSource : public SignatureSource {
 public:
  FakeSource(std::vector<FakeSignature> signatures, bool extended_check)
      : signatures_(std::move(signatures)), extended_check_(extended_check) {}

  SignatureCheck Verify(uint32_t index, bool hash_only) override {
    calls.emplace_back(index, hash_only);
    last_ = index;
    return hash_only ? signatures_[index].hash_only_check : signatures_[index].check;
  }
  uint32_t SecondarySignatureCount() const override {
    return static_cast<uint32_t>(signatures_.size() - 1);
  }
  bool ExtractCertParams(CertParams* params) override {
    *params = signatures_[last_].params;
    return signatures_[last_].has_params;
  }
  bool IsExtendedCheckNeeded() const override { return extended_check_; }
  void Close() override { ++closes; }

  std::vector<std::pair<uint32_t, bool>> calls;
  int closes = 0;

 private:
  std::vector<FakeSignature> signatures_;
  bool extended_check_;
  uint32_t last_ = 0;
};

class VerifyModuleImplTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  // A verifier listing |entries| (id, digest).
  static TrustVerifier Listing(const std::vector<TrustedCertificate>& entries) {
    static const char kHex[] = "0123456789abcdef";
    std::string text = "{\"trusted_info\":{\"certificates\":[";
    for (const TrustedCertificate& entry : entries) {
      text += "{\"id\":\"" + Base64Encode(entry.id) + "\"";
      if (!entry.public_key_sha256.empty()) {
        text += ",\"pub_key\":\"";
        for (unsigned char c : entry.public_key_sha256) text += {kHex[c >> 4], kHex[c & 15]};
        text += "\"";
      }
      text += "},";
    }
    text.back() = ']';
    return TrustVerifier(text + "}}");
  }

  bool Has(const std::string& message, int32_t severity = LOGSEV_ERROR,
           const std::string& function = "VerifyModuleImpl") const {
    for (const LogRecord& r : records_) {
      if (r.message == message && r.severity == severity && r.function == function) return true;
    }
    return false;
  }
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const LogRecord& r : records_) n += r.message.rfind(prefix, 0) == 0;
    return n;
  }

  std::vector<LogRecord> records_;
};

TEST_F(VerifyModuleImplTest, ListedSha256SignatureIsAcceptedAtOnce) {
  FakeSource source({Signature(kSha256WithRsaOid, 'a'), Signature(kSha256WithRsaOid, 'b')}, false);
  EXPECT_TRUE(VerifyModuleImpl(kPath, Listing({{Id('a'), Digest("key")}}), &source));
  EXPECT_TRUE(Has("File successfully verified with sha256. C:\\t\\setup.exe", LOGSEV_INFO));
  EXPECT_EQ(source.calls, (std::vector<std::pair<uint32_t, bool>>{{0, false}}));
  EXPECT_EQ(source.closes, 1);
}

TEST_F(VerifyModuleImplTest, EmptyVerifierRejectsWithoutVerifyingOrLogging) {
  FakeSource source({Signature(kSha256WithRsaOid, 'a')}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, TrustVerifier(), &source));
  EXPECT_TRUE(source.calls.empty());
  EXPECT_TRUE(records_.empty());
}

TEST_F(VerifyModuleImplTest, FailedSha256SignatureOverridesAListedOlderOneInEitherOrder) {
  const TrustVerifier older_listed = Listing({{Id('o'), ""}});
  FakeSource older_first({Signature(kOlderOid, 'o'), Signature(kSha256WithRsaOid, 's')}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, older_listed, &older_first));
  EXPECT_TRUE(Has("Can not find sertificate in trusted list. C:\\t\\setup.exe"));
  EXPECT_TRUE(Has("SHA256 verification failed. C:\\t\\setup.exe"));
  EXPECT_TRUE(Has("KNOWN_ERROR_untrusted_certificate"));
  EXPECT_TRUE(Has("Can not find any trusted certificates. C:\\t\\setup.exe"));
  EXPECT_FALSE(Has("File successfully verified. C:\\t\\setup.exe", LOGSEV_INFO));

  records_.clear();
  FakeSource sha256_first({Signature(kSha256WithRsaOid, 's'), Signature(kOlderOid, 'o')}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, older_listed, &sha256_first));
  EXPECT_EQ(sha256_first.calls.size(), 2u);
  // The older signature is ignored before it is looked up.
  EXPECT_EQ(Count("Can not find sertificate in trusted list. "), 1);
  EXPECT_TRUE(Has("KNOWN_ERROR_untrusted_certificate"));

  // Alone, the listed older signature is accepted as the fallback.
  records_.clear();
  FakeSource older_only({Signature(kOlderOid, 'o'), Signature(kOlderOid, 'x')}, false);
  EXPECT_TRUE(VerifyModuleImpl(kPath, older_listed, &older_only));
  EXPECT_TRUE(Has("File successfully verified. C:\\t\\setup.exe", LOGSEV_INFO));
}

TEST_F(VerifyModuleImplTest, PublicKeyDigestDecidesUnlessTheEntryHasNone) {
  FakeSource mismatched({Signature(kSha256WithRsaOid, 'a', "other key")}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, Listing({{Id('a'), Digest("key")}}), &mismatched));
  EXPECT_TRUE(Has("Public key is not match. C:\\t\\setup.exe"));
  EXPECT_TRUE(Has("SHA256 verification failed. C:\\t\\setup.exe"));

  FakeSource any_key({Signature(kSha256WithRsaOid, 'a', "other key")}, false);
  EXPECT_TRUE(VerifyModuleImpl(kPath, Listing({{Id('a'), ""}}), &any_key));

  // A key with unused bits has no digest: it cannot satisfy a listed one.
  records_.clear();
  FakeSignature odd_key = Signature(kSha256WithRsaOid, 'a', "key");
  odd_key.params.public_key_unused_bits = 3;
  FakeSource unhashable({odd_key}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, Listing({{Id('a'), Digest("key")}}), &unhashable));
  EXPECT_TRUE(Has("Unsupported case: cUnusedBit=3", LOGSEV_ERROR, "ExtractCertParams"));
  EXPECT_TRUE(Has("Public key is not match. C:\\t\\setup.exe"));
  FakeSource unhashable_unlisted_key({odd_key}, false);
  EXPECT_TRUE(VerifyModuleImpl(kPath, Listing({{Id('a'), ""}}), &unhashable_unlisted_key));
}

TEST_F(VerifyModuleImplTest, FailedSignatureGetsAHashOnlyRetryOnlyBeforeWindows10) {
  FakeSignature unknown_algorithm = Signature(kSha256WithRsaOid, 'a');
  unknown_algorithm.check.result = kBadAlgorithm;
  const TrustVerifier listed = Listing({{Id('a'), Digest("key")}});

  FakeSource windows10({unknown_algorithm}, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, listed, &windows10));
  EXPECT_EQ(windows10.calls.size(), 1u);
  EXPECT_EQ(Count("Start additional sha256 verification. "), 0);

  FakeSource windows7({unknown_algorithm}, true);
  EXPECT_TRUE(VerifyModuleImpl(kPath, listed, &windows7));
  EXPECT_EQ(windows7.calls, (std::vector<std::pair<uint32_t, bool>>{{0, false}, {0, true}}));
  EXPECT_TRUE(Has("Start additional sha256 verification. C:\\t\\setup.exe Error code: -2146893816",
                  LOGSEV_WARNING));
  EXPECT_TRUE(Has("Extended verification success. C:\\t\\setup.exe Error code: 0", LOGSEV_INFO));

  // A failed retry moves on; the next signature is checked in full again
  // and can still accept the file.
  FakeSignature hash_fails = unknown_algorithm;
  hash_fails.hash_only_check.result = static_cast<int32_t>(0x80096010);
  FakeSource retry_fails({hash_fails, Signature(kSha256WithRsaOid, 'a')}, true);
  EXPECT_TRUE(VerifyModuleImpl(kPath, listed, &retry_fails));
  EXPECT_TRUE(
      Has("Extended verification failed. C:\\t\\setup.exe Error code: -2146869232", LOGSEV_INFO));
  EXPECT_EQ(retry_fails.calls,
            (std::vector<std::pair<uint32_t, bool>>{{0, false}, {0, true}, {1, false}}));
}

TEST_F(VerifyModuleImplTest, HashOnlyRetryForgivesOnlyAnUnknownAlgorithm) {
  const TrustVerifier listed = Listing({{Id('a'), Digest("key")}});
  for (uint32_t failure : {0x800B010Cu,    // revoked
                           0x80096004u,    // the certificate's own signature is bad
                           0x800B0109u,    // untrusted root
                           0x800B010Au,    // broken chain
                           0x800B010Eu,    // revocation could not be checked
                           0x80092013u}) {  // revocation server offline
    FakeSignature refused = Signature(kSha256WithRsaOid, 'a');
    refused.check.result = static_cast<int32_t>(failure);
    FakeSource windows7({refused}, true);
    EXPECT_FALSE(VerifyModuleImpl(kPath, listed, &windows7)) << std::hex << failure;
    EXPECT_EQ(windows7.calls.size(), 1u) << std::hex << failure;
  }
  EXPECT_EQ(Count("Start additional sha256 verification. "), 0);
}

TEST_F(VerifyModuleImplTest, SignatureValidOnlyByHashNeedsItsKeyListed) {
  struct Case {
    const char* oid;
    std::string listed_digest;  // of the document's entry for the signer
    bool accepted;
  };
  const Case cases[] = {
      {kSha256WithRsaOid, Digest("key"), true},
      {kSha256WithRsaOid, "", false},  // an entry without a key vouches for no key here
      {kSha256WithRsaOid, Digest("other key"), false},
      {kOlderOid, Digest("key"), true},
      {kOlderOid, "", false},
  };
  for (const Case& c : cases) {
    FakeSignature by_hash = Signature(c.oid, 'a');
    by_hash.check.result = kUnknownAlgorithm;
    FakeSource windows7({by_hash}, true);
    EXPECT_EQ(VerifyModuleImpl(kPath, Listing({{Id('a'), c.listed_digest}}), &windows7), c.accepted)
        << c.oid << " with a listed key: " << !c.listed_digest.empty();
  }
}

TEST_F(VerifyModuleImplTest, WalksAtMostEightNestedSignatures) {
  std::vector<FakeSignature> signatures(12, Signature(kSha256WithRsaOid, 'x'));
  signatures.back() = Signature(kSha256WithRsaOid, 'a');
  FakeSource source(signatures, false);
  EXPECT_FALSE(VerifyModuleImpl(kPath, Listing({{Id('a'), ""}}), &source));
  EXPECT_EQ(source.calls.size(), 9u);
  EXPECT_TRUE(Has("C:\\t\\setup.exe has 11 nested signatures; only the first 8 are checked",
                  LOGSEV_WARNING));
}

TEST_F(VerifyModuleImplTest, ExceptionsAndMissingCertificatesSkipToTheNextSignature) {
  FakeSignature raises = Signature(kSha256WithRsaOid, 'x');
  raises.check.raised_exception = true;
  raises.check.exception_code = 0xC0000005;
  FakeSignature no_params = Signature(kSha256WithRsaOid, 'x');
  no_params.has_params = false;
  FakeSource source({raises, no_params, Signature(kSha256WithRsaOid, 'a')}, true);
#ifndef _WIN32
  ::testing::internal::CaptureStderr();  // the library diagnostics file on the host
#endif
  EXPECT_TRUE(VerifyModuleImpl(kPath, Listing({{Id('a'), ""}}), &source));
#ifndef _WIN32
  const std::string diagnostics = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(diagnostics.find(":ERROR:verify_module_impl.cc("), std::string::npos) << diagnostics;
  EXPECT_NE(diagnostics.find("] ExtractCertParams failed. C:\\t\\setup.exe\n"), std::string::npos);
#endif
  EXPECT_TRUE(
      Has("An attempt to verify C:\\t\\setup.exe generated an exception 3221225477, "
          "is_prevents_net_usage = 0"));
  // An exception is not a failed result: no hash-only retry.
  EXPECT_EQ(source.calls.size(), 3u);
  EXPECT_EQ(Count("Can not find sertificate"), 0);
  EXPECT_EQ(source.closes, 1);
}

}  // namespace
}  // namespace lite
