#include "proxy/url_origin.h"

#include "base/utf.h"

namespace lite {

std::u16string UrlOrigin(std::u16string_view url) {
  const size_t separator = url.find(u"://");
  if (separator == std::u16string_view::npos || separator == 0) return std::u16string();
  std::u16string_view authority = url.substr(separator + 3);
  authority = authority.substr(0, authority.find_first_of(u"/?#"));
  // Credentials in a URL never reach a key or a log line.
  const size_t at = authority.rfind(u'@');
  if (at != std::u16string_view::npos) authority = authority.substr(at + 1);
  return ToLowerASCII(url.substr(0, separator)) + u"://" + ToLowerASCII(authority);
}

}  // namespace lite
