#include "trust/trusted_files.h"

#include <optional>
#include <string>

#include "base/base64.h"
#include "base/json/json_reader.h"
#include "logging/log_message.h"

namespace lite {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 32 bytes of a SHA-256 digest written in hex; empty for anything else.
std::string DecodeDigest(const std::string& hex) {
  constexpr size_t kDigestBytes = 32;
  if (hex.size() != 2 * kDigestBytes) return std::string();
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::string();
    bytes.push_back(static_cast<char>(high << 4 | low));
  }
  return bytes;
}

}  // namespace

bool GetTrustedFiles(std::string_view trust_json, TrustedCertificateMap* certificates) {
  certificates->clear();
  std::string error;
  const std::optional<Value> root = ReadJson(trust_json, &error);
  if (!root) {
    LOG(ERROR) << "Failed to read json : " << error;
    return false;
  }
  // FindPath finds nothing in a root that is not an object.
  const Value* info = root->FindPath("trusted_info");
  const Value* list = info && info->is_dict() ? info->FindPath("certificates") : nullptr;
  if (!list || !list->is_list()) {
    LOG(ERROR) << "Incorrect format of json";
    return false;
  }
  for (const Value& element : *list->GetIfList()) {
    const Value::Dict* fields = element.GetIfDict();
    if (!fields) continue;
    const auto id = fields->find("id");
    if (id == fields->end() || !id->second.is_string()) continue;
    std::optional<std::string> id_bytes = Base64Decode(*id->second.GetIfString());
    if (!id_bytes) continue;
    TrustedCertificate certificate;
    certificate.id = std::move(*id_bytes);
    const auto pub_key = fields->find("pub_key");
    if (pub_key != fields->end() && pub_key->second.is_string()) {
      certificate.public_key_sha256 = DecodeDigest(*pub_key->second.GetIfString());
    }
    // emplace leaves an existing entry alone: the first one listed counts.
    certificates->emplace(certificate.id, std::move(certificate));
  }
  return true;
}

}  // namespace lite
