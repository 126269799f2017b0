#include "base/base64.h"

#include <openssl/evp.h>

namespace lite {

std::string Base64Encode(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3), '\0');
  const int written = EVP_EncodeBlock(
      reinterpret_cast<unsigned char*>(out.data()),
      reinterpret_cast<const unsigned char*>(bytes.data()),
      static_cast<int>(bytes.size()));
  out.resize(written < 0 ? 0 : static_cast<size_t>(written));
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  for (char c : text) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                    (c >= '0' && c <= '9') || c == '+' || c == '/' || c == '=';
    if (!ok) return std::nullopt;
  }
  const size_t padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2
                         : !text.empty() && text.back() == '='      ? 1
                                                                    : 0;
  if (text.substr(0, text.size() - padding).find('=') != std::string_view::npos) {
    return std::nullopt;
  }
  // EVP_DecodeBlock keeps the padding bytes as zeros; they are cut below.
  std::string out(3 * (text.size() / 4), '\0');
  const int written = EVP_DecodeBlock(
      reinterpret_cast<unsigned char*>(out.data()),
      reinterpret_cast<const unsigned char*>(text.data()),
      static_cast<int>(text.size()));
  if (written < 0) return std::nullopt;
  out.resize(static_cast<size_t>(written) - padding);
  return out;
}

}  // namespace lite
