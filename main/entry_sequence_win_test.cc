// The entry sequence's not-enough-disk-space path, run as a user would meet
// it: a copy of this program goes through the whole sequence with a disk
// that has too little room, shows the dialog in the brand's language and
// ends with 403 once the dialog is closed.
#include "main/entry_sequence_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>

#include "base/file_util_win.h"
#include "base/string_table_win.h"
#include "base/utf.h"
#include "installer/exit_code.h"
#include "installer/run/preflight_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

bool NoRoomOnDisk(bool, uint64_t) { return false; }

int RunWithFullDisk(const std::vector<std::u16string>&) {
  EntryEnvironment environment;
  environment.has_enough_disk_space = &NoRoomOnDisk;
  return RunEntrySequence(environment);
}
TL_CHILD_PROCESS("full-disk-run", RunWithFullDisk);

// Libraries loaded by a thread other than the main one, as the loader
// reports them: counted, and their names kept for the failure message.
struct ForeignLoads {
  DWORD main_thread = 0;
  LONG count = 0;
  wchar_t names[1024] = {};
};
ForeignLoads g_foreign_loads;  // the loader's callback has no other way in

struct LoaderUnicodeString {
  USHORT length;
  USHORT maximum_length;
  const wchar_t* buffer;
};
struct LoadedDllData {
  ULONG flags;
  const LoaderUnicodeString* full_name;
  const LoaderUnicodeString* base_name;
};
constexpr ULONG kDllLoaded = 1;
using DllNotification = void(CALLBACK*)(ULONG reason, const LoadedDllData* data, void* context);
using RegisterDllNotification = LONG(NTAPI*)(ULONG flags, DllNotification callback,
                                             void* context, void** cookie);

// Runs under the loader lock: no allocation, no library call that loads.
void CALLBACK RecordLoad(ULONG reason, const LoadedDllData* data, void*) {
  if (reason != kDllLoaded || GetCurrentThreadId() == g_foreign_loads.main_thread) return;
  ++g_foreign_loads.count;
  const size_t used = wcslen(g_foreign_loads.names);
  const size_t room = ARRAYSIZE(g_foreign_loads.names) - used - 2;
  const size_t length = std::min<size_t>(data->base_name->length / sizeof(wchar_t), room);
  wmemcpy(g_foreign_loads.names + used, data->base_name->buffer, length);
  g_foreign_loads.names[used + length] = L' ';
  g_foreign_loads.names[used + length + 1] = L'\0';
}

// Called once the UI runtime has started and the configuration is read,
// right before the window would be made: ends the run with 100 plus the
// number of libraries loaded off the main thread so far, their names in
// the file the test named.
std::u16string g_names_file;
bool ReportForeignLoads(bool, uint64_t) {
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(g_names_file.c_str()),
                            GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, g_foreign_loads.names,
              static_cast<DWORD>(wcslen(g_foreign_loads.names) * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
  }
  ExitProcess(100 + static_cast<UINT>(g_foreign_loads.count));
}

int RunRecordingLoads(const std::vector<std::u16string>& args) {
  if (args.empty()) return 2;
  g_names_file = args[0];
  g_foreign_loads.main_thread = GetCurrentThreadId();
  auto register_notification = reinterpret_cast<RegisterDllNotification>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"),
                                             "LdrRegisterDllNotification")));
  void* cookie = nullptr;
  if (!register_notification || register_notification(0, &RecordLoad, nullptr, &cookie) != 0) {
    return 3;
  }
  EntryEnvironment environment;
  environment.has_enough_disk_space = &ReportForeignLoads;
  return RunEntrySequence(environment);
}
TL_CHILD_PROCESS("recording-loads", RunRecordingLoads);

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (owner == search->process_id && IsWindowVisible(window) &&
      std::wstring(class_name) == L"#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

TEST(EntrySequenceTest, FullDiskShowsTheDiskSpaceDialogInTheBrandsLanguageAndEndsWith403) {
  Process child = testing::StartChild("full-disk-run", {u"--distr-info-params=lang=de"});
  ASSERT_TRUE(child.is_valid());
  Search search = {child.id(), nullptr};
  for (int tries = 0; tries < 300 && !search.found; ++tries) {
    Sleep(100);
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
  }
  ASSERT_NE(search.found, nullptr) << "no dialog appeared within 30 s";
  const std::u16string title =
      LoadStringInLanguage(GetModuleHandleW(nullptr), 1031, 471);
  EXPECT_FALSE(title.empty());
  EXPECT_EQ(Text(GetDlgItem(search.found, 107)), std::wstring(title.begin(), title.end()));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(search.found, 212)));
  // The click is handled by the child's dialog loop: a child that stopped
  // answering fails the case instead of holding it.
  DWORD_PTR ignored = 0;
  ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(search.found, 1), BM_CLICK, 0, 0, SMTO_NORMAL, 30000,
                                  &ignored))
      << "the dialog did not answer the click within 30 s";
  int exit_code = 0;
  ASSERT_TRUE(child.WaitForExit(30000, &exit_code)) << "the run did not end within 30 s of OK";
  EXPECT_EQ(exit_code, kExitNotEnoughDiskSpace);
}

// A library whose initialisation runs on another thread while the main
// thread starts the window system can deadlock the start: that thread holds
// the loader lock inside, say, the common controls' DllMain, which registers
// window classes and so waits for the window system's one-time start, while
// the main thread inside that start waits for the loader lock. Up to the
// window every library is loaded on the main thread.
TEST(EntrySequenceTest, LoadsEveryLibraryOnTheMainThreadUntilTheWindow) {
  const FilePath names_file = testing::MakeScratchDir().Append(u"foreign_loads.txt");
  Process child = testing::StartChild("recording-loads", {names_file.value()});
  ASSERT_TRUE(child.is_valid());
  int exit_code = 0;
  ASSERT_TRUE(child.WaitForExit(60000, &exit_code)) << "the run did not reach the window";
  const std::optional<std::string> names = ReadFileWithLimit(names_file, 1 << 16);
  DeletePathRecursively(names_file.DirName());
  ASSERT_GE(exit_code, 100) << "the run ended before the window with " << exit_code;
  std::u16string loaded;
  if (names) {
    for (size_t i = 0; i + 1 < names->size(); i += 2) {
      loaded.push_back(static_cast<char16_t>(static_cast<uint8_t>((*names)[i]) |
                                             static_cast<uint8_t>((*names)[i + 1]) << 8));
    }
  }
  EXPECT_EQ(exit_code - 100, 0) << "loaded off the main thread: " << UTF16ToUTF8(loaded);
}

TEST(EntrySequenceTest, ProcessorMessageIsInTheBrandsLanguage) {
  const HMODULE module = GetModuleHandleW(nullptr);
  for (uint16_t language : {1033, 1091, 2052}) {
    const ProcessorMessage message = GetProcessorMessage(language, kProcessorNoSse3Id);
    const std::u16string first = LoadStringInLanguage(module, language, 482);
    const std::u16string second = LoadStringInLanguage(module, language, 484);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(message.text, first + u"\n" + second) << language;
    EXPECT_EQ(message.caption, LoadStringInLanguage(module, language, 481)) << language;
  }
  EXPECT_NE(GetProcessorMessage(1091, kProcessorNoSse3Id).text,
            GetProcessorMessage(1033, kProcessorNoSse3Id).text);
}

}  // namespace
}  // namespace lite
