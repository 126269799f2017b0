// package_builder: makes a brand or partner configuration package, a cabinet
// whose one member is the signed configuration JSON text.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/json/json_reader.h"
#include "tools/file_io/file_io.h"
#include "tools/package_builder/cabinet_writer.h"
#include "tools/package_builder/package_signature.h"

namespace lite {
namespace {

constexpr char kUsage[] =
    "Usage: package_builder --member brand_config|partner_config --key KEY.pem\n"
    "                       --input CONFIG.json --output PACKAGE.cab\n"
    "                       [--timestamp UNIX_SECONDS]\n"
    "\n"
    "Builds a configuration package: a Microsoft Cabinet file with one folder\n"
    "compressed with MSZIP and one member named by --member. The member is the\n"
    "line \"//\" + signature, a line feed, then the bytes of CONFIG.json unchanged.\n"
    "\n"
    "The signature is RSASSA-PKCS1-v1_5 with SHA-256 over exactly those JSON bytes\n"
    "(everything after the first line feed of the member), made with the\n"
    "unencrypted 1024-bit RSA private key in KEY.pem: 128 bytes, written as 172\n"
    "base64 characters.\n"
    "\n"
    "CONFIG.json must be a JSON object in the installer's dialect (comments, raw\n"
    "control characters in strings, \\v and \\xHH escapes); anything else is\n"
    "refused with exit code 1 and no output file.\n"
    "\n"
    "The member's date is --timestamp, else $SOURCE_DATE_EPOCH, else the\n"
    "modification time of CONFIG.json (UTC).\n";

struct Options {
  std::string member;
  std::string key_path;
  std::string input_path;
  std::string output_path;
  std::optional<int64_t> timestamp;
};

int Fail(const std::string& message) {
  std::cerr << "package_builder: " << message << "\n";
  return 1;
}

bool ParseSeconds(const char* text, int64_t* seconds) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0') return false;
  *seconds = value;
  return true;
}

// Empty |error| and false with nothing printed: --help was asked for.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return false;
    std::string* target = nullptr;
    if (arg == "--member") target = &options->member;
    else if (arg == "--key") target = &options->key_path;
    else if (arg == "--input") target = &options->input_path;
    else if (arg == "--output") target = &options->output_path;
    else if (arg != "--timestamp") {
      *error = "unknown argument \"" + arg + "\"";
      return false;
    }
    if (i + 1 == argc) {
      *error = arg + " needs a value";
      return false;
    }
    const char* value = argv[++i];
    if (target) {
      *target = value;
      continue;
    }
    int64_t seconds = 0;
    if (!ParseSeconds(value, &seconds)) {
      *error = "--timestamp takes seconds since 1970, not \"" + std::string(value) + "\"";
      return false;
    }
    options->timestamp = seconds;
  }
  if (options->member != "brand_config" && options->member != "partner_config") {
    *error = "--member must be brand_config or partner_config";
    return false;
  }
  if (options->key_path.empty() || options->input_path.empty() ||
      options->output_path.empty()) {
    *error = "--key, --input and --output are required";
    return false;
  }
  return true;
}

int64_t MemberTime(const Options& options) {
  if (options.timestamp) return *options.timestamp;
  int64_t seconds = 0;
  if (ParseSeconds(std::getenv("SOURCE_DATE_EPOCH"), &seconds)) return seconds;
  struct stat info;
  if (stat(options.input_path.c_str(), &info) == 0) return info.st_mtime;
  return 0;
}

int Run(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    if (error.empty()) {
      std::cout << kUsage;
      return 0;
    }
    return Fail(error + " (see package_builder --help)");
  }

  std::string json_text;
  std::string key_pem;
  if (!ReadWholeFile(options.input_path, &json_text, &error) ||
      !ReadWholeFile(options.key_path, &key_pem, &error)) {
    return Fail(error);
  }
  std::optional<Value> config = ReadJson(json_text, &error);
  if (!config) return Fail(options.input_path + " is not valid JSON: " + error);
  if (!config->is_dict()) return Fail(options.input_path + " does not hold a JSON object");

  std::string signature;
  if (!SignPackageText(key_pem, json_text, &signature, &error))
    return Fail(options.key_path + ": " + error);
  const std::string member_text = ComposePackageMember(signature, json_text);

  std::string cabinet;
  const CabinetMember member{options.member, member_text,
                             DosTimestampFromUnixTime(MemberTime(options))};
  if (!WriteCabinet({member}, &cabinet, &error) ||
      !ReplaceFileContents(options.output_path, cabinet, "", &error)) {
    return Fail(error);
  }
  return 0;
}

}  // namespace
}  // namespace lite

int main(int argc, char** argv) { return lite::Run(argc, argv); }
