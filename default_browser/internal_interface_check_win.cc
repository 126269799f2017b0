// CheckInternalInterfaceInProcess and FindHandlerAndMakeDefault: the check
// that only a probe copy runs, since these interfaces are undocumented and
// can crash the caller on builds where they differ.
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include <string>

#include "base/debug_log.h"
#include "base/proc_address_win.h"
#include "base/scoped_handle_win.h"
#include "base/system_library_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "default_browser/interface_probe_win.h"

namespace lite::win10_default_browser {
namespace {

// The association registration object has taken several shapes; the first
// of these it can be created as tells which one this build has.
enum class RegistrationKind { kOlder = 0, kWithSetAppAsDefault = 1 };

struct RegistrationCandidate {
  GUID iid;
  RegistrationKind kind;
};

constexpr RegistrationCandidate kRegistrationCandidates[] = {
    {{0x2A848E25, 0xD688, 0x4AA3, {0x8E, 0x55, 0x0C, 0x16, 0xCB, 0x3A, 0x2D, 0xFB}},
     RegistrationKind::kWithSetAppAsDefault},
    {{0xFC0BE3A5, 0x6BE4, 0x423C, {0xB2, 0x87, 0x24, 0x89, 0x34, 0xE3, 0x79, 0xC7}},
     RegistrationKind::kWithSetAppAsDefault},
    {{0x14EBCC88, 0x2831, 0x4FC8, {0xA5, 0xDF, 0x9F, 0x36, 0xA8, 0x1D, 0xB1, 0x2C}},
     RegistrationKind::kOlder},
    {{0x1C5C9D10, 0x1225, 0x4C97, {0x8C, 0x51, 0x98, 0xE1, 0xB6, 0xF0, 0xD4, 0xE0}},
     RegistrationKind::kOlder},
    {{0x229D59E2, 0xF94A, 0x402E, {0x9A, 0x9F, 0x3B, 0x84, 0xA1, 0xAC, 0xED, 0x77}},
     RegistrationKind::kOlder},
};

constexpr GUID kISetAppAsDefaultBrowserInternal = {
    0xB00DC47B, 0xBFF4, 0x4318, {0xBE, 0x5B, 0xA5, 0x85, 0x6F, 0x91, 0x69, 0xA2}};
constexpr GUID kIEnumAssocHandlers = {
    0x973810AE, 0x9599, 0x4B88, {0x9E, 0x4D, 0x6E, 0xE9, 0x8C, 0x95, 0x52, 0xDA}};
constexpr GUID kIAssocHandlerMakeDefault = {
    0xCA635855, 0xB44E, 0x4541, {0x95, 0x91, 0x9F, 0xAA, 0x53, 0x35, 0x4A, 0x53}};

// Releases a COM interface when it goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  void** out() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the length of the check: the probe copy answers before the entry
// sequence would start COM for the installation.
class ScopedCom {
 public:
  ScopedCom() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ScopedCom() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

// The shell's association functions, looked up rather than bound, since
// builds differ in which of them they export.
struct AssociationFunctions {
  using CreateRegistration = HRESULT(WINAPI*)(REFIID, void**);
  using EnumForProtocol = HRESULT(WINAPI*)(PCWSTR, REFIID, void**);
  using EnumForExtension = HRESULT(WINAPI*)(PCWSTR, ASSOC_FILTER, IEnumAssocHandlers**);

  ScopedLibrary shell32{LoadSystemLibrary(L"shell32.dll")};
  CreateRegistration create_registration =
      GetProcAddressAs<CreateRegistration>(shell32.get(), "SHCreateAssociationRegistration");
  EnumForProtocol enum_for_protocol = GetProcAddressAs<EnumForProtocol>(
      shell32.get(), "SHAssocEnumHandlersForProtocolByApplication");
  EnumForExtension enum_for_extension =
      GetProcAddressAs<EnumForExtension>(shell32.get(), "SHAssocEnumHandlers");
};

std::string HrText(HRESULT hr) { return std::to_string(static_cast<long>(hr)); }

bool CheckProtocols(const AssociationFunctions& shell) {
  for (const wchar_t* protocol : {L"http", L"https"}) {
    ComPtr<IEnumAssocHandlers> handlers;
    const HRESULT hr = shell.enum_for_protocol
                           ? shell.enum_for_protocol(protocol, kIEnumAssocHandlers, handlers.out())
                           : E_NOTIMPL;
    if (FAILED(hr) || !handlers.get()) {
      DLOG(ERROR) << "SHAssocEnumHandlersForProtocolByApplication error, hr=" << HrText(hr)
                  << " protocol=" << UTF16ToUTF8(FromWide(protocol));
      return false;
    }
    if (!FindHandlerAndMakeDefault(handlers.get(), u"", true)) return false;
  }
  return true;
}

bool CheckExtensions(const AssociationFunctions& shell) {
  for (const wchar_t* extension : {L".htm", L".html"}) {
    ComPtr<IEnumAssocHandlers> handlers;
    const HRESULT hr =
        shell.enum_for_extension
            ? shell.enum_for_extension(extension, ASSOC_FILTER_NONE,
                                       reinterpret_cast<IEnumAssocHandlers**>(handlers.out()))
            : E_NOTIMPL;
    if (FAILED(hr) || !handlers.get()) {
      DLOG(ERROR) << "SHAssocEnumHandlers error, hr=" << HrText(hr)
                  << " extension=" << UTF16ToUTF8(FromWide(extension));
      return false;
    }
    if (!FindHandlerAndMakeDefault(handlers.get(), u"", true)) return false;
  }
  return true;
}

}  // namespace

bool FindHandlerAndMakeDefault(IEnumAssocHandlers* handlers, const std::u16string& name,
                               bool check_only) {
  const std::string wanted = UTF16ToUTF8(name);
  bool matches = false;
  for (;;) {
    ComPtr<IAssocHandler> handler;
    ULONG fetched = 0;
    const HRESULT hr =
        handlers->Next(1, reinterpret_cast<IAssocHandler**>(handler.out()), &fetched);
    if (FAILED(hr) || fetched == 0 || !handler.get()) {
      DLOG(ERROR) << "IEnumAssocHandlers::Next error, hr=" << HrText(hr) << ", failed to find "
                  << wanted;
      return false;
    }
    wchar_t* ui_name = nullptr;
    const HRESULT name_hr = handler->GetUIName(&ui_name);
    if (SUCCEEDED(name_hr)) {
      matches = check_only || FromWide(ui_name) == name;
      CoTaskMemFree(ui_name);
    } else {
      // The decision about the previous handler stands.
      DLOG(ERROR) << "IAssocHandler::GetUIName error, hr=" << HrText(name_hr)
                  << ", failed to find " << wanted;
    }
    if (!matches) continue;
    ComPtr<IUnknown> make_default;
    const HRESULT query_hr = handler->QueryInterface(kIAssocHandlerMakeDefault, make_default.out());
    if (FAILED(query_hr)) {
      DLOG(ERROR) << "QueryInterface(IAssocHandlerMakeDefault) error, hr=" << HrText(query_hr);
      return false;
    }
    // Making it the default is setup's work; the probe only asks.
    return true;
  }
}

bool CheckInternalInterfaceInProcess() {
  ScopedCom com;
  const AssociationFunctions shell;
  ComPtr<IUnknown> registration;
  const RegistrationCandidate* found = nullptr;
  for (const RegistrationCandidate& candidate : kRegistrationCandidates) {
    if (shell.create_registration &&
        SUCCEEDED(shell.create_registration(candidate.iid, registration.out()))) {
      found = &candidate;
      break;
    }
  }
  if (!found) {
    const WindowsVersion& version = GetWindowsVersion();
    DLOG(INFO) << "Unsupported Win10 version=" << std::to_string(version.major) << "."
               << std::to_string(version.minor) << "." << std::to_string(version.build);
    return false;
  }
  if (found->kind == RegistrationKind::kOlder) return true;

  ComPtr<IUnknown> set_as_default;
  const HRESULT hr =
      registration->QueryInterface(kISetAppAsDefaultBrowserInternal, set_as_default.out());
  if (FAILED(hr)) {
    DLOG(ERROR) << "QueryInterface(ISetAppAsDefaultBrowserInternal) error, hr=" << HrText(hr);
    return false;
  }
  return CheckProtocols(shell) && CheckExtensions(shell);
}

}  // namespace lite::win10_default_browser
