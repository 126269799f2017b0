// The entry sequence's not-enough-disk-space path, run as a user would meet
// it: a copy of this program goes through the whole sequence with a disk
// that has too little room, shows the dialog in the brand's language and
// ends with 403 once the dialog is closed.
#include "main/entry_sequence_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/string_table_win.h"
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
  ASSERT_NE(search.found, nullptr) << "no dialog appeared";
  const std::u16string title =
      LoadStringInLanguage(GetModuleHandleW(nullptr), 1031, 471);
  EXPECT_FALSE(title.empty());
  EXPECT_EQ(Text(GetDlgItem(search.found, 107)), std::wstring(title.begin(), title.end()));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(search.found, 212)));
  SendMessageW(GetDlgItem(search.found, 1), BM_CLICK, 0, 0);
  int exit_code = 0;
  ASSERT_TRUE(child.WaitForExit(30000, &exit_code));
  EXPECT_EQ(exit_code, kExitNotEnoughDiskSpace);
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
