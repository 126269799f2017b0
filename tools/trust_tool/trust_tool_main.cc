// trust_tool: makes and signs the trust document (TRUSTED.JSON) and its
// signature (SIGNATURE.DAT) that a setup module carries for the installer.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tools/file_io/file_io.h"
#include "tools/trust_tool/signature_file.h"
#include "tools/trust_tool/trust_document.h"

namespace lite {
namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  trust_tool json --signer SIGNER.pem --issuer ISSUER.pem --out TRUSTED.JSON\n"
    "                  [--no-pub-key] [--append EXISTING.json]\n"
    "  trust_tool sign --key-number N --key KEY.pem --in TRUSTED.JSON --out SIGNATURE.DAT\n"
    "  trust_tool verify --key-number N --in TRUSTED.JSON --sig SIGNATURE.DAT\n"
    "  trust_tool --help\n"
    "\n"
    "json    writes a trust document listing the code-signing certificate\n"
    "        SIGNER.pem issued by ISSUER.pem:\n"
    "          {\"trusted_info\":{\"certificates\":[{\"id\":ID,\"pub_key\":DIGEST}]}}\n"
    "        ID is the base64 of the issuer's serial number followed by the\n"
    "        signer's (big-endian bytes of each); DIGEST the lower-case hex\n"
    "        SHA-256 of the signer's public-key bit string. --no-pub-key leaves\n"
    "        the digest out; --append lists the certificates of EXISTING.json\n"
    "        first and this one after them.\n"
    "sign    writes SIGNATURE.DAT for TRUSTED.JSON: N (0 to 9) as two bytes,\n"
    "        little-endian, then the RSA PKCS #1 v1.5 SHA-1 signature of the\n"
    "        file's exact bytes by the unencrypted private key KEY.pem.\n"
    "verify  checks SIGNATURE.DAT over TRUSTED.JSON with the installer's built-in\n"
    "        key N, which must also be the number the file names.\n"
    "\n"
    "Exit code 0 on success, 1 on failure (the reason goes to stderr), 2 on a\n"
    "usage error.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "trust_tool: %s\n", message.c_str());
  return 1;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "trust_tool: %s (see trust_tool --help)\n", message.c_str());
  return 2;
}

// "--name value" pairs and bare "--flag"s of one command.
struct Arguments {
  std::map<std::string, std::string> values;
  bool no_pub_key = false;

  const std::string& Get(const std::string& name) { return values[name]; }
};

bool ParseArguments(int argc, char** argv, const std::vector<std::string>& names,
                    Arguments* arguments, std::string* error) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-pub-key" && argv[1] == std::string("json")) {
      arguments->no_pub_key = true;
      continue;
    }
    bool known = false;
    for (const std::string& name : names) known = known || arg == name;
    if (!known) {
      *error = "unknown argument \"" + arg + "\"";
      return false;
    }
    if (i + 1 == argc) {
      *error = arg + " needs a value";
      return false;
    }
    arguments->values[arg] = argv[++i];
  }
  for (const std::string& name : names) {
    if (name != "--append" && arguments->values[name].empty()) {
      *error = name + " is required";
      return false;
    }
  }
  return true;
}

bool ParseKeyNumber(const std::string& text, int* number, std::string* error) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > 9) {
    *error = "--key-number must be a number from 0 to 9, not \"" + text + "\"";
    return false;
  }
  *number = static_cast<int>(value);
  return true;
}

int MakeJson(Arguments& args) {
  std::string signer, issuer, error;
  if (!ReadWholeFile(args.Get("--signer"), &signer, &error) ||
      !ReadWholeFile(args.Get("--issuer"), &issuer, &error)) {
    return Fail(error);
  }
  Value::List certificates;
  if (!args.Get("--append").empty()) {
    std::string existing;
    if (!ReadWholeFile(args.Get("--append"), &existing, &error)) return Fail(error);
    if (!ReadCertificateList(existing, &certificates, &error)) {
      return Fail(args.Get("--append") + ": " + error);
    }
  }
  Value entry;
  if (!MakeCertificateEntry(signer, issuer, !args.no_pub_key, &entry, &error)) {
    return Fail(error);
  }
  certificates.push_back(std::move(entry));
  if (!ReplaceFileContents(args.Get("--out"), ComposeTrustDocument(std::move(certificates)), "",
                           &error)) {
    return Fail(error);
  }
  return 0;
}

int Sign(Arguments& args) {
  std::string error, key, document, signature;
  int number = 0;
  if (!ParseKeyNumber(args.Get("--key-number"), &number, &error)) return Fail(error);
  if (!ReadWholeFile(args.Get("--key"), &key, &error) ||
      !ReadWholeFile(args.Get("--in"), &document, &error)) {
    return Fail(error);
  }
  if (!SignTrustDocument(key, number, document, &signature, &error)) {
    return Fail(args.Get("--key") + ": " + error);
  }
  if (!ReplaceFileContents(args.Get("--out"), signature, "", &error)) return Fail(error);
  return 0;
}

int Verify(Arguments& args) {
  std::string error, document, signature;
  int number = 0;
  if (!ParseKeyNumber(args.Get("--key-number"), &number, &error)) return Fail(error);
  if (!ReadWholeFile(args.Get("--in"), &document, &error) ||
      !ReadWholeFile(args.Get("--sig"), &signature, &error)) {
    return Fail(error);
  }
  if (signature.size() >= 2 && (static_cast<unsigned char>(signature[0]) |
                                static_cast<unsigned char>(signature[1]) << 8) != number) {
    return Fail(args.Get("--sig") + " names another key than " + std::to_string(number));
  }
  if (!VerifyTrustDocument(signature, document, &error)) return Fail(error);
  std::printf("%s: signature by key %d verifies\n", args.Get("--in").c_str(), number);
  return 0;
}

int Main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::vector<std::string> names;
  int (*run)(Arguments&) = nullptr;
  if (command == "json") {
    names = {"--signer", "--issuer", "--out", "--append"};
    run = MakeJson;
  } else if (command == "sign") {
    names = {"--key-number", "--key", "--in", "--out"};
    run = Sign;
  } else if (command == "verify") {
    names = {"--key-number", "--in", "--sig"};
    run = Verify;
  } else {
    return UsageError("unknown command \"" + command + "\"");
  }
  Arguments args;
  std::string error;
  if (!ParseArguments(argc, argv, names, &args, &error)) return UsageError(error);
  return run(args);
}

}  // namespace
}  // namespace lite

int main(int argc, char** argv) { return lite::Main(argc, argv); }
