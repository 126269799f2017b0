// "check-the-interface": whether the Windows 10 default-browser interface is
// available to this user.
#ifndef DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_
#define DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_

namespace lite {

// This build has no probe: it logs so and answers "not available".
bool ProbeDefaultBrowserInterface();

}  // namespace lite

#endif  // DEFAULT_BROWSER_INTERFACE_PROBE_WIN_H_
