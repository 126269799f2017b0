#include "ui/main_window/install_progress.h"

namespace lite {

int DownloadProgressPercent(float fraction) {
  const float percent = 40.0f * fraction + 5.0f * (1.0f - fraction);
  return static_cast<int>(percent);
}

int InstallStageProgressPercent(uintptr_t stage) {
  switch (stage) {
    case 5:
      return 75;
    case 7:
      return 79;
    default:
      return 0;
  }
}

int ImportProgressPercent(int import_percent) {
  const float share = static_cast<float>(import_percent) / 100.0f;
  const float percent = share * 100.0f + (1.0f - share) * 80.0f;
  return static_cast<int>(percent);
}

int StageTextId(int percent) {
  if (percent <= 40) return kDownloadingTextId;
  if (percent <= 90) return kInstallingTextId;
  return kAlmostDoneTextId;
}

std::u16string ProgressText(int percent, WindowDesign design, const std::u16string& stage_text) {
  std::u16string number;
  for (char c : std::to_string(percent)) number += static_cast<char16_t>(c);
  number += u'%';
  if (design == WindowDesign::kOrigin) return number;
  return stage_text + u' ' + number;
}

}  // namespace lite
