// Runs the built trust_tool as a build does and checks what it writes with
// OpenSSL directly.
#include <openssl/pem.h>
#include <openssl/sha.h>
#include <openssl/x509.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/base64.h"
#include "base/json/json_reader.h"
#include "gtest/gtest.h"

namespace lite {
namespace {

const std::string kKeys = TL_TEST_KEYS_DIR;
const std::string kSigner = kKeys + "/test_signing.pem";
const std::string kIssuer = kKeys + "/test_root_ca.pem";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string KeyPem(int n) { return kKeys + "/trust_key_" + std::to_string(n) + ".pem"; }

// SHA-256 of the RSA public key as the certificate's bit string holds it
// (the DER RSAPublicKey), in hex.
std::string PublicKeyDigestHex(const std::string& pem_path) {
  FILE* file = std::fopen(pem_path.c_str(), "r");
  if (!file) return "";
  X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  if (!certificate) return "";
  unsigned char* der = nullptr;
  const int length = i2d_PublicKey(X509_get0_pubkey(certificate), &der);
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(der, length, digest);
  OPENSSL_free(der);
  X509_free(certificate);
  std::string hex;
  char pair[3];
  for (unsigned char byte : digest) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex;
}

class TrustToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "trust_tool_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // The exit code; standard error is kept in stderr_.
  int Run(const std::string& arguments) {
    const std::string command = std::string(TL_TRUST_TOOL) + " " + arguments + " >'" + dir_ +
                                "/stdout' 2>'" + dir_ + "/stderr'";
    const int status = std::system(command.c_str());
    stderr_ = ReadAll(dir_ + "/stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
  std::string stderr_;
};

TEST_F(TrustToolTest, ListsTheSignerByIssuerAndSignerSerialsAndKeyDigest) {
  ASSERT_EQ(Run("json --signer " + kSigner + " --issuer " + kIssuer + " --out " + Path("a.json")),
            0)
      << stderr_;
  const std::string expected_entry = "{\"id\":\"" + Base64Encode("\x10\x01\x20\x01") +
                                     "\",\"pub_key\":\"" + PublicKeyDigestHex(kSigner) + "\"}";
  EXPECT_EQ(ReadAll(Path("a.json")),
            "{\"trusted_info\":{\"certificates\":[" + expected_entry + "]}}");

  // Swapped roles and no digest, listed after the entries of a.json.
  ASSERT_EQ(Run("json --no-pub-key --signer " + kIssuer + " --issuer " + kSigner + " --append " +
                Path("a.json") + " --out " + Path("b.json")),
            0)
      << stderr_;
  EXPECT_EQ(ReadAll(Path("b.json")), "{\"trusted_info\":{\"certificates\":[" + expected_entry +
                                         ",{\"id\":\"" + Base64Encode("\x20\x01\x10\x01") +
                                         "\"}]}}");
}

TEST_F(TrustToolTest, SignaturesOfEveryKeyVerifyWithTheBuiltInKeyOfTheirNumber) {
  WriteAll(Path("t.json"), "{\"trusted_info\":{\"certificates\":[]}}\n");
  for (int n = 0; n < 10; ++n) {
    const std::string sig = Path("s" + std::to_string(n) + ".dat");
    ASSERT_EQ(Run("sign --key-number " + std::to_string(n) + " --key " + KeyPem(n) + " --in " +
                  Path("t.json") + " --out " + sig),
              0)
        << stderr_;
    const std::string bytes = ReadAll(sig);
    ASSERT_EQ(bytes.size(), 130u);
    EXPECT_EQ(bytes[0], n);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(Run("verify --key-number " + std::to_string(n) + " --in " + Path("t.json") +
                  " --sig " + sig),
              0)
        << n << ": " << stderr_;
  }
  // One changed byte of the document, another key's number, a signature
  // made by another key than the one it names.
  WriteAll(Path("u.json"), "{\"trusted_info\":{\"certificates\":[]}} \n");
  EXPECT_EQ(Run("verify --key-number 0 --in " + Path("u.json") + " --sig " + Path("s0.dat")), 1);
  EXPECT_EQ(Run("verify --key-number 1 --in " + Path("t.json") + " --sig " + Path("s0.dat")), 1);
  ASSERT_EQ(Run("sign --key-number 2 --key " + KeyPem(3) + " --in " + Path("t.json") + " --out " +
                Path("wrong.dat")),
            0);
  EXPECT_EQ(Run("verify --key-number 2 --in " + Path("t.json") + " --sig " + Path("wrong.dat")), 1);
}

TEST_F(TrustToolTest, BadInputIsRefusedWithAReasonAndNoOutput) {
  WriteAll(Path("t.json"), "{}");
  WriteAll(Path("junk.pem"), "-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n");
  const std::string out = " --out " + Path("out");
  EXPECT_EQ(Run("json --signer " + Path("missing.pem") + " --issuer " + kIssuer + out), 1);
  EXPECT_NE(stderr_.find("missing.pem"), std::string::npos) << stderr_;
  EXPECT_EQ(Run("json --signer " + Path("junk.pem") + " --issuer " + kIssuer + out), 1);
  EXPECT_NE(stderr_.find("signer"), std::string::npos) << stderr_;
  EXPECT_EQ(Run("json --signer " + kSigner + " --issuer " + kIssuer + " --append " +
                Path("t.json") + out),
            1);
  EXPECT_EQ(Run("sign --key-number 10 --key " + KeyPem(0) + " --in " + Path("t.json") + out), 1);
  EXPECT_NE(stderr_.find("0 to 9"), std::string::npos) << stderr_;
  EXPECT_EQ(Run("sign --key-number 0 --key " + kSigner + " --in " + Path("t.json") + out), 1);
  EXPECT_EQ(ReadAll(Path("out")), "");
  EXPECT_EQ(Run("sign --key-number 0 --in " + Path("t.json") + out), 2);
  EXPECT_EQ(Run("frobnicate"), 2);
  EXPECT_EQ(Run("--help"), 0);
}

}  // namespace
}  // namespace lite
