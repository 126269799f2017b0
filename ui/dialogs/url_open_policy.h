// Which addresses the installer hands to the user's browser. The addresses
// carry values from outside the signed program (the installer tag), and the
// shell passes them on the browser's command line, so only an https address
// on a host the product is configured with, and made of nothing but URL
// characters, is opened.
#ifndef UI_DIALOGS_URL_OPEN_POLICY_H_
#define UI_DIALOGS_URL_OPEN_POLICY_H_

#include <string>
#include <string_view>
#include <vector>

namespace lite {

class UrlOpenPolicy {
 public:
  // |origins| are "https://host" or "https://host:port" (further text after
  // the host is ignored); anything else among them allows nothing.
  explicit UrlOpenPolicy(const std::vector<std::string_view>& origins);

  // True for an https address on one of the origins (host compared without
  // regard to case, port exactly), without user name, whose every character
  // is a printable ASCII URL character other than the blank, " < > \ ^ ` { | }
  // and whose every "%" starts an escape.
  bool Allows(std::string_view url) const;

 private:
  std::vector<std::string> authorities_;  // "host" or "host:port", lower case
};

// The product's own sites (legal documents, download sites, browser site
// variants) and the hosts of the brand's licence and privacy addresses, which
// the brand package compiled into the program names.
UrlOpenPolicy ConfiguredUrlOpenPolicy(std::string_view license_url,
                                      std::string_view privacy_url);

}  // namespace lite

#endif  // UI_DIALOGS_URL_OPEN_POLICY_H_
