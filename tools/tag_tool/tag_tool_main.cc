// tag_tool: stamps an installer tag into a signed executable, or reads it.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "distribution/certificate_tag.h"
#include "distribution/legacy_tag.h"
#include "tools/file_io/file_io.h"
#include "tools/tag_tool/tag_stamper.h"

namespace lite {
namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  tag_tool stamp [--legacy] [--output=OUT] FILE TAG\n"
    "  tag_tool read [--legacy] FILE\n"
    "  tag_tool --help\n"
    "\n"
    "stamp  writes TAG (key=value pairs joined by '&') into the Authenticode\n"
    "       signature of the signed PE32 or PE32+ file FILE, as a dummy\n"
    "       certificate that replaces any earlier one, or with --legacy as the\n"
    "       \"Tlct\" block after the signature blob (PE32 only). The signature\n"
    "       stays valid. FILE is replaced only on success; with --output the\n"
    "       result goes to OUT and FILE is left alone.\n"
    "read   prints the tag of FILE's dummy certificates (concatenated), or with\n"
    "       --legacy the tag of its legacy block, followed by a newline.\n"
    "\n"
    "Exit code 0 on success, 1 on failure (the reason goes to stderr), 2 on a\n"
    "usage error.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "tag_tool: %s\n", message.c_str());
  return 1;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tag_tool: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

int Stamp(const std::string& path, const std::string& tag, bool legacy,
          const std::string& output) {
  std::string image, error;
  if (!ReadWholeFile(path, &image, &error)) return Fail(error);
  const bool stamped = legacy ? StampLegacyTag(&image, tag, &error)
                              : StampCertificateTag(&image, tag, &error);
  if (!stamped) return Fail(path + ": " + error);
  if (!ReplaceFileContents(output.empty() ? path : output, image, path, &error)) {
    return Fail(error);
  }
  return 0;
}

int Read(const std::string& path, bool legacy) {
  std::string image, error;
  if (!ReadWholeFile(path, &image, &error)) return Fail(error);
  std::string tag;
  if (legacy) {
    std::string_view found;
    if (!FindLegacyTag(image, &found)) return Fail(path + ": no legacy tag block");
    tag.assign(found);
  } else {
    CertificateTagResult result = ReadCertificateTag(image);
    if (result.status == CertificateTagStatus::kNoCertificateTable) {
      return Fail(path + ": no certificate table");
    }
    if (result.status == CertificateTagStatus::kInvalidCertificateTable) {
      return Fail(path + ": the certificate table is not valid DER");
    }
    tag = std::move(result.tag);
  }
  std::fwrite(tag.data(), 1, tag.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

int Main(int argc, char** argv) {
  bool legacy = false;
  std::string output;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--legacy") {
      legacy = true;
    } else if (arg.rfind("--output=", 0) == 0) {
      output = std::string(arg.substr(9));
    } else if (arg.rfind("--", 0) == 0) {
      return UsageError("unknown option " + std::string(arg));
    } else {
      words.emplace_back(arg);
    }
  }
  if (words.empty()) return UsageError("no command");
  if (words[0] == "stamp" && words.size() == 3) return Stamp(words[1], words[2], legacy, output);
  if (words[0] == "read" && words.size() == 2 && output.empty()) return Read(words[1], legacy);
  return UsageError("wrong command or arguments");
}

}  // namespace
}  // namespace lite

int main(int argc, char** argv) { return lite::Main(argc, argv); }
