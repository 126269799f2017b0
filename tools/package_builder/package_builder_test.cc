// Runs the built package_builder as a build does and reads what it made with
// gcab and OpenSSL, independently of the tool's own code.
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <dirent.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "gtest/gtest.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Whether |dir| holds a file whose name starts with |prefix|: the output, or
// a temporary file left behind on the way to it.
bool AnyFileStartingWith(const std::string& dir, const std::string& prefix) {
  DIR* listing = opendir(dir.c_str());
  bool found = false;
  while (listing && !found) {
    const dirent* entry = readdir(listing);
    if (!entry) break;
    found = std::string(entry->d_name).rfind(prefix, 0) == 0;
  }
  if (listing) closedir(listing);
  return found;
}

class PackageBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "package_builder_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }

  // The tool's exit code; its standard error goes to |dir_|/stderr.
  int Build(const std::string& arguments) {
    const std::string command = std::string(TL_PACKAGE_BUILDER) + " " + arguments +
                                " >'" + dir_ + "/stdout' 2>'" + dir_ + "/stderr'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  int BuildFrom(const std::string& json, const std::string& member,
                const std::string& key = TL_PACKAGE_KEY) {
    WriteAll(dir_ + "/config.json", json);
    return Build("--member " + member + " --key '" + key + "' --input '" + dir_ +
                 "/config.json' --output '" + dir_ + "/package.cab'");
  }

  std::string dir_;
};

// RSASSA-PKCS1-v1_5 with SHA-256 under the public half of the package key.
bool VerifiesWithPackageKey(const std::string& signature, const std::string& text) {
  FILE* file = std::fopen(TL_PACKAGE_KEY, "r");
  if (!file) return false;
  EVP_PKEY* key = PEM_read_PrivateKey(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  const bool ok =
      key && context &&
      EVP_DigestVerifyInit(context, nullptr, EVP_sha256(), nullptr, key) == 1 &&
      EVP_DigestVerify(context, reinterpret_cast<const unsigned char*>(signature.data()),
                       signature.size(),
                       reinterpret_cast<const unsigned char*>(text.data()),
                       text.size()) == 1;
  EVP_MD_CTX_free(context);
  EVP_PKEY_free(key);
  return ok;
}

std::string DecodeBase64(const std::string& text) {
  std::string bytes(text.size(), '\0');
  const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                     reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<int>(text.size()));
  if (length < 0) return {};
  // EVP_DecodeBlock counts the padding as zero bytes.
  size_t padding = 0;
  while (padding < 2 && text.size() > padding && text[text.size() - 1 - padding] == '=')
    ++padding;
  bytes.resize(length - padding);
  return bytes;
}

TEST_F(PackageBuilderTest, MemberIsSignatureLineThenTheJsonUnchanged) {
  const std::string json =
      "// comments are kept\n{\"brand_id\": \"ua_uk\", \"languages\": {\"interface\": \"uk\"}}\r\n";
  for (const std::string member : {"brand_config", "partner_config"}) {
    SCOPED_TRACE(member);
    ASSERT_EQ(BuildFrom(json, member), 0) << ReadAll(dir_ + "/stderr");
    const std::string list = "gcab -x -C '" + dir_ + "' '" + dir_ + "/package.cab'";
    ASSERT_EQ(std::system(list.c_str()), 0);
    const std::string text = ReadAll(dir_ + "/" + member);
    ASSERT_GT(text.size(), 175u);
    EXPECT_EQ(text.substr(0, 2), "//");
    EXPECT_EQ(text[174], '\n');
    const std::string signature = text.substr(2, 172);
    EXPECT_EQ(signature.find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
              std::string::npos);
    EXPECT_EQ(text.substr(175), json);
    const std::string raw = DecodeBase64(signature);
    EXPECT_EQ(raw.size(), 128u);
    EXPECT_TRUE(VerifiesWithPackageKey(raw, json));
    EXPECT_FALSE(VerifiesWithPackageKey(raw, json + " "));
    std::remove((dir_ + "/" + member).c_str());
  }
}

TEST_F(PackageBuilderTest, RefusesBadInputWithoutWritingAPackage) {
  const std::string short_key = dir_ + "/short.pem";
  ASSERT_EQ(std::system(("openssl genrsa -out '" + short_key + "' 512 2>/dev/null").c_str()), 0);
  struct Case {
    std::string label, json, member, key;
  } cases[] = {
      {"trailing comma", "{\"brand_id\": \"tb\",}", "brand_config", TL_PACKAGE_KEY},
      {"not an object", "[\"brand_config\"]", "brand_config", TL_PACKAGE_KEY},
      {"empty input", "", "brand_config", TL_PACKAGE_KEY},
      {"lone surrogate", "{\"a\": \"\\ud800\"}", "brand_config", TL_PACKAGE_KEY},
      {"other member name", "{}", "Brand_Config", TL_PACKAGE_KEY},
      {"512-bit key", "{}", "brand_config", short_key},
      {"no key file", "{}", "brand_config", dir_ + "/absent.pem"},
      {"key is not PEM", "{}", "brand_config", dir_ + "/config.json"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(BuildFrom(c.json, c.member, c.key), 1);
    EXPECT_FALSE(ReadAll(dir_ + "/stderr").empty());
    EXPECT_FALSE(AnyFileStartingWith(dir_, "package.cab"));
  }
  EXPECT_EQ(Build("--help"), 0);
  EXPECT_NE(ReadAll(dir_ + "/stdout").find("SHA-256"), std::string::npos);
  EXPECT_EQ(Build("--member brand_config --input x"), 1);
}

}  // namespace
