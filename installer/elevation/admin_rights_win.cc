#include "installer/elevation/admin_rights_win.h"

#include <shlobj.h>

#include <vector>

#include "base/scoped_handle_win.h"
#include "base/windows_version_win.h"
#include "installer/command_line/switches.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

ScopedHandle GetProcessToken(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
    PLOG(ERROR) << "OpenProcessToken fail";
    return ScopedHandle();
  }
  return ScopedHandle(token);
}

// The variable-size |info_class| block of |token|; empty on failure.
std::vector<BYTE> GetTokenInfo(HANDLE token, TOKEN_INFORMATION_CLASS info_class) {
  DWORD size = 0;
  GetTokenInformation(token, info_class, nullptr, 0, &size);
  std::vector<BYTE> info(size);
  if (size == 0 || !GetTokenInformation(token, info_class, info.data(), size, &size)) {
    PLOG(ERROR) << "GetTokenInformation failed";
    return {};
  }
  return info;
}

}  // namespace

bool IsUserAnAdminGroup(HANDLE process) {
  const ScopedHandle token = GetProcessToken(process);
  if (!token) return false;
  BYTE admins[SECURITY_MAX_SID_SIZE];
  DWORD admins_size = sizeof(admins);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &admins_size)) {
    PLOG(ERROR) << "CreateWellKnownSid failed";
    return false;
  }
  const std::vector<BYTE> info = GetTokenInfo(token.get(), TokenGroups);
  if (info.empty()) return false;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(info.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    if (EqualSid(groups->Groups[i].Sid, admins)) return true;
  }
  return false;
}

bool IsProcessElevated(HANDLE process) {
  const ScopedHandle token = GetProcessToken(process);
  if (!token) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) {
    PLOG(ERROR) << "GetTokenInformation failed";
    return false;
  }
  return elevation.TokenIsElevated != 0;
}

bool NeedStartThisProcessAsAdmin(const InstallerCommandLine& command_line) {
  if (!IsUserAnAdminGroup(GetCurrentProcess())) {
    LOG(INFO) << "User is not in admin group.";
    return false;
  }
  if (!GetWindowsVersion().IsVistaOrLater()) {
    LOG(INFO) << "Windows version is not suitable for elevated restart.";
    return false;
  }
  for (const char* name : switches::kNonInstallationSwitches) {
    if (command_line.HasSwitch(name)) {
      LOG(INFO) << "Found non install-switch:" << name;
      return false;
    }
  }
  if (command_line.HasSwitch(switches::kRunAsAdmin)) {
    LOG(INFO) << "Run-as-admin functionality is already enabled.";
    return false;
  }
  // A silent run cannot show the prompt unless asked to; an elevated one
  // needs none.
  if (command_line.HasSwitch(switches::kSilent) &&
      !command_line.HasSwitch(switches::kUacEnabled) && !IsUserAnAdmin()) {
    LOG(INFO) << "Elevated run is necessary but silent instalation is requested - UAC will "
                 "not be shown.";
    return false;
  }
  return true;
}

}  // namespace lite
