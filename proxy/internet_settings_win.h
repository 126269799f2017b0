// The current user's Internet settings for the connection in use: what the
// proxy choice of every transport starts from.
#ifndef PROXY_INTERNET_SETTINGS_WIN_H_
#define PROXY_INTERNET_SETTINGS_WIN_H_

#include <string>

namespace lite {

struct InternetSettings {
  bool auto_detect = false;    // "Automatically detect settings" (WPAD)
  std::u16string script_url;   // the proxy auto-config script, empty without one
  std::u16string servers;      // the manual proxy, empty when not enabled
  std::u16string bypass;       // its bypass list
};

// Read through WinINet, which knows the connection's settings on every
// Windows; the script's address also from the "AutoConfigURL" value, where
// policies put it and where Wine's WinINet does not look.
InternetSettings ReadInternetSettings();

}  // namespace lite

#endif  // PROXY_INTERNET_SETTINGS_WIN_H_
