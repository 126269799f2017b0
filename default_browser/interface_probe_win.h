// Whether this Windows lets setup make the browser the default through the
// internal association interfaces. Touching them on an unsuitable build can
// crash the caller, so the check runs in a copy of the installer started
// with "check-the-interface", which answers with its exit code.
#ifndef DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_
#define DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_

#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "base/file_path.h"
#include "base/windows_version_win.h"
#include "default_browser/interface_probe_status.h"

namespace lite::win10_default_browser {

// The probe copy's one switch.
inline constexpr char kCheckTheInterfaceSwitch[] = "check-the-interface";
// How long the probe copy may run.
inline constexpr DWORD kProbeTimeoutMs = 3000;
// The exit code a probe copy that outlived the wait is ended with.
inline constexpr UINT kProbeTerminatedExitCode = 22;

// On Windows 10 and later: true when the interfaces are usable, with
// |status| (may be null) set however the check ends. Older systems: false,
// |status| untouched. |program| is the installer executable to start as
// the probe copy.
bool IsInterfaceAvailable(const WindowsVersion& version, const FilePath& program,
                          InterfaceProbeStatus* status);

// Starts |program| with "--check-the-interface", waits for it and turns its
// exit code into |result|; true when it reported the interfaces available.
bool IsInternalInterfaceAvailableSafeCheck(const FilePath& program, ProbeResult* result);

// The check itself, inside the probe copy.
bool CheckInternalInterfaceInProcess();

// Walks |handlers| to the one named |name| (any one with |check_only|) and
// asks it for its make-default interface; true when it has one.
bool FindHandlerAndMakeDefault(IEnumAssocHandlers* handlers, const std::u16string& name,
                               bool check_only);

}  // namespace lite::win10_default_browser

#endif  // DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_
