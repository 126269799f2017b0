#include "trust/trusted_keys.h"

#include "base/base64.h"
#include "product_config.h"

namespace lite {

const TrustedKey kTrustedKeys[kTrustedKeyCount] = {
    {0, TL_TRUST_KEY_0}, {1, TL_TRUST_KEY_1}, {2, TL_TRUST_KEY_2}, {3, TL_TRUST_KEY_3},
    {4, TL_TRUST_KEY_4}, {5, TL_TRUST_KEY_5}, {6, TL_TRUST_KEY_6}, {7, TL_TRUST_KEY_7},
    {8, TL_TRUST_KEY_8}, {9, TL_TRUST_KEY_9},
};

std::optional<std::string> DecodeTrustedKey(int64_t number) {
  if (number < 0 || number >= kTrustedKeyCount) return std::nullopt;
  return Base64Decode(kTrustedKeys[number].spki_base64);
}

}  // namespace lite
