#include "ui/images/slide_retry_pause.h"

#include <algorithm>

namespace lite {

uint32_t SlideRetryPauseMs(int failures, const SlideRetryPacing& pacing) {
  if (failures <= 0) return 0;
  uint64_t pause = pacing.first_pause_ms;
  for (int i = 1; i < failures && pause < pacing.longest_pause_ms; ++i) pause *= 2;
  return static_cast<uint32_t>(std::min<uint64_t>(pause, pacing.longest_pause_ms));
}

}  // namespace lite
