#ifndef BASE_MD5_H_
#define BASE_MD5_H_

#include <string>
#include <string_view>

namespace lite {

// The MD5 digest of |bytes| as 32 lower-case hexadecimal digits. Used for
// names derived from paths, never for security.
std::string MD5HexDigest(std::string_view bytes);

}  // namespace lite

#endif  // BASE_MD5_H_
