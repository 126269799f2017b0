// What the screen shows in a rectangle: read back from the screen's DC (so
// another process's window is seen with whatever covers it), compared, and
// written as PNG.
#ifndef TESTS_UI_SCREEN_PIXELS_WIN_H_
#define TESTS_UI_SCREEN_PIXELS_WIN_H_

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lite {
namespace testing {

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

  // Share of pixels equal in both, 0 when the sizes differ.
  double SameShare(const ScreenPixels& other) const;
  // Every |step|-th pixel of every |step|-th row: enough to compare frames
  // of a window cheaply.
  ScreenPixels Sampled(int step) const;
};

std::optional<ScreenPixels> CaptureScreen(const RECT& rect);

// What the screen shows in |rect| once it shows the same picture twice in a
// row |interval_ms| apart; the last picture when it does not settle within
// |timeout_ms|.
std::optional<ScreenPixels> SettledCapture(const RECT& rect, DWORD interval_ms = 300,
                                           DWORD timeout_ms = 10000);

// Writes |pixels| as a PNG file through GDI+ (started and stopped here).
bool SavePng(const ScreenPixels& pixels, const std::u16string& path);

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_SCREEN_PIXELS_WIN_H_
