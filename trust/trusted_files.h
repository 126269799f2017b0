// Reads the trust document (TRUSTED.JSON) of a module:
//   {"trusted_info": {"certificates": [{"id": BASE64, "pub_key": HEX}, ...]}}
#ifndef TRUST_TRUSTED_FILES_H_
#define TRUST_TRUSTED_FILES_H_

#include <string_view>

#include "trust/trusted_certificate.h"

namespace lite {

// Empties |certificates| and fills it from |trust_json| in the installer's
// JSON dialect. False, with an ERROR line, when the text does not read or
// lacks the "trusted_info" object or its "certificates" list. Elements that
// are not objects with a base64 "id" string are skipped; a "pub_key" that is
// not 64 hexadecimal digits counts as absent; of two elements with the same
// id the first is kept.
bool GetTrustedFiles(std::string_view trust_json, TrustedCertificateMap* certificates);

}  // namespace lite

#endif  // TRUST_TRUSTED_FILES_H_
