// Linked into the executables as an object file, so that its hook
// variables replace the C runtime's empty ones.
#include "installer/run/delay_load_hook_win.h"

#include <windows.h>
#include <delayimp.h>

#include <cstring>
#include <cwchar>

#include "base/delay_load_codes.h"
#include "crash/crash_handler_win.h"

namespace lite {
namespace {

// Process-wide: the hook runs without any object to hold them.
char g_failure_text[128];
bool g_message_boxes_available = false;

bool IsUser32(const char* dll) { return dll && lstrcmpiA(dll, "user32.dll") == 0; }

std::string ProcedureName(const DelayLoadProc& procedure) {
  if (procedure.fImportByName) return procedure.szProcName ? procedure.szProcName : "";
  return "#" + std::to_string(procedure.dwOrdinal);
}

[[noreturn]] void FailDelayLoad(unsigned notification, const DelayLoadInfo& info) {
  const std::string dll = info.szDll ? info.szDll : "";
  const bool load_failed = notification == dliFailLoadLib;
  const std::string text =
      DelayLoadFailureText(dll, load_failed ? std::string() : ProcedureName(info.dlp));
  lstrcpynA(g_failure_text, text.c_str(), sizeof(g_failure_text));
  SetCrashKey(kDelayLoadFailureKey, g_failure_text);
  // user32 itself failing leaves nothing to show a box with.
  if (!wcsstr(GetCommandLineW(), L"--silent") && g_message_boxes_available && !IsUser32(info.szDll)) {
    MessageBoxA(nullptr, g_failure_text, "Tolvar Browser installer", MB_OK);
  }
  TerminateThroughCrashHandler(load_failed ? kDelayLoadModuleNotFound
                                           : kDelayLoadProcedureNotFound);
}

FARPROC WINAPI DelayLoadHook(unsigned notification, PDelayLoadInfo info) {
  switch (notification) {
    case dliNotePreLoadLibrary:
    case dliNotePreGetProcAddress:
      if (IsUser32(info->szDll)) g_message_boxes_available = true;
      return nullptr;
    case dliFailLoadLib:
    case dliFailGetProc:
      FailDelayLoad(notification, *info);
    default:
      return nullptr;
  }
}

}  // namespace

std::string DelayLoadFailureText(const std::string& dll, const std::string& function) {
  if (function.empty()) return "Windows dll is not found: " + dll;
  return "Function " + function + " not found in Windows dll " + dll;
}

const char* LastDelayLoadFailure() { return g_failure_text; }

}  // namespace lite

// Declared extern "C" by <delayimp.h>; these definitions keep that linkage.
PfnDliHook __pfnDliNotifyHook2 = lite::DelayLoadHook;
PfnDliHook __pfnDliFailureHook2 = lite::DelayLoadHook;
