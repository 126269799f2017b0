// WinINet, bound on first use so that nothing loads wininet.dll before the
// process has hardened its DLL search order.
#ifndef NET_WININET_API_WIN_H_
#define NET_WININET_API_WIN_H_

#include <windows.h>
#include <wininet.h>

namespace lite {

struct WinInetApi {
  decltype(&::InternetOpenW) InternetOpenW;
  decltype(&::InternetSetStatusCallbackW) InternetSetStatusCallbackW;
  decltype(&::InternetOpenUrlW) InternetOpenUrlW;
  decltype(&::InternetReadFile) InternetReadFile;
  decltype(&::HttpQueryInfoW) HttpQueryInfoW;
  decltype(&::HttpQueryInfoA) HttpQueryInfoA;
  decltype(&::InternetCloseHandle) InternetCloseHandle;
};

// The bound functions. A missing wininet.dll or function fails the way a
// delay-loaded import does: the delay-load exception (0xC06D007E or
// 0xC06D007F) is raised with its DelayLoadInfo, for the process's handlers.
const WinInetApi& WinInet();

// Owner of an HINTERNET.
class ScopedInternetHandle {
 public:
  ScopedInternetHandle() = default;
  explicit ScopedInternetHandle(HINTERNET handle) : handle_(handle) {}
  ScopedInternetHandle(const ScopedInternetHandle&) = delete;
  ScopedInternetHandle& operator=(const ScopedInternetHandle&) = delete;
  ~ScopedInternetHandle() { reset(); }

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(HINTERNET handle = nullptr) {
    if (handle_) WinInet().InternetCloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HINTERNET handle_ = nullptr;
};

}  // namespace lite

#endif  // NET_WININET_API_WIN_H_
