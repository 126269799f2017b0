// The numbers and texts of the progress screen: how the engine's download
// fraction and setup's stage and import messages map onto the one bar, and
// what the text beside it says.
#ifndef UI_MAIN_WINDOW_INSTALL_PROGRESS_H_
#define UI_MAIN_WINDOW_INSTALL_PROGRESS_H_

#include <cstdint>
#include <string>

#include "ui/layout/window_design.h"

namespace lite {

// The download fills 5 % to 40 %; single precision, truncated.
int DownloadProgressPercent(float fraction);

// Setup's install stages: 5 is 75 %, 7 is 79 %; any other stage 0 (no
// change).
int InstallStageProgressPercent(uintptr_t stage);

// The browser's import, 0..100, fills 80 % to 100 %; single precision,
// truncated.
int ImportProgressPercent(int import_percent);

// String ids of the stage texts.
inline constexpr int kDownloadingTextId = 412;
inline constexpr int kInstallingTextId = 413;
inline constexpr int kAlmostDoneTextId = 414;

// The stage text that goes with |percent| (the Facetune and NewIdentity
// designs prefix the number with it).
int StageTextId(int percent);

// "37%", or "<stage text> 37%" in the designs that show the stage;
// |stage_text| is the loaded StageTextId(percent).
std::u16string ProgressText(int percent, WindowDesign design, const std::u16string& stage_text);

}  // namespace lite

#endif  // UI_MAIN_WINDOW_INSTALL_PROGRESS_H_
