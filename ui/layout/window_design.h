// Which of the three window designs a distribution gets, and the Windows
// releases that change a few of a design's values.
#ifndef UI_LAYOUT_WINDOW_DESIGN_H_
#define UI_LAYOUT_WINDOW_DESIGN_H_

namespace lite {

class BrandInfo;

enum class WindowDesign { kNewIdentity, kFacetune, kOrigin };

// NewIdentity when the brand asks for it, else Facetune while the design
// feature is on (also when no feature object is configured), else Origin.
WindowDesign ChooseWindowDesign(const BrandInfo& brand);

// The window's view of the Windows release; the numbers are ordered so that
// a comparison tells "this release or later".
enum class WindowsRelease : int {
  kXpOrVista = 3,
  kWin7 = 4,
  kWin8 = 5,
  kWin81 = 6,
  kWin10 = 7,
};

inline bool IsWin8OrLater(WindowsRelease release) {
  return static_cast<int>(release) >= static_cast<int>(WindowsRelease::kWin8);
}

// The release this process runs on (Windows only).
WindowsRelease CurrentWindowsRelease();

// Interface language id whose pictures carry Russian lettering.
inline constexpr unsigned kRussianLangId = 1049;

}  // namespace lite

#endif  // UI_LAYOUT_WINDOW_DESIGN_H_
