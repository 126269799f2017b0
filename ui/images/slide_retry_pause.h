// How long the slide thread waits before trying again after failures in a
// row: doubling from the first pause up to the longest, so that a server
// that is down or slow is not asked again at once, ten times over.
#ifndef UI_IMAGES_SLIDE_RETRY_PAUSE_H_
#define UI_IMAGES_SLIDE_RETRY_PAUSE_H_

#include <cstdint>

namespace lite {

struct SlideRetryPacing {
  uint32_t first_pause_ms = 500;
  uint32_t longest_pause_ms = 8000;
};

// The pause after |failures| failures in a row (0 after a success).
uint32_t SlideRetryPauseMs(int failures, const SlideRetryPacing& pacing);

}  // namespace lite

#endif  // UI_IMAGES_SLIDE_RETRY_PAUSE_H_
