// Where each control and picture of the installation window goes, in
// logical pixels of the design's 100 % size, for the three designs.
#ifndef UI_LAYOUT_INSTALLATION_WINDOW_LAYOUT_H_
#define UI_LAYOUT_INSTALLATION_WINDOW_LAYOUT_H_

#include <cstdint>
#include <memory>

#include "ui/layout/scale.h"
#include "ui/layout/window_design.h"

namespace lite {

class BrandInfo;

// Which welcome-screen check boxes are shown (the window works it out from
// the distribution parameters and the pin state).
enum CheckBoxMaskBits : uint32_t {
  kMakeDefaultBoxShown = 1,  // "def" absent
  kStatisticsBoxShown = 2,   // "stat" and "statpromo" absent
  kPinBoxShown = 4,          // pin state 2 or 3
};

class InstallationWindowLayout {
 public:
  InstallationWindowLayout(WindowDesign design, WindowsRelease windows, bool less_contrasty,
                           uint32_t check_box_mask);

  WindowDesign design() const { return design_; }
  WindowsRelease windows_release() const { return windows_; }
  bool less_contrasty() const { return less_contrasty_; }
  uint32_t check_box_mask() const { return check_box_mask_; }

  int WindowWidth() const;
  int WindowHeight() const;
  Rect ClientRect() const { return {0, 0, WindowWidth(), WindowHeight()}; }
  // How far the shadow reaches under the window's edge.
  int ShadowInset() const;
  Rect TitleRect() const;
  // Check boxes: an empty rectangle when the box is not shown. In the
  // Facetune and NewIdentity designs only the top-left corner and the width
  // count; the height comes from the label.
  Rect StatisticsCheckBoxRect() const;
  Rect MakeDefaultCheckBoxRect() const;
  Rect PinCheckBoxRect() const;
  Rect PrivacyLinkColumn() const;
  Point InstallButtonOrigin() const;
  Point CloseButtonOrigin() const;
  // The progress screen's Cancel button: in Close's place where Close goes
  // with the welcome screen (Origin), else beside the progress bar's end.
  Point CancelButtonOrigin() const;
  Rect LogoRect() const;
  Rect LicenseRect() const;
  Rect ProgressBarRect() const;
  Rect ProgressTextRect() const;
  Rect ProgressLicenseRect() const;
  int CornerRadius() const;
  int CheckBoxLabelGap() const;
  Point InlineLinkMargin() const;
  bool HasMinimizeButton() const { return design_ != WindowDesign::kOrigin; }
  Point MinimizeButtonOrigin() const;

 private:
  const WindowDesign design_;
  const WindowsRelease windows_;
  const bool less_contrasty_;
  const uint32_t check_box_mask_;
};

// The layout of the brand's design.
std::shared_ptr<const InstallationWindowLayout> CreateLayout(const BrandInfo& brand,
                                                             uint32_t check_box_mask,
                                                             WindowsRelease windows);

}  // namespace lite

#endif  // UI_LAYOUT_INSTALLATION_WINDOW_LAYOUT_H_
