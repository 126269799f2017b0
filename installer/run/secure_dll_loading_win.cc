#include "installer/run/secure_dll_loading_win.h"

#include <windows.h>

#include "base/file_util_win.h"
#include "base/proc_address_win.h"
#include "base/process_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/exit_code.h"

namespace lite {
namespace {

using SetSearchPathModeFunction = BOOL(WINAPI*)(DWORD);
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

constexpr DWORD kSafeSearchPermanent = 0x8001;  // SAFE_SEARCHMODE | PERMANENT
constexpr DWORD kSearchSystem32 = 0x800;        // LOAD_LIBRARY_SEARCH_SYSTEM32

SecureDllResult RunProtectedCopy(const FilePath& installer, int* exit_code) {
  const std::optional<FilePath> dir = CreateUniqueTempDir(u"");
  if (!dir) return SecureDllResult::kNotSecured;
  const FilePath copy = dir->Append(installer.BaseName());
  if (!CopyFileW(AsWide(installer.value()), AsWide(copy.value()), TRUE)) {
    DeletePathRecursively(*dir);
    return SecureDllResult::kNotSecured;
  }
  // Should anything below fail to clean up, the next restart does it.
  MoveFileExW(AsWide(copy.value()), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(AsWide(dir->value()), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

  InstallerCommandLine command_line = ProcessCommandLine();
  command_line.SetProgram(copy.value());
  command_line.AppendSwitch(switches::kSpawnedInProtectedDir);
  const Process process = LaunchProcess(command_line.Render());
  SecureDllResult result;
  if (!process.is_valid()) {
    result = SecureDllResult::kNotSecured;
  } else if (!process.WaitForExit(INFINITE, exit_code)) {
    *exit_code = 0;
    result = SecureDllResult::kInsecure;
  } else {
    result = *exit_code == kExitDllFilesFound ? SecureDllResult::kInsecure
                                              : SecureDllResult::kDelegated;
  }
  DeletePathRecursively(*dir);
  return result;
}

}  // namespace

SecureDllResult SecureDllLoading(int* exit_code) {
  *exit_code = 0;
  SetDllDirectoryW(L"");
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  auto set_search_path_mode =
      GetProcAddressAs<SetSearchPathModeFunction>(kernel32, "SetSearchPathMode");
  auto set_default_dll_directories = GetProcAddressAs<SetDefaultDllDirectoriesFunction>(
      kernel32, "SetDefaultDllDirectories");
  if (set_search_path_mode && set_default_dll_directories) {
    const bool secured = set_search_path_mode(kSafeSearchPermanent) &&
                         set_default_dll_directories(kSearchSystem32);
    return secured ? SecureDllResult::kSecured : SecureDllResult::kNotSecured;
  }

  SetDllDirectoryW(L"");
  const FilePath installer = GetExecutablePath();
  const InstallerCommandLine& command_line = ProcessCommandLine();
  if (!command_line.HasSwitch(switches::kRunAsAdmin) &&
      !command_line.HasSwitch(switches::kSpawnedInProtectedDir)) {
    return RunProtectedCopy(installer, exit_code);
  }
  return EnumerateFiles(installer.DirName(), u"*.dll").empty()
             ? SecureDllResult::kSecured
             : SecureDllResult::kDllFilesFound;
}

}  // namespace lite
