// Checks of the machine before anything is installed.
#ifndef INSTALLER_RUN_PREFLIGHT_WIN_H_
#define INSTALLER_RUN_PREFLIGHT_WIN_H_

#include <cstdint>
#include <string>

namespace lite {

// String ids of the processor message.
inline constexpr int kProcessorMessageCaptionId = 481;
inline constexpr int kProcessorMessageTextId = 482;
inline constexpr int kProcessorNoSse2Id = 483;
inline constexpr int kProcessorNoSse3Id = 484;

// SSE2 and SSE3 present. Otherwise |message_id| tells which one is missing
// (484 whenever SSE3 is, else 483).
bool IsProcessorSupported(int* message_id);
// The message box's text (string 482, a line feed, string |message_id|) and
// caption (string 481) in |language_id|.
struct ProcessorMessage {
  std::u16string text;
  std::u16string caption;
};
ProcessorMessage GetProcessorMessage(uint16_t language_id, int message_id);
void ShowProcessorMessage(uint16_t language_id, int message_id);

// Free space for the caller under Program Files (system level) or the local
// application data folder. Fails open: true when it cannot be told.
bool HasEnoughDiskSpace(bool system_level, uint64_t bytes);
inline constexpr uint64_t kRequiredDiskSpace = 629145600;  // 600 MiB

}  // namespace lite

#endif  // INSTALLER_RUN_PREFLIGHT_WIN_H_
