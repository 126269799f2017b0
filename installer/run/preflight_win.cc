#include "installer/run/preflight_win.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "base/string_table_win.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

// The processor message in |language_id|, else in whatever language the
// system picks, so that the user is told something.
std::u16string LoadLocalizedString(uint16_t language_id, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  std::u16string text = LoadStringInLanguage(module, language_id, static_cast<uint32_t>(id));
  if (!text.empty()) return text;
  wchar_t* fallback = nullptr;
  const int length =
      LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<wchar_t*>(&fallback), 0);
  return length > 0 ? FromWide(fallback, static_cast<size_t>(length)) : std::u16string();
}

}  // namespace

bool IsProcessorSupported(int* message_id) {
  const bool sse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE);
  const bool sse3 = IsProcessorFeaturePresent(PF_SSE3_INSTRUCTIONS_AVAILABLE);
  if (sse2 && sse3) return true;
  *message_id = sse3 ? kProcessorNoSse2Id : kProcessorNoSse3Id;
  return false;
}

ProcessorMessage GetProcessorMessage(uint16_t language_id, int message_id) {
  return {LoadLocalizedString(language_id, kProcessorMessageTextId) + u"\n" +
              LoadLocalizedString(language_id, message_id),
          LoadLocalizedString(language_id, kProcessorMessageCaptionId)};
}

void ShowProcessorMessage(uint16_t language_id, int message_id) {
  const ProcessorMessage message = GetProcessorMessage(language_id, message_id);
  MessageBoxW(nullptr, AsWide(message.text), AsWide(message.caption), MB_OK);
}

bool HasEnoughDiskSpace(bool system_level, uint64_t bytes) {
  wchar_t folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, system_level ? CSIDL_PROGRAM_FILES : CSIDL_LOCAL_APPDATA,
                              nullptr, SHGFP_TYPE_CURRENT, folder))) {
    LOG(INFO) << "SHGetFolderPath failed";
    return true;
  }
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(folder, &available, nullptr, nullptr)) {
    LOG(INFO) << "GetDiskFreeSpaceEx failed";
    return true;
  }
  if (available.QuadPart >= bytes) return true;
  LOG(INFO) << "There is not enough disk space to install browser";
  return false;
}

}  // namespace lite
