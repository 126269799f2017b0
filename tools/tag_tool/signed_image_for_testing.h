// Small real PE images for tests, signed at test time with the development
// code-signing certificate by osslsigncode.
#ifndef TOOLS_TAG_TOOL_SIGNED_IMAGE_FOR_TESTING_H_
#define TOOLS_TAG_TOOL_SIGNED_IMAGE_FOR_TESTING_H_

#include <cstdint>
#include <string>

namespace lite {
namespace testing {

// A minimal executable of 1,024 bytes: headers and one code section that
// returns 0; |magic| is kPe32Magic or kPe32PlusMagic.
std::string MakeTinyPeImage(uint16_t magic);

// A fresh directory for one test's files.
std::string MakeTempDir();

bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Signs |image| (SHA-256, signer and issuer certificates, no timestamp);
// the signed image, or empty on failure.
std::string SignImage(const std::string& image, const std::string& dir);

// osslsigncode verify against the test root.
bool VerifiesWithTestRoot(const std::string& path);

}  // namespace testing
}  // namespace lite

#endif  // TOOLS_TAG_TOOL_SIGNED_IMAGE_FOR_TESTING_H_
